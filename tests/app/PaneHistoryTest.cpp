// A pane's Back/Forward history on its own: entries that must survive folder names
// holding the separator, the 20-entry bound, and what a new move does to the
// entries ahead of the current one.
#include "app/PaneHistory.h"

#include "AppTestSupport.h"
#include "app/TDirData.h"

#include <gtest/gtest.h>

namespace {

void moveTo(TDirData& pane, const QString& path, const QString& archivePath = {}, int depth = 0)
{
    pane.Path = path;
    pane.ArchivePath = archivePath;
    pane.ArchiveDepth = depth;
    PaneHistory::Record(pane);
}

TEST(PaneHistory, separatorOrPercentInFolderNameBreaksEntry)
{
    const PaneLocation cases[] = {
        {"/tmp/a?b/", "", 0},
        {"/tmp/50%/", "in?ner/", 2},
        {"/tmp/%3F/", "%25/", 1},          // names that look like escapes already
        {"/tmp/%?%/", "?x?/", 7},
        {"/", "", 0},
    };
    for (const PaneLocation& loc : cases) {
        SCOPED_TRACE(loc.Path.toStdString());
        const QString key = PaneHistory::Key(loc);
        EXPECT_EQ(key.count(QLatin1Char('?')), 2) << key.toStdString();
        const PaneLocation back = PaneHistory::Parse(key);
        EXPECT_EQ(back.Path, loc.Path);
        EXPECT_EQ(back.ArchivePath, loc.ArchivePath);
        EXPECT_EQ(back.ArchiveDepth, loc.ArchiveDepth);
    }
    // The plain form stays readable: a folder inside a zip.
    EXPECT_EQ(PaneHistory::Key({"/tmp/a.zip", "docs/", 1}), "/tmp/a.zip/?docs/?1");
    EXPECT_EQ(PaneHistory::Parse("/tmp/?x/?junk").ArchiveDepth, 0);
}

TEST(PaneHistory, twentyFiveMovesLetBackWalkTooFar)
{
    TDirData pane(1);
    for (int i = 0; i < 25; ++i)
        moveTo(pane, QStringLiteral("/m%1/").arg(i));
    EXPECT_EQ(pane.History.size(), PaneHistory::kCapacity);
    EXPECT_FALSE(PaneHistory::CanGoForward(pane));
    int backs = 0;
    while (PaneHistory::Back(pane))
        ++backs;
    EXPECT_EQ(backs, 19);
    EXPECT_EQ(pane.Path, "/m5/");              // the five oldest were dropped
    EXPECT_FALSE(PaneHistory::CanGoBack(pane));
    int forwards = 0;
    while (PaneHistory::Forward(pane))
        ++forwards;
    EXPECT_EQ(forwards, 19);
    EXPECT_EQ(pane.Path, "/m24/");
}

TEST(PaneHistory, moveAfterBackKeepsForwardEntries)
{
    TDirData pane(1);
    moveTo(pane, "/a/");
    moveTo(pane, "/b/");
    moveTo(pane, "/c/");
    ASSERT_TRUE(PaneHistory::Back(pane));
    ASSERT_TRUE(PaneHistory::Back(pane));
    EXPECT_TRUE(PaneHistory::CanGoForward(pane));
    moveTo(pane, "/d/");
    EXPECT_EQ(pane.History, (QStringList{"/a/??0", "/d/??0"}));
    EXPECT_FALSE(PaneHistory::CanGoForward(pane));
    EXPECT_FALSE(PaneHistory::Forward(pane));
    EXPECT_EQ(pane.Path, "/d/");
}

TEST(PaneHistory, sameLocationRecordedTwiceOrArchiveStateLost)
{
    TDirData pane(1);
    EXPECT_FALSE(PaneHistory::CanGoBack(pane));
    EXPECT_FALSE(PaneHistory::CanGoForward(pane));
    EXPECT_FALSE(PaneHistory::Back(pane));
    moveTo(pane, "/a");
    moveTo(pane, "/a/");                       // the same place, with its slash
    EXPECT_EQ(pane.History.size(), 1);
    EXPECT_FALSE(PaneHistory::CanGoBack(pane));

    moveTo(pane, "/a/x.zip/", "", 1);
    moveTo(pane, "/a/x.zip/", "sub/", 1);
    moveTo(pane, "/b/");
    EXPECT_EQ(pane.History.size(), 4);
    ASSERT_TRUE(PaneHistory::Back(pane));
    EXPECT_EQ(pane.Path, "/a/x.zip/");
    EXPECT_EQ(pane.ArchivePath, "sub/");
    EXPECT_EQ(pane.ArchiveDepth, 1);
    // Recording where Back arrived keeps the way forward.
    PaneHistory::Record(pane);
    EXPECT_TRUE(PaneHistory::CanGoForward(pane));
    ASSERT_TRUE(PaneHistory::Back(pane));
    EXPECT_EQ(pane.ArchivePath, "");
    ASSERT_TRUE(PaneHistory::Back(pane));
    EXPECT_EQ(pane.ArchiveDepth, 0);
    EXPECT_EQ(pane.Path, "/a/");
}

} // namespace
