// Mount-table watcher: which mount points a change touches, and real tmpfs mounts
// (as root, where mounting is allowed) reported once, and only when a user would see them.
#include "platform/TMountWatcher.h"

#include "QtPrinters.h"
#include "support/TempDir.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <sys/mount.h>
#include <unistd.h>

namespace {

TVolume volume(const QString& mountPoint, const QString& fsType, const QString& device = QStringLiteral("/dev/x"))
{
    return TVolume{mountPoint, device, fsType, DriveType::Fixed};
}

struct Report {
    QVector<TVolume> before;
    QVector<TVolume> after;
};

// Lets the event loop run (the notifier and the timer need it) until done() or the time is up.
bool runEventsUntil(const std::function<bool()>& done, int milliseconds)
{
    QDeadlineTimer deadline(milliseconds);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

void runEventsFor(int milliseconds)
{
    runEventsUntil([] { return false; }, milliseconds);
}

// A small tmpfs that is unmounted whatever way the test ends.
class ScopedTmpfs {
public:
    explicit ScopedTmpfs(const QString& mountPoint)
        : m_path(QFile::encodeName(mountPoint))
    {
        m_mounted = ::mount("tmpfs", m_path.constData(), "tmpfs", 0, "size=64k") == 0;
    }
    ~ScopedTmpfs() { Unmount(); }
    ScopedTmpfs(const ScopedTmpfs&) = delete;
    ScopedTmpfs& operator=(const ScopedTmpfs&) = delete;

    bool IsMounted() const { return m_mounted; }
    void Unmount()
    {
        if (m_mounted && ::umount2(m_path.constData(), MNT_DETACH) == 0)
            m_mounted = false;
    }

private:
    QByteArray m_path;
    bool m_mounted = false;
};

QStringList affected(const Report& report)
{
    return TMountWatcher::AffectedMountPoints(report.before, report.after);
}

bool holds(const QVector<TVolume>& volumes, const QString& mountPoint)
{
    for (const TVolume& v : volumes) {
        if (v.mountPoint == mountPoint)
            return true;
    }
    return false;
}

bool isListed(const QString& mountPoint)
{
    for (const TVolume& v : ListVolumes()) {
        if (v.mountPoint == mountPoint)
            return true;
    }
    return false;
}

class MountWatcherLive : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (::geteuid() != 0)
            GTEST_SKIP() << "mounting needs root";
        QObject::connect(&m_watcher, &TMountWatcher::MountsChanged, [this](const auto& before, const auto& after) {
            m_reports.push_back(Report{before, after});
        });
        ASSERT_TRUE(m_watcher.IsWatching());
    }

    // Mount points are canonical paths in the mount table: /tmp may be a link.
    QString mountPointIn(const QString& name) { return QDir(m_dir.makeDir(name)).canonicalPath(); }

    TempDir m_dir;
    TMountWatcher m_watcher;
    // Reports that touch a mount point; other tests may mount things at the same time.
    std::vector<Report> reportsTouching(const QString& mountPoint) const
    {
        std::vector<Report> found;
        for (const Report& r : m_reports) {
            if (affected(r).contains(mountPoint))
                found.push_back(r);
        }
        return found;
    }

    std::vector<Report> m_reports;
};

} // namespace

TEST(MountWatcherAffected, appearingAndVanishingVolumesAreBothReportedSortedOnce)
{
    const QVector<TVolume> before = {volume("/", "ext4"), volume("/mnt/old", "ext4"), volume("/home", "ext4")};
    const QVector<TVolume> after = {volume("/", "ext4"), volume("/home", "ext4"), volume("/media/usb", "vfat"),
                                    volume("/mnt/new", "nfs4", "srv:/export")};
    EXPECT_EQ(TMountWatcher::AffectedMountPoints(before, after),
              QStringList({"/media/usb", "/mnt/new", "/mnt/old"}));
    EXPECT_EQ(TMountWatcher::AffectedMountPoints(after, before),
              QStringList({"/media/usb", "/mnt/new", "/mnt/old"}));
}

TEST(MountWatcherAffected, unchangedTableInAnotherOrderAffectsNothing)
{
    const QVector<TVolume> volumes = {volume("/", "ext4"), volume("/home", "ext4"), volume("/tmp", "tmpfs", "tmpfs")};
    const QVector<TVolume> reordered = {volume("/tmp", "tmpfs", "tmpfs"), volume("/", "ext4"), volume("/home", "ext4")};
    EXPECT_TRUE(TMountWatcher::AffectedMountPoints(volumes, reordered).isEmpty());
    EXPECT_TRUE(TMountWatcher::AffectedMountPoints({}, {}).isEmpty());
}

TEST(MountWatcherAffected, otherVolumeMountedAtTheSamePointIsReported)
{
    // A pane on /mnt/data shows the old file system's files until it re-reads.
    EXPECT_EQ(TMountWatcher::AffectedMountPoints({volume("/mnt/data", "ext4")}, {volume("/mnt/data", "nfs4")}),
              QStringList({"/mnt/data"}));
    EXPECT_EQ(TMountWatcher::AffectedMountPoints({volume("/media/usb", "vfat", "/dev/sdb1")},
                                                 {volume("/media/usb", "vfat", "/dev/sdc1")}),
              QStringList({"/media/usb"}));
}

TEST_F(MountWatcherLive, mountAndUnmountAreEachReportedWithTheirMountPoint)
{
    const QString point = mountPointIn(QStringLiteral("stick"));
    ScopedTmpfs tmpfs(point);
    if (!tmpfs.IsMounted())
        GTEST_SKIP() << "tmpfs cannot be mounted here";
    if (!isListed(point))
        GTEST_SKIP() << "the volume list is full";

    ASSERT_TRUE(runEventsUntil([&] { return !reportsTouching(point).empty(); }, 5000)) << "mount not reported";
    EXPECT_EQ(reportsTouching(point).size(), 1u);
    EXPECT_TRUE(holds(m_watcher.Volumes(), point));

    tmpfs.Unmount();
    ASSERT_FALSE(tmpfs.IsMounted());
    ASSERT_TRUE(runEventsUntil([&] { return reportsTouching(point).size() >= 2; }, 5000)) << "unmount not reported";
    EXPECT_FALSE(holds(reportsTouching(point)[1].after, point));
    EXPECT_FALSE(holds(m_watcher.Volumes(), point));
}

TEST_F(MountWatcherLive, burstOfMountsGivesOneReport)
{
    m_watcher.SetCoalesceInterval(1000);
    const QString first = mountPointIn(QStringLiteral("a"));
    const QString second = mountPointIn(QStringLiteral("b"));
    ScopedTmpfs a(first);
    if (!a.IsMounted())
        GTEST_SKIP() << "tmpfs cannot be mounted here";
    // Let the watcher see the first change before the second one happens.
    runEventsFor(100);
    ScopedTmpfs b(second);
    ASSERT_TRUE(b.IsMounted());
    if (!isListed(first) || !isListed(second))
        GTEST_SKIP() << "the volume list is full";

    ASSERT_TRUE(runEventsUntil([&] { return !reportsTouching(first).empty(); }, 5000));
    runEventsFor(300);
    ASSERT_EQ(reportsTouching(first).size(), 1u);
    EXPECT_EQ(reportsTouching(second).size(), 1u);
    EXPECT_TRUE(affected(reportsTouching(first).front()).contains(second));
}

TEST_F(MountWatcherLive, mountsNoUserSeesStayQuiet)
{
    m_watcher.SetCoalesceInterval(50);
    // /run holds the system's own mounts, which the volume list leaves out.
    QTemporaryDir hidden(QStringLiteral("/run/dorvane-mnt-XXXXXX"));
    if (!hidden.isValid())
        GTEST_SKIP() << "no /run to mount in";
    ScopedTmpfs tmpfs(hidden.path());
    if (!tmpfs.IsMounted())
        GTEST_SKIP() << "tmpfs cannot be mounted here";
    ASSERT_FALSE(isListed(hidden.path()));
    runEventsFor(500);
    tmpfs.Unmount();
    runEventsFor(300);
    // Whatever else happened meanwhile, no report may claim a change nobody can see.
    for (const Report& r : m_reports)
        EXPECT_FALSE(affected(r).isEmpty());
}
