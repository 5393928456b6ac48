// The rows "Select all" picks per group and the selection summary of the status bar.
#include "app/PaneSelection.h"

#include "AppTestSupport.h"

#include <gtest/gtest.h>

namespace {

using Range = std::optional<std::pair<int, int>>;

Range range(int first, int last) { return std::make_pair(first, last); }

TEST(PaneSelection, groupRangeTakesParentOrVolumes)
{
    TDirData pane(1);
    AddEntry(pane, fkDirectory, "..");
    AddEntry(pane, fkDirectory, "d1");
    AddEntry(pane, fkDirectory, "d2");
    AddEntry(pane, fkFile, "f1");
    AddEntry(pane, fkFile, "f2");
    AddEntry(pane, fkDrive, "/");
    EXPECT_EQ(PaneSelection::GroupRange(pane, SelectDirectories), range(1, 2));
    EXPECT_EQ(PaneSelection::GroupRange(pane, SelectFiles), range(3, 4));
    EXPECT_EQ(PaneSelection::GroupRange(pane, SelectBoth), range(1, 4));
}

TEST(PaneSelection, groupRangeSelectsSomethingThatIsNotThere)
{
    TDirData onlyParent(1);
    AddEntry(onlyParent, fkDirectory, "..");
    AddEntry(onlyParent, fkDrive, "/");
    EXPECT_EQ(PaneSelection::GroupRange(onlyParent, SelectDirectories), std::nullopt);
    EXPECT_EQ(PaneSelection::GroupRange(onlyParent, SelectFiles), std::nullopt);
    EXPECT_EQ(PaneSelection::GroupRange(onlyParent, SelectBoth), std::nullopt);

    TDirData rootWithFiles(1);          // "/" has no ".."
    AddEntry(rootWithFiles, fkFile, "f");
    AddEntry(rootWithFiles, fkDrive, "/");
    EXPECT_EQ(PaneSelection::GroupRange(rootWithFiles, SelectDirectories), std::nullopt);
    EXPECT_EQ(PaneSelection::GroupRange(rootWithFiles, SelectFiles), range(0, 0));
    EXPECT_EQ(PaneSelection::GroupRange(rootWithFiles, SelectBoth), range(0, 0));

    TDirData rootWithFolder(1);
    AddEntry(rootWithFolder, fkDirectory, "usr");
    EXPECT_EQ(PaneSelection::GroupRange(rootWithFolder, SelectDirectories), range(0, 0));
    EXPECT_EQ(PaneSelection::GroupRange(rootWithFolder, SelectFiles), std::nullopt);

    TDirData empty(1);
    EXPECT_EQ(PaneSelection::GroupRange(empty, SelectBoth), std::nullopt);
}

TEST(PaneSelection, summaryCountsParentVolumesOrUnknownSizes)
{
    TDirData pane(1);
    AddEntry(pane, fkDirectory, "..", -1);
    AddEntry(pane, fkDirectory, "measured", 1000000);
    AddEntry(pane, fkDirectory, "unmeasured", -1);
    AddEntry(pane, fkFile, "big", int64_t(5) << 30);
    AddEntry(pane, fkFile, "small", 234);
    AddEntry(pane, fkDrive, "/", 0);
    EXPECT_EQ(PaneSelection::Summary(pane, {0, 1, 2, 3, 4, 5}),
              "Selected : 2 dirs and 2 files (5,369,709,354 bytes)");
    EXPECT_EQ(PaneSelection::Summary(pane, {2}), "Selected : 1 dirs and 0 files ( bytes)");
    EXPECT_EQ(PaneSelection::Summary(pane, {}), "Selected : 0 dirs and 0 files ( bytes)");
    EXPECT_EQ(PaneSelection::Summary(pane, {4, -1, 99}), "Selected : 0 dirs and 1 files (234 bytes)");
}

} // namespace
