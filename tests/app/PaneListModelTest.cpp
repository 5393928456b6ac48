// The list model of a pane: rows follow the pane's entries, and screen readers get
// each row's cells as one text.
#include "app/PaneListModel.h"

#include "app/AppSettings.h"
#include "AppTestSupport.h"
#include "platform/FileNames.h"

#include <gtest/gtest.h>

namespace {

TEST(PaneListModel, rowsOrAccessibleTextsDisagreeWithThePane)
{
    AppSettings settings;
    TDirData pane(1);
    PaneListModel model(pane, settings);
    model.BeginListing();
    AddEntry(pane, fkDirectory, "..", -1);
    AddEntry(pane, fkDirectory, "docs", 2048).Description = "papers";
    AddEntry(pane, fkFile, "a.txt", 999).Time = 0;
    AddEntry(pane, fkDrive, "/media/usb");
    model.EndListing();

    EXPECT_EQ(model.rowCount(), 4);
    EXPECT_EQ(model.rowCount(model.index(0)), 0);
    EXPECT_EQ(model.data(model.index(1), Qt::DisplayRole).toString(), "docs");
    EXPECT_FALSE(model.data(model.index(4), Qt::DisplayRole).isValid());
    EXPECT_EQ(model.AccessibleRowText(2), "a.txt, 999, <invalid date>");
    EXPECT_EQ(model.AccessibleRowText(3), "/media/usb");
    EXPECT_TRUE(model.AccessibleRowText(1).startsWith("docs, 2 KB, "));
    EXPECT_TRUE(model.AccessibleRowText(1).endsWith(", papers"));
    EXPECT_EQ(model.data(model.index(2), Qt::AccessibleTextRole).toString(), model.AccessibleRowText(2));
}

TEST(PaneListModel, namesDrawnAsReplacementMarksOrReorderedByDirectionControls)
{
    AppSettings settings;
    TDirData pane(1);
    PaneListModel model(pane, settings);
    model.BeginListing();
    const QString latin1 = DecodeFileName(QByteArray("caf\xe9 cr\xe8me.txt"));
    AddEntry(pane, fkFile, latin1);
    // Drawn as it is, this program's name reads "photo_exe.png".
    AddEntry(pane, fkFile, QStringLiteral("photo_\u202Egnp.exe"));
    AddEntry(pane, fkFile, QStringLiteral("a\u2066b\u2069\u200Fc\u200E"));
    model.EndListing();

    EXPECT_EQ(model.data(model.index(0), Qt::DisplayRole).toString(), QStringLiteral("caf\u00e9 cr\u00e8me.txt"));
    EXPECT_EQ(EncodeFileName(pane.Item(0)->Name), QByteArray("caf\xe9 cr\xe8me.txt")) << "the name itself stays";
    EXPECT_EQ(model.data(model.index(1), Qt::DisplayRole).toString(), "photo_<U+202E>gnp.exe");
    EXPECT_EQ(model.data(model.index(2), Qt::DisplayRole).toString(), "a<U+2066>b<U+2069><U+200F>c<U+200E>");
    EXPECT_TRUE(model.AccessibleRowText(1).startsWith("photo_<U+202E>gnp.exe, "));
}

} // namespace
