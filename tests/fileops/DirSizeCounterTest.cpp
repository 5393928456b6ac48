#include "fileops/DirSizeCounter.h"

#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>
#include <algorithm>
#include <fcntl.h>
#include <sys/fsuid.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const std::atomic<bool> kNoStop{false};

DirSizeResult measure(const QString& folder)
{
    const std::optional<DirSizeResult> result = DirSizeCounter::Measure(folder, kNoStop);
    EXPECT_TRUE(result.has_value()) << "nothing stopped the walk";
    return result.value_or(DirSizeResult{});
}

// The disk space `du` reports for a folder: the reference for allocated sizes.
int64_t duBytes(const QString& folder)
{
    QProcess du;
    du.start(QStringLiteral("du"), {QStringLiteral("-sx"), QStringLiteral("-B1"), folder});
    if (!du.waitForFinished(30000) || du.exitCode() != 0)
        return -1;
    return du.readAllStandardOutput().split('\t').value(0).toLongLong();
}

QByteArray native(const QString& path) { return QFile::encodeName(path); }

int64_t linkSize(const QString& path)
{
    struct stat st;
    return ::lstat(native(path).constData(), &st) == 0 ? st.st_size : -1;
}

void makeSymlink(const QString& target, const QString& name)
{
    ASSERT_EQ(::symlink(native(target).constData(), native(name).constData()), 0);
}

} // namespace

TEST(DirSizeCounter, sumsEveryEntryWithWholeSizesAndDiskSpaceAsDu)
{
    TempDir tree;
    tree.makeFile(QStringLiteral(".hidden"), QByteArray(2000, 'h'));
    tree.makeFile(QStringLiteral("sub/.deep/c"), QByteArray(10, 'c'));
    tree.makeDir(QStringLiteral("empty"));
    tree.makeSizedFile(QStringLiteral("sub/sparse.img"), 5'000'000'000);
    const QString data = tree.makeFile(QStringLiteral("data.bin"), QByteArray(200000, 'd'));
    ASSERT_EQ(::link(native(data).constData(), native(tree.filePath("sub/again.bin")).constData()), 0);

    const DirSizeResult r = measure(tree.path());
    EXPECT_EQ(r.Path, tree.path());
    EXPECT_EQ(r.FileCount, 5u) << "hidden files and both names of a hard link count";
    EXPECT_EQ(r.DirCount, 3u) << "sub, sub/.deep and empty; not the measured folder itself";
    EXPECT_EQ(r.Size, 2000 + 10 + 5'000'000'000 + 2 * 200000);
    // du takes a hard-linked file's blocks once and a sparse file's holes not at all.
    EXPECT_EQ(r.AllocatedSize, duBytes(tree.path()));
    EXPECT_LT(r.AllocatedSize, 1 << 20);

    const DirSizeResult withSlash = measure(tree.path() + u'/');
    EXPECT_EQ(withSlash.Size, r.Size);
    EXPECT_EQ(withSlash.Path, tree.path() + u'/') << "results name the folder as it was asked for";
}

TEST(DirSizeCounter, symbolicLinksAreCountedButNeverFollowedSoLoopsEnd)
{
    TempDir outside;
    const QString big = outside.makeSizedFile(QStringLiteral("big.img"), 5'000'000'000);
    outside.makeFile(QStringLiteral("folder/inner.txt"), QByteArray(1000, 'i'));
    TempDir tree;
    makeSymlink(big, tree.filePath(QStringLiteral("to-big")));
    makeSymlink(outside.filePath(QStringLiteral("folder")), tree.filePath(QStringLiteral("to-folder")));
    makeSymlink(QStringLiteral("/nowhere/at/all"), tree.filePath(QStringLiteral("dangling")));
    tree.makeDir(QStringLiteral("sub"));
    makeSymlink(QStringLiteral("."), tree.filePath(QStringLiteral("sub/self")));
    makeSymlink(QStringLiteral(".."), tree.filePath(QStringLiteral("sub/up")));

    const DirSizeResult r = measure(tree.path());
    EXPECT_EQ(r.FileCount, 5u);
    EXPECT_EQ(r.DirCount, 1u) << "a link to a folder is not a folder to sum";
    int64_t linkSizes = 0;
    for (const char* name : {"to-big", "to-folder", "dangling", "sub/self", "sub/up"})
        linkSizes += linkSize(tree.filePath(QLatin1String(name)));
    EXPECT_EQ(r.Size, linkSizes);

    // A pane lists a link to a folder as a folder; measuring it still does not follow it.
    for (const QString& asked : {tree.filePath("to-folder"), tree.filePath("to-folder") + u'/'}) {
        const DirSizeResult viaLink = measure(asked);
        EXPECT_EQ(viaLink.FileCount + viaLink.Size, 0u) << asked.toStdString();
    }
}

TEST(DirSizeCounter, unreadableFoldersCountAsEmpty)
{
    const DirSizeResult missing = measure(QStringLiteral("/no/such/folder/here"));
    EXPECT_EQ(missing.FileCount + missing.Size + missing.AllocatedSize, 0u);

    TempDir tree;
    tree.makeFile(QStringLiteral("seen.txt"), QByteArray(10, 's'));
    tree.makeFile(QStringLiteral("locked/inner/unseen.txt"), QByteArray(5000, 'x'));
    const QByteArray root = native(tree.path());
    const QByteArray locked = native(tree.filePath(QStringLiteral("locked")));
    ASSERT_EQ(::chmod(root.constData(), 0755), 0);
    // Root reads every folder whatever its mode, so as root the walk runs with an
    // ordinary user's file access rights instead (setfsuid acts on this thread only).
    const bool asRoot = ::geteuid() == 0;
    ASSERT_EQ(::chmod(locked.constData(), asRoot ? 0700 : 0), 0);
    if (asRoot)
        ::setfsuid(65534);
    const bool rootReadable = ::faccessat(AT_FDCWD, root.constData(), R_OK | X_OK, AT_EACCESS) == 0;
    const bool lockedReadable = ::faccessat(AT_FDCWD, locked.constData(), R_OK, AT_EACCESS) == 0;
    const DirSizeResult r = rootReadable && !lockedReadable ? measure(tree.path()) : DirSizeResult{};
    if (asRoot)
        ::setfsuid(0);
    ::chmod(locked.constData(), 0700);
    if (!rootReadable || lockedReadable)
        GTEST_SKIP() << "cannot make a folder unreadable here";

    EXPECT_EQ(r.FileCount, 1u);
    EXPECT_EQ(r.DirCount, 1u) << "the locked folder is a folder, with nothing found in it";
    EXPECT_EQ(r.Size, 10);
}

TEST(DirSizeCounter, stopRequestGivesNoResult)
{
    TempDir tree;
    tree.makeFile(QStringLiteral("sub/a.txt"), QByteArray(10, 'a'));
    const std::atomic<bool> stop{true};
    EXPECT_FALSE(DirSizeCounter::Measure(tree.path(), stop).has_value());
    EXPECT_FALSE(DirSizeCounter::Measure(QStringLiteral("/no/such/folder"), stop).has_value());
}

TEST(DirSizeCounter, anotherFileSystemMountedInsideIsNotEntered)
{
    TempDir tree;
    tree.makeFile(QStringLiteral("own.txt"), QByteArray(300, 'o'));
    const QString mountPoint = tree.makeDir(QStringLiteral("mnt"));
    if (::mount("dorvane-test", native(mountPoint).constData(), "tmpfs", 0, "size=4m") != 0)
        GTEST_SKIP() << "cannot mount a tmpfs here";
    struct Unmount {
        QByteArray Path;
        ~Unmount() { ::umount2(Path.constData(), MNT_DETACH); }
    } unmount{native(mountPoint)};
    QFile inside(mountPoint + QStringLiteral("/foreign.bin"));
    ASSERT_TRUE(inside.open(QIODevice::WriteOnly));
    inside.write(QByteArray(100000, 'f'));
    inside.close();

    const DirSizeResult r = measure(tree.path());
    EXPECT_EQ(r.FileCount, 1u);
    EXPECT_EQ(r.DirCount, 0u) << "a mount point is left out as du -x leaves it out";
    EXPECT_EQ(r.Size, 300);
    EXPECT_EQ(r.AllocatedSize, duBytes(tree.path()));
    EXPECT_EQ(measure(mountPoint).Size, 100000) << "measured itself, the mounted file system is summed";
}

TEST(DirSizeCounter, treeDeeperThanTheDescriptorsItMayHoldIsWalkedWhole)
{
    // Every level holds a file, a leaf folder with a file, and the next level; the
    // leaves of deep levels are only reached again by going back up through "..".
    TempDir tree;
    const int levels = 200;
    const auto makeFile = [](int folder, const char* name) {
        const int file = ::openat(folder, name, O_CREAT | O_WRONLY, 0644);
        const bool written = file >= 0 && ::write(file, "12345", 5) == 5;
        ::close(file);
        return written;
    };
    int fd = ::open(native(tree.path()).constData(), O_RDONLY | O_DIRECTORY);
    for (int i = 0; i < levels && fd >= 0; ++i) {
        ASSERT_TRUE(::mkdirat(fd, "leaf", 0755) == 0 && ::mkdirat(fd, "next", 0755) == 0 && makeFile(fd, "f"));
        const int leaf = ::openat(fd, "leaf", O_RDONLY | O_DIRECTORY);
        ASSERT_TRUE(makeFile(leaf, "g"));
        ::close(leaf);
        const int next = ::openat(fd, "next", O_RDONLY | O_DIRECTORY);
        ::close(fd);
        fd = next;
    }
    ASSERT_GE(fd, 0);
    ::close(fd);
    const auto openDescriptors = [] { return QDir(QStringLiteral("/proc/self/fd")).count(); };
    const uint before = openDescriptors();
    // New descriptors take the lowest free numbers, so this allows about 100 more.
    struct rlimit saved;
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &saved), 0);
    struct rlimit tight = saved;
    tight.rlim_cur = std::min<rlim_t>(saved.rlim_cur, before + 100);
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &tight), 0);
    const DirSizeResult r = measure(tree.path());
    ::setrlimit(RLIMIT_NOFILE, &saved);

    EXPECT_EQ(r.DirCount, uint32_t(2 * levels));
    EXPECT_EQ(r.FileCount, uint32_t(2 * levels));
    EXPECT_EQ(r.AllocatedSize, duBytes(tree.path()));
    EXPECT_EQ(openDescriptors(), before) << "every folder opened is closed again";
}

TEST(DirSizeCounter, kernelFileSystemsAreNotWalked)
{
    const std::atomic<bool> stop{false};
    for (const char* folder : {"/proc", "/sys"}) {
        if (!QFileInfo(QString::fromLatin1(folder)).isDir())
            continue;
        const std::optional<DirSizeResult> r = DirSizeCounter::Measure(QString::fromLatin1(folder), stop);
        ASSERT_TRUE(r.has_value()) << folder;
        EXPECT_EQ(std::make_tuple(r->FileCount, r->DirCount, r->Size), std::make_tuple(0u, 0u, int64_t(0))) << folder;
    }
}
