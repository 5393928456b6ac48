// Icons remembered per extension: look-ups in the sorted list, and which file's icon
// an extension takes from a listing.
#include "app/ExtIconCache.h"

#include "AppTestSupport.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

namespace {

TEST(ExtIconCache, lookupMissesEntriesOrKeepsDuplicates)
{
    ExtIconCache cache;
    QStringList exts;
    for (int i = 0; i < 200; ++i)
        exts << QStringLiteral(".e%1").arg(QRandomGenerator(7 + i).bounded(100000));
    exts.removeDuplicates();
    for (int i = 0; i < exts.size(); ++i)
        cache.Add(exts.at(i), 1, i);
    EXPECT_EQ(cache.Size(), exts.size());
    for (int i = 0; i < exts.size(); ++i) {
        const auto found = cache.Find(exts.at(i).toUpper());
        ASSERT_TRUE(found) << exts.at(i).toStdString();
        EXPECT_EQ(found->Index, i);
        EXPECT_EQ(found->Extension, exts.at(i));
    }
    EXPECT_FALSE(cache.Find(".missing"));
    EXPECT_FALSE(cache.Find(""));

    cache.Add(".E0X", 9, 9);
    cache.Add(".e0x", 8, 8);             // the first icon stays
    EXPECT_EQ(cache.Find(".e0X")->Index, 9);
    EXPECT_EQ(cache.Size(), exts.size() + 1);
}

TEST(ExtIconCache, harvestTakesAnIconFromTheWrongEntry)
{
    TDirData pane(1);
    AddEntry(pane, fkDirectory, "folder.txt").SysImageList = 5;   // folders give no icons
    AddEntry(pane, fkFile, "a.txt");                              // no icon yet
    TFileData& b = AddEntry(pane, fkFile, "b.TXT");
    b.SysImageList = 3;
    b.SysIconIndex = 7;
    TFileData& c = AddEntry(pane, fkFile, "c.txt");
    c.SysImageList = 3;
    c.SysIconIndex = 9;
    TFileData& d = AddEntry(pane, fkFile, "d.doc");
    d.SysImageList = 3;
    d.SysIconIndex = 4;
    AddEntry(pane, fkFile, "e.png");
    TFileData& drive = AddEntry(pane, fkDrive, "x.png");
    drive.SysImageList = 3;
    drive.SysIconIndex = 1;
    pane.FilterMasks = QStringList{"*", "*.", "*.doc", "*.png", "*.txt"};

    ExtIconCache cache;
    cache.Add(".doc", 2, 2);             // known extensions are not replaced
    cache.Harvest(pane);
    ASSERT_TRUE(cache.Find(".txt"));
    EXPECT_EQ(cache.Find(".txt")->Index, 7);
    EXPECT_EQ(cache.Find(".txt")->ImageList, quintptr(3));
    EXPECT_EQ(cache.Find(".doc")->Index, 2);
    EXPECT_FALSE(cache.Find(".png"));
    EXPECT_FALSE(cache.Find("."));
    EXPECT_EQ(cache.Size(), 2);
}

} // namespace
