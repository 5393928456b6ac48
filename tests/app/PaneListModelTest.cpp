// The list model of a pane: rows follow the pane's entries, and screen readers get
// each row's cells as one text.
#include "app/PaneListModel.h"

#include "app/AppSettings.h"
#include "AppTestSupport.h"

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

} // namespace
