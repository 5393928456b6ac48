// The folder monitor on real folders: which changes reach the pane, how the delay folds
// a burst into one re-read, sub-tree watching with folders that come, go and move, the
// watch limit, and stopping safely.
#include "components/TFolderMonitor.h"
#include "platform/FileNames.h"
#include "support/TempDir.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>

namespace {

// Deadlines are generous: the machine running the tests may be busy.
constexpr int kArriveMs = 5000;
// How long to listen for something that must not happen.
constexpr int kQuietMs = 800;

// Runs the event loop until the condition holds or the time-out passes.
template <typename Condition>
bool waitUntil(Condition condition, int timeoutMs = kArriveMs)
{
    QElapsedTimer elapsed;
    elapsed.start();
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (condition() || elapsed.hasExpired(timeoutMs))
            loop.quit();
    });
    poll.start(5);
    if (!condition())
        loop.exec();
    return condition();
}

void processEventsFor(int milliseconds)
{
    waitUntil([] { return false; }, milliseconds);
}

// A monitor over a temporary folder, counting what it reports.
struct Watched {
    explicit Watched(const QString& folder, bool subtree = false, int delay = 0)
    {
        QObject::connect(&monitor, &TFolderMonitor::Changed, [this] { ++changes; });
        QObject::connect(&monitor, &TFolderMonitor::WatchReady, [this] { ++ready; });
        QObject::connect(&monitor, &TFolderMonitor::WatchLimitReached, [this](const QString& folder) {
            ++limits;
            limitFolder = folder;
        });
        monitor.SetFolder(folder);
        monitor.SetWatchSubtree(subtree);
        monitor.SetDelay(delay);
    }

    // Activates and waits until the whole tree is watched.
    bool activate()
    {
        const int before = ready;
        monitor.SetActive(true);
        return waitUntil([&] { return ready > before; });
    }

    // Runs a change and waits for the Changed it must cause.
    template <typename Change>
    bool reports(Change change)
    {
        const int before = changes;
        change();
        return waitUntil([&] { return changes > before; });
    }

    // Runs a change and listens for a while: true when nothing was reported.
    template <typename Change>
    bool ignores(Change change)
    {
        const int before = changes;
        change();
        processEventsFor(kQuietMs);
        return changes == before;
    }

    TFolderMonitor monitor;
    int changes = 0;
    int ready = 0;
    int limits = 0;
    QString limitFolder;
};

bool renamePath(const QString& from, const QString& to)
{
    return ::rename(EncodeFileName(from).constData(), EncodeFileName(to).constData()) == 0;
}

void appendTo(const QString& file)
{
    const int fd = ::open(EncodeFileName(file).constData(), O_WRONLY | O_APPEND | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, "more", 4), 4);
    ::close(fd);
}

} // namespace

TEST(TFolderMonitor, namesSizesAndTimesInFolderAreReported)
{
    TempDir dir;
    dir.makeFile("old.txt", "abc");
    dir.makeDir("folder");
    Watched w(dir.path());
    ASSERT_TRUE(w.activate());
    EXPECT_TRUE(w.monitor.Watching());

    EXPECT_TRUE(w.reports([&] { dir.makeFile("new.txt"); }));
    EXPECT_TRUE(w.reports([&] { appendTo(dir.filePath("old.txt")); }));
    // Only the write time: no open for writing that could give the change away.
    EXPECT_TRUE(w.reports([&] {
        const timespec times[2] = {{0, UTIME_OMIT}, {1000000000, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, EncodeFileName(dir.filePath("old.txt")).constData(), times, 0), 0);
    }));
    EXPECT_TRUE(w.reports([&] { ASSERT_TRUE(renamePath(dir.filePath("old.txt"), dir.filePath("renamed.txt"))); }));
    EXPECT_TRUE(w.reports([&] { ASSERT_EQ(::rmdir(EncodeFileName(dir.filePath("folder")).constData()), 0); }));
    EXPECT_TRUE(w.reports([&] { ASSERT_EQ(::unlink(EncodeFileName(dir.filePath("new.txt")).constData()), 0); }));
}

TEST(TFolderMonitor, watchedFolderRemovedOrMovedIsReported)
{
    TempDir dir;
    const QString removed = dir.makeDir("removed");
    const QString moved = dir.makeDir("moved");
    Watched a(removed);
    Watched b(moved);
    ASSERT_TRUE(a.activate());
    ASSERT_TRUE(b.activate());

    EXPECT_TRUE(a.reports([&] { ASSERT_EQ(::rmdir(EncodeFileName(removed).constData()), 0); }));
    EXPECT_TRUE(b.reports([&] { ASSERT_TRUE(renamePath(moved, dir.filePath("elsewhere"))); }));
}

TEST(TFolderMonitor, burstWithinOneDelayGivesExactlyOneChanged)
{
    TempDir dir;
    Watched w(dir.path(), false, 1000);
    ASSERT_TRUE(w.activate());

    for (int i = 0; i < 20; ++i)
        dir.makeFile(QStringLiteral("f%1").arg(i), "x");
    // The first notification starts the delay and reports nothing yet.
    ASSERT_TRUE(waitUntil([&] { return w.monitor.ChangePending() || w.changes > 0; }));
    EXPECT_EQ(w.changes, 0);
    ASSERT_TRUE(waitUntil([&] { return w.changes > 0; }));
    EXPECT_EQ(w.changes, 1);
    EXPECT_FALSE(w.monitor.ChangePending());
}

TEST(TFolderMonitor, zeroDelayIsNotHeldBackByAnEarlierDelay)
{
    TempDir dir;
    Watched w(dir.path(), false, 10 * 60 * 1000);
    w.monitor.SetDelay(0);
    EXPECT_EQ(w.monitor.Delay(), 0);
    ASSERT_TRUE(w.activate());
    EXPECT_TRUE(w.reports([&] { dir.makeFile("new.txt"); }));
}

TEST(TFolderMonitor, subfolderChangesAreIgnoredWithoutSubtree)
{
    TempDir dir;
    dir.makeDir("sub/deeper");
    Watched w(dir.path(), false);
    ASSERT_TRUE(w.activate());

    EXPECT_TRUE(w.ignores([&] { dir.makeFile("sub/a.txt"); }));
    EXPECT_TRUE(w.ignores([&] { dir.makeDir("sub/deeper/new"); }));
    EXPECT_TRUE(w.reports([&] { dir.makeFile("top.txt"); }));
}

TEST(TFolderMonitor, subtreeSeesExistingAndLaterSubfolders)
{
    TempDir dir;
    dir.makeDir("a/b/c");
    Watched w(dir.path(), true);
    ASSERT_TRUE(w.activate());

    EXPECT_TRUE(w.reports([&] { dir.makeFile("a/b/c/deep.txt"); }));
    EXPECT_TRUE(w.reports([&] { dir.makeDir("a/later"); }));
    EXPECT_TRUE(w.reports([&] { dir.makeFile("a/later/inside.txt"); }));
    // A folder moved in from outside comes with a tree of its own.
    TempDir outside;
    outside.makeDir("tree/branch");
    EXPECT_TRUE(w.reports([&] { ASSERT_TRUE(renamePath(outside.filePath("tree"), dir.filePath("a/tree"))); }));
    EXPECT_TRUE(w.reports([&] { dir.makeFile("a/tree/branch/leaf.txt"); }));
}

TEST(TFolderMonitor, subfolderRenamedInsideTreeKeepsWatchingNewFolders)
{
    TempDir dir;
    dir.makeDir("a/b");
    Watched w(dir.path(), true);
    ASSERT_TRUE(w.activate());

    EXPECT_TRUE(w.reports([&] { ASSERT_TRUE(renamePath(dir.filePath("a"), dir.filePath("z"))); }));
    // A watch still keeping the old name would look for "a/b/new" and never find it.
    EXPECT_TRUE(w.reports([&] { dir.makeDir("z/b/new"); }));
    EXPECT_TRUE(w.reports([&] { dir.makeFile("z/b/new/file.txt"); }));
}

TEST(TFolderMonitor, subfolderMovedOutOfTreeIsNoLongerWatched)
{
    TempDir dir;
    TempDir outside;
    dir.makeDir("gone/inner");
    Watched w(dir.path(), true);
    ASSERT_TRUE(w.activate());

    EXPECT_TRUE(w.reports([&] { ASSERT_TRUE(renamePath(dir.filePath("gone"), outside.filePath("gone"))); }));
    EXPECT_TRUE(w.ignores([&] { outside.makeFile("gone/inner/file.txt"); }));
}

TEST(TFolderMonitor, linksAndOtherFoldersAreNotFollowed)
{
    TempDir dir;
    TempDir outside;
    ASSERT_EQ(::symlink(EncodeFileName(outside.path()).constData(), EncodeFileName(dir.filePath("link")).constData()), 0);
    Watched w(dir.path(), true);
    ASSERT_TRUE(w.activate());

    EXPECT_TRUE(w.ignores([&] { outside.makeFile("through-link.txt"); }));
    EXPECT_TRUE(w.reports([&] { dir.makeFile("here.txt"); }));
}

TEST(TFolderMonitor, linkGivenAsFolderIsWatchedThrough)
{
    TempDir dir;
    TempDir target;
    const QString link = dir.filePath("link");
    ASSERT_EQ(::symlink(EncodeFileName(target.path()).constData(), EncodeFileName(link).constData()), 0);
    Watched w(link);
    ASSERT_TRUE(w.activate());
    EXPECT_TRUE(w.reports([&] { target.makeFile("file.txt"); }));
}

TEST(TFolderMonitor, folderNameThatIsNotUtf8IsWatched)
{
    TempDir dir;
    const QByteArray raw = EncodeFileName(dir.path()) + "/caf\xe9";
    ASSERT_EQ(::mkdir(raw.constData(), 0700), 0);
    // QTemporaryDir cannot remove a name that is not UTF-8: clean up here.
    struct Cleanup {
        QByteArray folder;
        ~Cleanup()
        {
            ::unlink(QByteArray(folder + "/f").constData());
            ::rmdir(folder.constData());
        }
    } cleanup{raw};
    Watched w(DecodeFileName(raw));
    ASSERT_TRUE(w.activate());
    EXPECT_TRUE(w.reports([&] {
        const int fd = ::open(QByteArray(raw + "/f").constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0600);
        ASSERT_GE(fd, 0);
        ::close(fd);
    }));
}

TEST(TFolderMonitor, inactiveMonitorReportsNothing)
{
    TempDir dir;
    Watched w(dir.path(), true);
    EXPECT_TRUE(w.ignores([&] { dir.makeFile("before.txt"); }));
    ASSERT_TRUE(w.activate());
    w.monitor.SetActive(false);
    EXPECT_FALSE(w.monitor.Watching());
    EXPECT_TRUE(w.ignores([&] { dir.makeFile("after.txt"); }));
}

TEST(TFolderMonitor, deactivatingDropsChangeWaitingForItsDelay)
{
    TempDir dir;
    Watched w(dir.path(), false, 1000);
    ASSERT_TRUE(w.activate());
    dir.makeFile("new.txt");
    ASSERT_TRUE(waitUntil([&] { return w.monitor.ChangePending(); }));
    w.monitor.SetActive(false);
    EXPECT_FALSE(w.monitor.ChangePending());
    EXPECT_EQ(w.changes, 0);
}

TEST(TFolderMonitor, movingActiveMonitorToAnotherFolderLeavesTheOldOne)
{
    TempDir first;
    TempDir second;
    Watched w(first.path());
    ASSERT_TRUE(w.activate());
    const int ready = w.ready;
    w.monitor.SetFolder(second.path());
    ASSERT_TRUE(waitUntil([&] { return w.ready > ready; }));

    EXPECT_TRUE(w.ignores([&] { first.makeFile("old.txt"); }));
    EXPECT_TRUE(w.reports([&] { second.makeFile("new.txt"); }));
}

TEST(TFolderMonitor, missingFolderIsNotWatched)
{
    TempDir dir;
    Watched w(dir.filePath("missing"), true);
    w.monitor.SetActive(true);
    EXPECT_TRUE(w.monitor.Active());
    EXPECT_FALSE(w.monitor.Watching());
    // Appearing later does not start a watch either: the next listing activates anew.
    EXPECT_TRUE(w.ignores([&] { dir.makeFile("missing/file.txt"); }));
    EXPECT_EQ(w.limits, 0);
    w.monitor.SetActive(false);
}

TEST(TFolderMonitor, destroyingActiveMonitorDuringChangesDoesNotHang)
{
    TempDir dir;
    for (int i = 0; i < 50; ++i)
        dir.makeDir(QStringLiteral("d%1/e").arg(i));
    for (int round = 0; round < 20; ++round) {
        auto monitor = std::make_unique<TFolderMonitor>();
        monitor->SetFolder(dir.path());
        monitor->SetWatchSubtree(true);
        monitor->SetDelay(round % 2 == 0 ? 0 : 50);
        monitor->SetActive(true);
        for (int i = 0; i < 10; ++i)
            dir.makeFile(QStringLiteral("d%1/e/f%2").arg(i).arg(round), "x");
        if (round % 3 == 0)
            processEventsFor(20); // sometimes with notifications already queued
        monitor.reset();
    }
    // Anything the threads posted at the end must have died with their monitors.
    processEventsFor(200);
    SUCCEED();
}

TEST(TFolderMonitor, watchLimitIsReportedOnceAndWatchedPartStillWorks)
{
    TempDir dir;
    for (int i = 0; i < 8; ++i)
        dir.makeDir(QStringLiteral("sub%1").arg(i));
    Watched w(dir.path(), true);
    w.monitor.SetMaxWatches(3);
    ASSERT_TRUE(w.activate());
    ASSERT_TRUE(waitUntil([&] { return w.limits > 0; }));
    EXPECT_EQ(w.limitFolder, dir.path());

    EXPECT_TRUE(w.reports([&] { dir.makeFile("top.txt"); }));
    // Every new folder fails again for want of a watch, but the user hears it once.
    EXPECT_TRUE(w.reports([&] { dir.makeDir("another"); }));
    EXPECT_TRUE(w.reports([&] { dir.makeDir("yet-another"); }));
    processEventsFor(300);
    EXPECT_EQ(w.limits, 1);

    // A new activation tells again.
    w.monitor.SetActive(false);
    ASSERT_TRUE(w.activate());
    EXPECT_TRUE(waitUntil([&] { return w.limits == 2; }));
}
