// The viewer extension table: its initial rows, which names count as viewable, how
// added extensions are written, and the 100-row bound.
#include "viewers/ViewerExtensions.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace {

TEST(ViewerExtensions, initialRowsMissingOrOutOfOrder)
{
    const ViewerExtensions table;
    QStringList exts;
    for (const TViewerExtension& row : table.Rows())
        exts << row.Ext;
    EXPECT_EQ(exts, (QStringList{".BMP", ".GIF", ".JPG", ".WAV", ".AVI", ".MID", ".TXT", ".VOX", ".RAR", ".ACE",
                                 ".DIZ", ".NFO", ".INF", ".INI"}))
        << exts.join(' ').toStdString();
    for (const TViewerExtension& row : table.Rows())
        EXPECT_TRUE(row.Enabled) << row.Ext.toStdString();
}

TEST(ViewerExtensions, viewableMindsCaseOrIgnoresDisabledRow)
{
    ViewerExtensions table;
    EXPECT_TRUE(table.IsViewable("photo.bmp"));
    EXPECT_TRUE(table.IsViewable("PHOTO.Bmp"));
    EXPECT_TRUE(table.IsViewable("notes.old.txt"));
    EXPECT_FALSE(table.IsViewable("txt"));
    EXPECT_FALSE(table.IsViewable("photo.bmp.gz"));
    EXPECT_FALSE(table.IsViewable("a.zip"));
    ASSERT_NE(table.Find(".bmp"), nullptr);
    table.Find(".bmp")->Enabled = false;
    EXPECT_FALSE(table.IsViewable("photo.bmp"));
    table.Append("log", false);
    EXPECT_FALSE(table.IsViewable("x.log"));
    table.Find(".LOG")->Enabled = true;
    EXPECT_TRUE(table.IsViewable("x.Log"));
}

TEST(ViewerExtensions, appendedExtensionNotNormalizedOrTableOverflows)
{
    ViewerExtensions table;
    ASSERT_TRUE(table.Append("nfo2", true));
    EXPECT_EQ(table.Rows().back().Ext, ".NFO2");
    EXPECT_FALSE(table.Rows().back().BuiltIn);
    ASSERT_TRUE(table.Append("abcdefghijk", true));
    EXPECT_EQ(table.Rows().back().Ext, ".ABCDEFGH");
    ASSERT_TRUE(table.Append(".abcdefghijk", true));
    EXPECT_EQ(table.Rows().back().Ext, ".ABCDEFGH");
    while (table.Count() < ViewerExtensions::kCapacity)
        ASSERT_TRUE(table.Append(QStringLiteral("e%1").arg(table.Count()), true));
    EXPECT_EQ(table.Count(), 100);
    EXPECT_FALSE(table.Append("one-more", true));
    EXPECT_EQ(table.Count(), 100);
}

TEST(ViewerExtensions, wrongIconIndex)
{
    const ViewerExtensions table;
    EXPECT_EQ(table.IconIndexOf(".zip"), 1);
    EXPECT_EQ(table.IconIndexOf(".ZIP"), 1);
    EXPECT_EQ(table.IconIndexOf(".bmp"), 10);
    EXPECT_EQ(table.IconIndexOf(".INI"), 15);
    EXPECT_EQ(table.IconIndexOf(".xyz"), 0);
}

} // namespace
