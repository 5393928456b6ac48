// The three doors under attack: what is not a regular file, a file changed or swapped
// for a link behind our back, another user's file, attributes and hard links a rename
// would drop, leftovers of killed runs.
#include "platform/doors/FileReplacer.h"
#include "platform/doors/SourceRemoval.h"
#include "platform/doors/TemporaryName.h"
#include "platform/doors/UntrustedFile.h"

#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

std::string native(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

struct stat lstatOf(const QString& path)
{
    struct stat st {};
    ::lstat(QFile::encodeName(path).constData(), &st);
    return st;
}

FileReplacer::Status replaceWith(FileReplacer& replacer, const std::string& bytes,
                                 FileReplacer::IfChanged ifChanged = FileReplacer::IfChanged::Refuse)
{
    const FileReplacer::Status begun = replacer.Begin();
    if (begun != FileReplacer::Status::Ok)
        return begun;
    replacer.Write(bytes.data(), bytes.size());
    return replacer.Commit(ifChanged);
}

// Runs `work` in a child process as the unprivileged user 65534; its exit status.
template <class Work> int asNobody(Work work)
{
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setresgid(65534, 65534, 65534) != 0 || ::setresuid(65534, 65534, 65534) != 0)
            ::_exit(99);
        ::_exit(work());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 98;
}

} // namespace

TEST(UntrustedFile, refusesWhatIsNotARegularFileOrTooLargeWithoutWaiting)
{
    TempDir t;
    const std::string fifo = native(t.filePath("picture.gif"));
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(UntrustedFile::Open(fifo).GetStatus(), UntrustedFile::Status::NotRegular);
    QFile::link("/dev/zero", t.filePath("zero.jpg"));
    EXPECT_EQ(UntrustedFile::Open(native(t.filePath("zero.jpg"))).GetStatus(), UntrustedFile::Status::NotRegular);
    const QString sparse = t.makeSizedFile("huge.gif", qint64(10) << 30);
    EXPECT_EQ(UntrustedFile::Open(native(sparse), 64 << 20).GetStatus(), UntrustedFile::Status::TooLarge);

    UntrustedFile fake = UntrustedFile::Open(native(t.makeFile("fake.gif", "GIF8")));
    EXPECT_FALSE(fake.ExpectSignature({"GIF87a", "GIF89a"}));
    UntrustedFile real = UntrustedFile::Open(native(t.makeFile("real.gif", "GIF89a...")));
    EXPECT_TRUE(real.ExpectSignature({"GIF87a", "GIF89a"}));
}

TEST(FileReplacer, linkIsResolvedWhenTrackedNotWhenSaved)
{
    TempDir t;
    const QString real = t.makeFile("real.txt", "old");
    QFile::link(real, t.filePath("link.txt"));
    FileReplacer throughLink = FileReplacer::Track(native(t.filePath("link.txt")));
    EXPECT_EQ(replaceWith(throughLink, "new"), FileReplacer::Status::Ok);
    EXPECT_TRUE(S_ISLNK(lstatOf(t.filePath("link.txt")).st_mode));
    EXPECT_EQ(contentOf(real), "new");

    // A link planted after the file was read leads nowhere we write.
    const QString secret = t.makeFile("secret.txt", "keep");
    const QString doc = t.makeFile("doc.txt", "v1");
    FileReplacer replacer = FileReplacer::Track(native(doc));
    QFile::remove(doc);
    QFile::link(secret, doc);
    EXPECT_NE(replaceWith(replacer, "v2", FileReplacer::IfChanged::Overwrite), FileReplacer::Status::Ok);
    EXPECT_EQ(contentOf(secret), "keep");
}

TEST(FileReplacer, fileChangedOnDiskIsRefusedUntilTheCallerSaysOverwrite)
{
    TempDir t;
    const QString doc = t.makeFile("doc.txt", "v1");
    FileReplacer replacer = FileReplacer::Track(native(doc));
    t.makeFile("doc.txt", "theirs, same size no");
    EXPECT_TRUE(replacer.ChangedOnDisk());
    EXPECT_EQ(replaceWith(replacer, "ours"), FileReplacer::Status::Changed);
    EXPECT_EQ(contentOf(doc), "theirs, same size no");
    EXPECT_EQ(replacer.Commit(FileReplacer::IfChanged::Overwrite), FileReplacer::Status::Ok);
    EXPECT_EQ(contentOf(doc), "ours");
    EXPECT_EQ(QDir(t.path()).entryList(QDir::Hidden | QDir::Files).size(), 1);
}

TEST(FileReplacer, readOnlyAndOtherUsersFilesAreRefusedOwnFilesKeepWhatTheyCarry)
{
    TempDir t;
    const QString readOnly = t.makeFile("ro.zip", "archive");
    ::chmod(QFile::encodeName(readOnly).constData(), 0444);
    FileReplacer refused = FileReplacer::Track(native(readOnly));
    EXPECT_EQ(replaceWith(refused, "x"), FileReplacer::Status::ReadOnly);
    EXPECT_EQ(contentOf(readOnly), "archive");

    const QString tool = t.makeFile("tool", "#!/bin/sh\n");
    ::chmod(QFile::encodeName(tool).constData(), 04755);
    const bool xattrs = ::setxattr(native(tool).c_str(), "user.origin", "web", 3, 0) == 0;
    FileReplacer replacer = FileReplacer::Track(native(tool));
    ASSERT_EQ(replaceWith(replacer, "#!/bin/sh\necho\n"), FileReplacer::Status::Ok);
    EXPECT_EQ(lstatOf(tool).st_mode & 07777, 0755u);
    if (xattrs) {
        char value[8] = {};
        EXPECT_EQ(::getxattr(native(tool).c_str(), "user.origin", value, sizeof value), 3);
        EXPECT_STREQ(value, "web");
    }

    if (::geteuid() != 0)
        GTEST_SKIP() << "another user's file needs root to make";
    // Root's file, writable by all, in a folder anyone may write: a rename would
    // still hand it to whoever saved it.
    const QString theirs = t.makeFile("theirs.txt", "theirs");
    ::chmod(QFile::encodeName(theirs).constData(), 0666);
    ::chmod(QFile::encodeName(t.path()).constData(), 0777);
    const std::string path = native(theirs);
    EXPECT_EQ(asNobody([&] {
                  FileReplacer other = FileReplacer::Track(path);
                  return int(replaceWith(other, "mine"));
              }),
              int(FileReplacer::Status::NotOwner));
    EXPECT_EQ(contentOf(theirs), "theirs");
    // Root replacing a user's file gives it back to that user.
    ::chown(QFile::encodeName(theirs).constData(), 65534, 65534);
    FileReplacer asRoot = FileReplacer::Track(path);
    ASSERT_EQ(replaceWith(asRoot, "edited"), FileReplacer::Status::Ok);
    EXPECT_EQ(lstatOf(theirs).st_uid, 65534u);
}

TEST(FileReplacer, fileWithOtherHardLinksKeepsSharingItsContent)
{
    TempDir t;
    const QString doc = t.makeFile("doc.txt", "shared");
    ASSERT_EQ(::link(native(doc).c_str(), native(t.filePath("twin.txt")).c_str()), 0);
    FileReplacer replacer = FileReplacer::Track(native(doc));
    ASSERT_EQ(replaceWith(replacer, "both see this"), FileReplacer::Status::Ok);
    EXPECT_EQ(contentOf(t.filePath("twin.txt")), "both see this");
    EXPECT_EQ(lstatOf(doc).st_nlink, 2u);
}

TEST(FileReplacer, fullDiskLeavesTheOldContentAndNoTemporaryFile)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "mounting a small tmpfs needs root";
    TempDir t;
    const std::string disk = native(t.makeDir("disk"));
    ASSERT_EQ(::mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=64k"), 0);
    const QString doc = t.makeFile("disk/doc.txt", "old content");
    FileReplacer replacer = FileReplacer::Track(native(doc));
    EXPECT_EQ(replaceWith(replacer, std::string(1 << 20, 'x')), FileReplacer::Status::Failed);
    EXPECT_EQ(replacer.Error(), ENOSPC);
    replacer.Abandon();
    EXPECT_EQ(contentOf(doc), "old content");
    EXPECT_EQ(QDir(t.filePath("disk")).entryList(QDir::Hidden | QDir::Files).size(), 1);
    ::umount(disk.c_str());
}

TEST(TemporaryName, leftoversOfKilledRunsGoTemporariesInUseStay)
{
    TempDir t;
    const int dir = ::open(QFile::encodeName(t.path()).constData(), O_RDONLY | O_DIRECTORY);
    std::string inUse, leftover;
    const int held = TemporaryName::Create(dir, "a.zip", FileReplacer::kTempInfix, 0600, inUse);
    const int dead = TemporaryName::Create(dir, "a.zip", FileReplacer::kTempInfix, 0600, leftover);
    ::close(dead);   // what a killed program leaves: no lock
    t.makeFile(".a.zip.dvsave-mine", "not ours: another length");
    EXPECT_EQ(TemporaryName::RemoveStale(dir, "a.zip", FileReplacer::kTempInfix), 1);
    EXPECT_EQ(::faccessat(dir, inUse.c_str(), F_OK, 0), 0);
    EXPECT_NE(::faccessat(dir, leftover.c_str(), F_OK, 0), 0);
    EXPECT_TRUE(QFile::exists(t.filePath(".a.zip.dvsave-mine")));
    ::close(held);
    ::close(dir);
}

TEST(SourceRemoval, sourceRewrittenWithItsTimeRestoredIsKept)
{
    TempDir t;
    const QString source = t.makeFile("moved.txt", "12345");
    const FileIdentity was = FileIdentity::Of(lstatOf(source));
    const struct stat before = lstatOf(source);
    {
        QFile file(source);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        file.write("54321");
    }
    const struct timespec times[2] = {before.st_atim, before.st_mtim};
    ::utimensat(AT_FDCWD, native(source).c_str(), times, AT_SYMLINK_NOFOLLOW);
    EXPECT_EQ(SourceRemoval::Remove(native(source), was), SourceRemoval::Status::Changed);
    EXPECT_EQ(contentOf(source), "54321");
    EXPECT_EQ(SourceRemoval::Remove(native(source), FileIdentity::Of(lstatOf(source))),
              SourceRemoval::Status::Removed);
}
