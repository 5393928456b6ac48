// Listing a real folder into a pane: which entries appear, what the filter list offers,
// sizes beyond 4 GiB, and the bound on the number of entries.
#include "app/PaneLister.h"

#include "AppTestSupport.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QFile>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Lists dir into pane and returns the names in plain string order.
QStringList listed(TDirData& pane, const QString& dir, const ListingInputs& in)
{
    pane.Path = dir + QLatin1Char('/');
    EXPECT_TRUE(PaneLister::ListFolder(pane, in));
    QStringList names = EntryNames(pane);
    names.sort();
    return names;
}

const TFileData* find(const TDirData& pane, const QString& name)
{
    for (int i = 0; i < pane.Count; ++i)
        if (pane.Item(i)->Name == name)
            return pane.Item(i);
    return nullptr;
}

TEST(PaneLister, filterHidesFoldersOrMasksMissSkippedFiles)
{
    TempDir dir;
    dir.makeDir("sub.zip");
    dir.makeDir(".git");
    for (const char* name : {"a.TXT", "b.txt", "c.Doc", "noext", ".hidden.cfg", "DESCRIPT.ION"})
        dir.makeFile(name);
    ListingInputs in;
    in.Filter = "*.TXT";
    in.Options.HideHidden = true;
    TDirData pane(1);
    EXPECT_EQ(listed(pane, dir.path(), in), (QStringList{"..", "a.TXT", "b.txt", "sub.zip"}));
    EXPECT_EQ(pane.DirCount, 2);
    EXPECT_EQ(pane.FileCount, 2);
    // Every extension present, of hidden and filtered-out files too; folders add none.
    EXPECT_EQ(pane.FilterMasks, (QStringList{"*", "*.cfg", "*.doc", "*.ion", "*.txt"}));
}

TEST(PaneLister, hideOptionsHideTooMuchOrTooLittle)
{
    TempDir dir;
    for (const char* name : {"descript.Ion", ".profile", "Desktop.INI", "folder.htt", "folder settings", "plain"})
        dir.makeFile(name);
    for (const char* name : {".cache", "Folder Settings", "desktop.ini"})
        dir.makeDir(name);
    const QStringList all{"..", ".cache", ".profile", "Desktop.INI", "Folder Settings", "descript.Ion",
                          "desktop.ini", "folder settings", "folder.htt", "plain"};
    auto without = [&](const QStringList& hidden) {
        QStringList rest = all;
        for (const QString& name : hidden)
            rest.removeOne(name);
        return rest;
    };
    TDirData pane(1);
    ListingInputs in;
    in.Options = {false, false, false, false};
    EXPECT_EQ(listed(pane, dir.path(), in), all);
    in.Options = {false, false, true, false};
    EXPECT_EQ(listed(pane, dir.path(), in), without({"descript.Ion"}));
    in.Options = {true, false, false, false};
    EXPECT_EQ(listed(pane, dir.path(), in), without({".cache", ".profile"}));
    // Only files of those names and a folder of that name are extra.
    in.Options = {false, true, false, false};
    EXPECT_EQ(listed(pane, dir.path(), in), without({"Desktop.INI", "folder.htt", "Folder Settings"}));
}

TEST(PaneLister, sizesTruncateAbove4GiBOrFolderSizeIsInvented)
{
    TempDir dir;
    dir.makeSizedFile("big.bin", (int64_t(5) << 30) + 7);
    dir.makeFile("small", "12345");
    dir.makeDir("cached");
    dir.makeDir("fresh");
    ListingInputs in;
    in.Descriptions.insert("SMALL", "five bytes");   // keyed without regard to case
    in.CachedSize = [&](const QString& path) -> qint64 { return path == dir.filePath("cached") ? 777 : -1; };
    TDirData pane(1);
    listed(pane, dir.path(), in);
    EXPECT_EQ(find(pane, "big.bin")->Size, (int64_t(5) << 30) + 7);
    EXPECT_EQ(find(pane, "small")->Size, 5);
    EXPECT_EQ(find(pane, "small")->Description, "five bytes");
    EXPECT_EQ(find(pane, "cached")->Size, 777);
    EXPECT_EQ(find(pane, "cached")->SizeKnown, 0);
    EXPECT_EQ(find(pane, "fresh")->Size, -1);
    EXPECT_EQ(find(pane, "..")->Size, -1);
}

TEST(PaneLister, rootListsParentOrVolumesMissing)
{
    TDirData pane(1);
    pane.Path = "/";
    ListingInputs in;
    in.Drives = QStringList{"/", "/mnt/b", "/mnt/a"};
    EXPECT_TRUE(PaneLister::ListFolder(pane, in));
    EXPECT_EQ(find(pane, ".."), nullptr);
    EXPECT_EQ(pane.DriveCount, 3);
    EXPECT_EQ(EntryNames(pane).mid(pane.Count - 3), in.Drives);
    in.Options.ShowDrives = false;
    PaneLister::ListFolder(pane, in);
    EXPECT_EQ(pane.DriveCount, 0);

    pane.Path = "/no/such/folder/";
    in.Options.ShowDrives = true;
    EXPECT_FALSE(PaneLister::ListFolder(pane, in));
    EXPECT_EQ(EntryNames(pane), in.Drives);
}

TEST(PaneLister, hugeFolderOverrunsTheBoundOrDropsTheFlag)
{
    TempDir dir;
    auto makeFiles = [&](int from, int to) {
        for (int i = from; i < to; ++i) {
            const int fd = ::open(QFile::encodeName(dir.filePath(QString::number(i))).constData(),
                                  O_CREAT | O_WRONLY, 0644);
            ASSERT_GE(fd, 0);
            ::close(fd);
        }
    };
    makeFiles(0, kMaxPaneItems - 2);     // with "..": room for one volume row of two
    ListingInputs in;
    in.Drives = QStringList{"/", "/home"};
    TDirData pane(1);
    listed(pane, dir.path(), in);
    EXPECT_EQ(pane.Count, kMaxPaneItems);
    EXPECT_EQ(pane.DriveCount, 1);
    EXPECT_EQ(pane.Item(kMaxPaneItems - 1)->Name, "/");
    EXPECT_TRUE(pane.Truncated);

    makeFiles(kMaxPaneItems - 2, kMaxPaneItems + 6);
    listed(pane, dir.path(), in);
    EXPECT_EQ(pane.Count, kMaxPaneItems);
    EXPECT_EQ(int(pane.Items.size()), kMaxPaneItems);
    EXPECT_EQ(pane.DirCount + pane.FileCount, kMaxPaneItems);
    EXPECT_TRUE(pane.Truncated);

    TempDir small;                       // a later, smaller listing drops the flag
    small.makeFile("one");
    listed(pane, small.path(), in);
    EXPECT_FALSE(pane.Truncated);
    EXPECT_EQ(pane.Count, 4);
}

} // namespace
