// Listing a real folder into a pane: which entries appear, what the filter list offers,
// sizes beyond 4 GiB, and the bound on the number of entries.
#include "app/PaneLister.h"

#include "AppTestSupport.h"
#include "platform/FileAttributes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Lists dir into pane and returns the names in plain string order.
QStringList listed(TDirData& pane, const QString& dir, const ListingInputs& in)
{
    pane.Path = dir + QLatin1Char('/');
    EXPECT_TRUE(PaneLister::ListFolder(pane, in));
    QStringList names = EntryNames(pane);
    names.sort();
    return names;
}

const TFileData* find(const TDirData& pane, const QString& name)
{
    for (int i = 0; i < pane.Count; ++i)
        if (pane.Item(i)->Name == name)
            return pane.Item(i);
    return nullptr;
}

TEST(PaneLister, filterHidesFoldersOrMasksMissSkippedFiles)
{
    TempDir dir;
    dir.makeDir("sub.zip");
    dir.makeDir(".git");
    for (const char* name : {"a.TXT", "b.txt", "c.Doc", "noext", ".hidden.cfg", "DESCRIPT.ION"})
        dir.makeFile(name);
    ListingInputs in;
    in.Filter = "*.TXT";
    in.Options.HideHidden = true;
    TDirData pane(1);
    EXPECT_EQ(listed(pane, dir.path(), in), (QStringList{"..", "a.TXT", "b.txt", "sub.zip"}));
    EXPECT_EQ(pane.DirCount, 2);
    EXPECT_EQ(pane.FileCount, 2);
    // Every extension present, of hidden and filtered-out files too; folders add none.
    EXPECT_EQ(pane.FilterMasks, (QStringList{"*", "*.cfg", "*.doc", "*.ion", "*.txt"}));
}

TEST(PaneLister, hideOptionsHideTooMuchOrTooLittle)
{
    TempDir dir;
    for (const char* name : {"descript.Ion", ".profile", "Desktop.INI", "folder.htt", "folder settings", "plain"})
        dir.makeFile(name);
    for (const char* name : {".cache", "Folder Settings", "desktop.ini"})
        dir.makeDir(name);
    const QStringList all{"..", ".cache", ".profile", "Desktop.INI", "Folder Settings", "descript.Ion",
                          "desktop.ini", "folder settings", "folder.htt", "plain"};
    auto without = [&](const QStringList& hidden) {
        QStringList rest = all;
        for (const QString& name : hidden)
            rest.removeOne(name);
        return rest;
    };
    TDirData pane(1);
    ListingInputs in;
    in.Options = {false, false, false, false};
    EXPECT_EQ(listed(pane, dir.path(), in), all);
    in.Options = {false, false, true, false};
    EXPECT_EQ(listed(pane, dir.path(), in), without({"descript.Ion"}));
    in.Options = {true, false, false, false};
    EXPECT_EQ(listed(pane, dir.path(), in), without({".cache", ".profile"}));
    // Only files of those names and a folder of that name are extra.
    in.Options = {false, true, false, false};
    EXPECT_EQ(listed(pane, dir.path(), in), without({"Desktop.INI", "folder.htt", "Folder Settings"}));
}

TEST(PaneLister, dosHiddenBitIsIgnoredOrHidesWhenShown)
{
    TempDir dir;
    const QString file = dir.makeFile("shy.txt");
    const QString folder = dir.makeDir("quiet");
    dir.makeFile("plain");
    dir.makeFile("system");
    if (!WriteFileAttributes(file, faHidden, nullptr))
        GTEST_SKIP() << "the temporary folder's file system keeps no user attributes";
    ASSERT_TRUE(WriteFileAttributes(folder, faHidden | faArchive, nullptr));
    ASSERT_TRUE(WriteFileAttributes(dir.filePath("system"), faSysFile, nullptr));
    TDirData pane(1);
    ListingInputs in;
    in.Options.HideHidden = true;
    EXPECT_EQ(listed(pane, dir.path(), in), (QStringList{"..", "plain", "system"}));
    in.Options.HideHidden = false;
    EXPECT_EQ(listed(pane, dir.path(), in), (QStringList{"..", "plain", "quiet", "shy.txt", "system"}));
}

TEST(PaneLister, sizesTruncateAbove4GiBOrFolderSizeIsInvented)
{
    TempDir dir;
    dir.makeSizedFile("big.bin", (int64_t(5) << 30) + 7);
    dir.makeFile("small", "12345");
    dir.makeDir("cached");
    dir.makeDir("fresh");
    ListingInputs in;
    in.Descriptions.insert("SMALL", "five bytes");   // keyed without regard to case
    in.CachedSize = [&](const QString& path) -> qint64 { return path == dir.filePath("cached") ? 777 : -1; };
    TDirData pane(1);
    listed(pane, dir.path(), in);
    EXPECT_EQ(find(pane, "big.bin")->Size, (int64_t(5) << 30) + 7);
    EXPECT_EQ(find(pane, "small")->Size, 5);
    EXPECT_EQ(find(pane, "small")->Description, "five bytes");
    EXPECT_EQ(find(pane, "cached")->Size, 777);
    EXPECT_EQ(find(pane, "cached")->SizeKnown, 0);
    EXPECT_EQ(find(pane, "fresh")->Size, -1);
    EXPECT_EQ(find(pane, "..")->Size, -1);
}

TEST(PaneLister, rootListsParentOrVolumesMissing)
{
    TDirData pane(1);
    pane.Path = "/";
    ListingInputs in;
    in.Drives = QStringList{"/", "/mnt/b", "/mnt/a"};
    EXPECT_TRUE(PaneLister::ListFolder(pane, in));
    EXPECT_EQ(find(pane, ".."), nullptr);
    EXPECT_EQ(pane.DriveCount, 3);
    EXPECT_EQ(EntryNames(pane).mid(pane.Count - 3), in.Drives);
    in.Options.ShowDrives = false;
    PaneLister::ListFolder(pane, in);
    EXPECT_EQ(pane.DriveCount, 0);

    pane.Path = "/no/such/folder/";
    in.Options.ShowDrives = true;
    EXPECT_FALSE(PaneLister::ListFolder(pane, in));
    EXPECT_EQ(EntryNames(pane), in.Drives);
}

TEST(PaneLister, unreadableFolderListsEmptyWithoutSayingWhy)
{
    TempDir dir;
    TDirData pane(1);
    ListingInputs in;
    pane.Path = dir.filePath("gone") + '/';      // removed while a pane shows it
    EXPECT_FALSE(PaneLister::ListFolder(pane, in));
    EXPECT_EQ(pane.ReadError, QString::fromLocal8Bit(std::strerror(ENOENT)));
    pane.Path = dir.makeFile("plain") + '/';
    EXPECT_FALSE(PaneLister::ListFolder(pane, in));
    EXPECT_EQ(pane.ReadError, QString::fromLocal8Bit(std::strerror(ENOTDIR)));
    pane.Path = dir.path() + '/';
    EXPECT_TRUE(PaneLister::ListFolder(pane, in));
    EXPECT_EQ(pane.ReadError, QString());
}

TEST(PaneLister, refusedFolderListsEmptyWithoutSayingWhy)
{
    // Root reads any folder, so a refused one can only be made for other users.
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not stop root";
    TempDir dir;
    TDirData pane(1);
    ListingInputs in;
    const QString locked = dir.makeDir("locked");
    ASSERT_EQ(::chmod(QFile::encodeName(locked).constData(), 0), 0);
    pane.Path = locked + '/';
    EXPECT_FALSE(PaneLister::ListFolder(pane, in));
    EXPECT_EQ(pane.ReadError, QString::fromLocal8Bit(std::strerror(EACCES)));
    ::chmod(QFile::encodeName(locked).constData(), 0755);
}

TEST(PaneLister, hugeFolderOverrunsTheBoundKeepsOtherThanFirstNamesOrDropsTheFlag)
{
    TempDir dir;
    auto makeFiles = [&](const char* prefix, int count) {
        for (int i = 0; i < count; ++i) {
            const QString name = QString::fromLatin1(prefix) + QStringLiteral("%1").arg(i, 5, 10, QLatin1Char('0'));
            const int fd = ::open(QFile::encodeName(dir.filePath(name)).constData(), O_CREAT | O_WRONLY, 0644);
            ASSERT_GE(fd, 0);
            ::close(fd);
        }
    };
    makeFiles("b", kMaxPaneItems - 2);   // with "..": room for one volume row of two
    ListingInputs in;
    in.Drives = QStringList{"/", "/home"};
    TDirData pane(1);
    listed(pane, dir.path(), in);
    EXPECT_EQ(pane.Count, kMaxPaneItems);
    EXPECT_EQ(pane.DriveCount, 1);
    EXPECT_EQ(pane.Item(kMaxPaneItems - 1)->Name, "/");
    EXPECT_TRUE(pane.Truncated);

    // Created last, read first or last or anywhere in between (hash order): the kept
    // entries are still the first by name, so all eight of these stay.
    makeFiles("a", 8);
    QStringList names = listed(pane, dir.path(), in);
    EXPECT_EQ(pane.Count, kMaxPaneItems);
    EXPECT_EQ(int(pane.Items.size()), kMaxPaneItems);
    EXPECT_EQ(pane.DirCount + pane.FileCount, kMaxPaneItems);
    EXPECT_TRUE(pane.Truncated);
    ASSERT_EQ(names.size(), kMaxPaneItems);
    EXPECT_EQ(names.first(), "..");
    EXPECT_EQ(names.mid(1, 8), (QStringList{"a00000", "a00001", "a00002", "a00003", "a00004", "a00005",
                                            "a00006", "a00007"}));
    EXPECT_EQ(names.at(9), "b00000");
    EXPECT_EQ(names.last(), QStringLiteral("b%1").arg(kMaxPaneItems - 10, 5, 10, QLatin1Char('0')));

    TempDir small;                       // a later, smaller listing drops the flag
    small.makeFile("one");
    listed(pane, small.path(), in);
    EXPECT_FALSE(pane.Truncated);
    EXPECT_EQ(pane.Count, 4);
}

} // namespace
