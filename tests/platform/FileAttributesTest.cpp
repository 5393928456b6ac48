// Directory search and DOS attributes on real folders.
#include "platform/FileAttributes.h"
#include "platform/FileNames.h"

#include "support/TempDir.h"
#include "core/DosTime.h"
#include "QtPrinters.h"

#include <QDateTime>
#include <QFile>
#include <QMap>
#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

QMap<QString, TSearchRec> listing(const QString& folder)
{
    QMap<QString, TSearchRec> entries;
    TDirectorySearch search(folder);
    TSearchRec rec;
    while (search.Next(rec))
        entries.insert(rec.Name, rec);
    return entries;
}

bool userXattrsWork(const QString& file)
{
    const QByteArray path = QFile::encodeName(file);
    if (::setxattr(path.constData(), "user.dorvane.probe", "1", 1, 0) != 0)
        return false;
    ::removexattr(path.constData(), "user.dorvane.probe");
    return true;
}

void setDosAttrib(const QString& file, const QByteArray& value)
{
    ASSERT_EQ(::setxattr(QFile::encodeName(file).constData(), "user.DOSATTRIB", value.constData(),
                         size_t(value.size()), 0),
              0);
}

TEST(FileAttributes, searchListsWhatTheEntriesAre)
{
    TempDir dir;
    dir.makeFile(QStringLiteral("plain.txt"), "abc");
    dir.makeFile(QStringLiteral(".hidden"));
    dir.makeDir(QStringLiteral("sub"));
    dir.makeDir(QStringLiteral(".config"));
    ASSERT_EQ(::symlink("sub", QFile::encodeName(dir.filePath(QStringLiteral("linkToDir"))).constData()), 0);
    ASSERT_EQ(::symlink("gone", QFile::encodeName(dir.filePath(QStringLiteral("dangling"))).constData()), 0);
    const QString locked = dir.makeFile(QStringLiteral("locked"));
    ASSERT_EQ(::chmod(QFile::encodeName(locked).constData(), 0444), 0);

    const auto entries = listing(dir.path());
    EXPECT_EQ(entries.keys(), QStringList({"..", ".config", ".hidden", "dangling", "linkToDir", "locked",
                                           "plain.txt", "sub"}));
    EXPECT_EQ(entries[QStringLiteral("plain.txt")].Attr, 0u);
    EXPECT_EQ(entries[QStringLiteral("plain.txt")].Size, 3);
    EXPECT_EQ(entries[QStringLiteral(".hidden")].Attr, faHidden);
    EXPECT_EQ(entries[QStringLiteral(".config")].Attr, faHidden | faDirectory);
    EXPECT_EQ(entries[QStringLiteral("..")].Attr & faHidden, 0u);
    EXPECT_TRUE(entries[QStringLiteral("..")].Attr & faDirectory);
    EXPECT_EQ(entries[QStringLiteral("sub")].Attr, faDirectory);
    EXPECT_EQ(entries[QStringLiteral("linkToDir")].Attr, faDirectory);
    EXPECT_EQ(entries[QStringLiteral("dangling")].Attr & faDirectory, 0u);
    EXPECT_EQ(entries[QStringLiteral("locked")].Attr, faReadOnly);
}

TEST(FileAttributes, rootHasNoParentEntry)
{
    const auto entries = listing(QStringLiteral("/"));
    EXPECT_FALSE(entries.contains(QStringLiteral("..")));
    EXPECT_FALSE(entries.contains(QStringLiteral(".")));
    EXPECT_TRUE(entries.contains(QStringLiteral("proc")) || entries.contains(QStringLiteral("usr")));
}

TEST(FileAttributes, missingFolderIsNotOpen)
{
    TDirectorySearch search(QStringLiteral("/no/such/folder"));
    TSearchRec rec;
    EXPECT_FALSE(search.IsOpen());
    EXPECT_FALSE(search.Next(rec));
}

TEST(FileAttributes, sizesAbove4GiBAndTimesArePacked)
{
    TempDir dir;
    const qint64 big = (qint64(5) << 30) + 7;
    dir.makeSizedFile(QStringLiteral("big.bin"), big);
    const QDateTime when(QDate(2020, 5, 17), QTime(10, 20, 30));
    dir.setModified(QStringLiteral("big.bin"), when);
    dir.makeFile(QStringLiteral("old.txt"));
    dir.setModified(QStringLiteral("old.txt"), QDateTime(QDate(1975, 1, 1), QTime(0, 0)));

    const auto entries = listing(dir.path());
    EXPECT_EQ(entries[QStringLiteral("big.bin")].Size, big);
    const uint32_t expected = (uint32_t(2020 - 1980) << 25) | (5u << 21) | (17u << 16) | (10u << 11)
        | (20u << 5) | 15u;
    EXPECT_EQ(entries[QStringLiteral("big.bin")].Time, expected);
    EXPECT_EQ(entries[QStringLiteral("old.txt")].Time, 0u);   // before the DOS epoch
}

TEST(FileAttributes, namesThatAreNotUtf8StayLossless)
{
    TempDir dir;
    const QByteArray raw = QFile::encodeName(dir.path()) + "/caf\xe9-\xff";
    const int fd = ::open(raw.constData(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ::close(fd);
    const auto entries = listing(dir.path());
    ASSERT_EQ(entries.size(), 2);   // the file and ".."
    const QString name = entries.lastKey();
    EXPECT_EQ(EncodeFileName(name), QByteArray("caf\xe9-\xff"));
    uint32_t attr = 99;
    EXPECT_TRUE(ReadFileAttributes(dir.path() + u'/' + name, &attr));
    EXPECT_EQ(attr, 0u);
    ::unlink(raw.constData());   // QTemporaryDir cannot remove what Qt cannot name
}

TEST(FileAttributes, dosBitsAreReadFromTheTextForm)
{
    TempDir dir;
    const QString file = dir.makeFile(QStringLiteral("f"));
    if (!userXattrsWork(file))
        GTEST_SKIP() << "the temporary folder's file system keeps no user attributes";
    uint32_t attr = 0;
    setDosAttrib(file, "0x26");
    ASSERT_TRUE(ReadFileAttributes(file, &attr));
    EXPECT_EQ(attr, faHidden | faSysFile | faArchive);

    // Samba writes the text, a NUL and a binary record of its own, longer than a
    // small buffer.
    setDosAttrib(file, QByteArray("0x20\0", 5) + QByteArray(300, '\x01'));
    ASSERT_TRUE(ReadFileAttributes(file, &attr));
    EXPECT_EQ(attr, faArchive);

    setDosAttrib(file, QByteArray("\x00\x00\x04\x00\x04\x00", 6));
    ASSERT_TRUE(ReadFileAttributes(file, &attr));
    EXPECT_EQ(attr, 0u);
    setDosAttrib(file, "0x2g");
    ASSERT_TRUE(ReadFileAttributes(file, &attr));
    EXPECT_EQ(attr, 0u);
}

TEST(FileAttributes, writtenAttributesReadBack)
{
    TempDir dir;
    const QString file = dir.makeFile(QStringLiteral("f"));
    if (!userXattrsWork(file))
        GTEST_SKIP() << "the temporary folder's file system keeps no user attributes";
    QString error;
    ASSERT_TRUE(WriteFileAttributes(file, faReadOnly | faHidden | faSysFile | faArchive, &error))
        << error.toStdString();
    uint32_t attr = 0;
    ASSERT_TRUE(ReadFileAttributes(file, &attr));
    EXPECT_EQ(attr, faReadOnly | faHidden | faSysFile | faArchive);
    struct stat st;
    ASSERT_EQ(::stat(QFile::encodeName(file).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & S_IWUSR, 0u);

    // A read-only file must still take new DOS bits (a user needs write permission
    // for that) and stay read-only.
    ASSERT_TRUE(WriteFileAttributes(file, faReadOnly | faArchive, &error)) << error.toStdString();
    ASSERT_TRUE(ReadFileAttributes(file, &attr));
    EXPECT_EQ(attr, faReadOnly | faArchive);

    ASSERT_TRUE(WriteFileAttributes(file, 0, &error)) << error.toStdString();
    ASSERT_TRUE(ReadFileAttributes(file, &attr));
    EXPECT_EQ(attr, 0u);
    // No DOS bits left: no attribute left behind either.
    char value[16];
    EXPECT_LT(::getxattr(QFile::encodeName(file).constData(), "user.DOSATTRIB", value, sizeof value), 0);
    EXPECT_EQ(errno, ENODATA);
}

TEST(FileAttributes, fileSystemWithoutUserAttributesRefusesWithAClearText)
{
    // procfs keeps no user attributes; its files have the owner write bit, so only
    // the hidden bit has to be stored.
    const QString file = QStringLiteral("/proc/self/comm");
    if (userXattrsWork(file))
        GTEST_SKIP() << "procfs keeps user attributes on this kernel";
    QString error;
    EXPECT_FALSE(WriteFileAttributes(file, faHidden, &error));
    EXPECT_EQ(error, QStringLiteral("Cannot set the attributes of /proc/self/comm: the file system does not keep them."));
    // Asking for what is already there needs no attribute and succeeds.
    EXPECT_TRUE(WriteFileAttributes(file, 0, &error));
}

} // namespace
