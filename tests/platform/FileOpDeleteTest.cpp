// Delete through the engine: the confirmation, the freedesktop Trash (home and per
// volume), volumes without a usable trash, and deleting for good.
#include "platform/FileNames.h"
#include "platform/FileOperationEngine.h"
#include "platform/TrashCan.h"

#include "FileOpTestSupport.h"
#include "support/TempDir.h"

#include <QDate>
#include <QFileInfo>
#include <QUrl>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

FileOpResult deleteItems(ScriptedObserver& observer, const QStringList& sources, bool useTrash = true)
{
    FileOperationEngine engine(observer);
    FileOpRequest request;
    request.Kind = FileOpKind::Delete;
    request.Sources = sources;
    request.UseTrash = useTrash;
    return engine.Run(request);
}

QString dataHome() { return QString::fromLocal8Bit(qgetenv("XDG_DATA_HOME")); }

TEST(FileOpDelete, trashedItemLandsInTheHomeTrashWithItsOrigin)
{
    TempDir t;
    const QString file = t.makeFile("odd name %.txt", "trash me");
    t.makeFile("folder/inner", "inner");
    ScriptedObserver observer;
    observer.ConfirmAnswers = {true};
    ASSERT_EQ(deleteItems(observer, {file, t.filePath("folder")}), FileOpResult::Done);
    ASSERT_EQ(observer.Confirms, QStringList{QStringLiteral("Move 2 items to the Trash?")});
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_FALSE(QFile::exists(t.filePath("folder")));

    const QString trash = dataHome() + QStringLiteral("/Trash");
    EXPECT_EQ(QFileInfo(trash).permissions() & 0x0077, 0);   // no rights for group or others
    EXPECT_EQ(readAll(trash + QStringLiteral("/files/odd name %.txt")), "trash me");
    EXPECT_EQ(readAll(trash + QStringLiteral("/files/folder/inner")), "inner");
    const QByteArray info = readAll(trash + QStringLiteral("/info/odd name %.txt.trashinfo"));
    EXPECT_TRUE(info.startsWith("[Trash Info]\n"));
    EXPECT_TRUE(info.contains("\nPath=" + QUrl::toPercentEncoding(file, "/") + "\n"));
    EXPECT_TRUE(info.contains("\nDeletionDate=" + QDate::currentDate().toString(Qt::ISODate).toLatin1()));

    // A second item of the same name must not replace the first one in the trash.
    t.makeFile("odd name %.txt", "second");
    observer.ConfirmAnswers = {true};
    ASSERT_EQ(deleteItems(observer, {file}), FileOpResult::Done);
    EXPECT_EQ(observer.Confirms.last(), QStringLiteral("Move \"odd name %.txt\" to the Trash?"));
    EXPECT_EQ(readAll(trash + QStringLiteral("/files/odd name %.txt")), "trash me");
    EXPECT_EQ(QDir(trash + QStringLiteral("/info")).entryList(QDir::Files).size(),
              QDir(trash + QStringLiteral("/files")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size());
}

TEST(FileOpDelete, declinedConfirmationDeletesNothing)
{
    TempDir t;
    const QString file = t.makeFile("keep", "keep");
    ScriptedObserver observer;
    observer.ConfirmAnswers = {false};
    EXPECT_EQ(deleteItems(observer, {file}), FileOpResult::Aborted);
    EXPECT_EQ(readAll(file), "keep");
}

TEST(FileOpDelete, otherVolumeUsesItsOwnTrashOrAsksBeforeDeletingForGood)
{
    TempDir t;
    const QString volume = t.makeDir("volume");
    DV_SECOND_VOLUME_OR_SKIP(mount, volume, "size=4m");
    const QString uid = QString::number(::geteuid());
    QFile f(volume + QStringLiteral("/a"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write("a") == 1);
    f.close();

    // The volume's own trash, never a copy into the home trash.
    ScriptedObserver trashed;
    trashed.ConfirmAnswers = {true};
    ASSERT_EQ(deleteItems(trashed, {f.fileName()}), FileOpResult::Done);
    EXPECT_EQ(readAll(volume + QStringLiteral("/.Trash-%1/files/a").arg(uid)), "a");
    EXPECT_TRUE(readAll(volume + QStringLiteral("/.Trash-%1/info/a.trashinfo").arg(uid)).contains("\nPath=a\n"));

    // A volume whose trash folder cannot be made: asked once, and "no" keeps the items.
    const QString blocked = volume + QStringLiteral("/blocked");
    QDir().mkpath(blocked);
    TestMount inner = TestMount::Tmpfs(blocked, "size=1m");
    ASSERT_TRUE(inner.ok());
    QFile blocker(blocked + QStringLiteral("/.Trash-") + uid);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    for (const char* name : {"x", "y"}) {
        QFile item(blocked + QLatin1Char('/') + QLatin1String(name));
        ASSERT_TRUE(item.open(QIODevice::WriteOnly));
    }
    const QStringList items{blocked + QStringLiteral("/x"), blocked + QStringLiteral("/y")};
    ScriptedObserver keep;
    keep.ConfirmAnswers = {true, false};
    EXPECT_EQ(deleteItems(keep, items), FileOpResult::Aborted);
    EXPECT_EQ(keep.Confirms.size(), 2);
    EXPECT_TRUE(keep.Confirms[1].contains(QStringLiteral("for good")));
    EXPECT_TRUE(QFile::exists(items[0]) && QFile::exists(items[1]));

    ScriptedObserver gone;
    gone.ConfirmAnswers = {true, true};
    EXPECT_EQ(deleteItems(gone, items), FileOpResult::Done);
    EXPECT_FALSE(QFile::exists(items[0]) || QFile::exists(items[1]));
}

TEST(FileOpDelete, deleteForGoodRemovesWholeTreesWithoutFollowingLinks)
{
    TempDir t;
    t.makeFile("tree/a/b/c", "c");
    const QString precious = t.makeFile("precious/file", "stay");
    QFile::link(t.filePath("precious"), t.filePath("tree/a/link-to-precious"));
    ScriptedObserver observer;
    observer.ConfirmAnswers = {true};
    EXPECT_EQ(deleteItems(observer, {t.filePath("tree")}, false), FileOpResult::Done);
    EXPECT_EQ(observer.Confirms, QStringList{QStringLiteral("Delete \"tree\" for good?")});
    EXPECT_FALSE(QFile::exists(t.filePath("tree")));
    EXPECT_EQ(readAll(precious), "stay");
}

TEST(FileOpDelete, missingItemIsAskedAboutAndTheOthersStillGo)
{
    TempDir t;
    const QString there = t.makeFile("there", "x");
    ScriptedObserver observer;
    observer.ConfirmAnswers = {true};
    observer.ErrorAnswers = {ErrorChoice::Skip};
    EXPECT_EQ(deleteItems(observer, {t.filePath("missing"), there}), FileOpResult::Aborted);
    ASSERT_EQ(observer.Errors.size(), 1);
    EXPECT_TRUE(observer.Errors[0].contains(t.filePath("missing")));
    EXPECT_FALSE(QFile::exists(there));
}

TEST(FileOpDelete, deleteForGoodNeverEntersAnotherMount)
{
    TempDir t;
    const QString keep = t.makeFile("elsewhere/keep.txt", "not part of the tree");
    t.makeFile("tree/own.txt", "goes");
    TestMount bind = TestMount::ReadOnlyBind(t.filePath("elsewhere"), t.makeDir("tree/bound"));
    TestMount tmpfs = TestMount::Tmpfs(t.makeDir("tree/sub/volume"), "size=1m");
    if (!bind.ok() || !tmpfs.ok())
        GTEST_SKIP() << "no mount rights";
    QFile f(t.filePath("tree/sub/volume/data"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write("on its own volume") > 0);
    f.close();
    // Writable, so only the rule keeps the engine out, not the read-only mount.
    ASSERT_EQ(::mount(nullptr, QFile::encodeName(t.filePath("tree/bound")).constData(), nullptr,
                      MS_REMOUNT | MS_BIND, nullptr), 0);

    ScriptedObserver observer;
    observer.ConfirmAnswers = {true};
    observer.ErrorAnswers = {ErrorChoice::Skip, ErrorChoice::Skip};
    EXPECT_EQ(deleteItems(observer, {t.filePath("tree")}, false), FileOpResult::Aborted);
    EXPECT_EQ(readAll(keep), "not part of the tree");
    EXPECT_EQ(readAll(t.filePath("tree/sub/volume/data")), "on its own volume");
    EXPECT_FALSE(QFile::exists(t.filePath("tree/own.txt")));
    ASSERT_EQ(observer.Errors.size(), 2);
    EXPECT_TRUE(observer.Errors[0].contains(QStringLiteral("another file system is mounted on it")));
}

// The mount would travel into the trash, and emptying the trash delete its files.
TEST(FileOpDelete, folderHoldingAMountStaysOutOfTheTrash)
{
    TempDir t;
    t.makeFile("tree/own.txt", "own");
    TestMount tmpfs = TestMount::Tmpfs(t.makeDir("tree/sub/volume"), "size=1m");
    if (!tmpfs.ok())
        GTEST_SKIP() << "no mount rights";
    QFile f(t.filePath("tree/sub/volume/data"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write("on its own volume") > 0);
    f.close();

    ScriptedObserver observer;
    observer.ConfirmAnswers = {true};
    observer.ErrorAnswers = {ErrorChoice::Skip};
    EXPECT_EQ(deleteItems(observer, {t.filePath("tree")}), FileOpResult::Aborted);
    EXPECT_EQ(readAll(t.filePath("tree/own.txt")), "own");
    EXPECT_EQ(readAll(t.filePath("tree/sub/volume/data")), "on its own volume");
    ASSERT_EQ(observer.Errors.size(), 1);
    EXPECT_TRUE(observer.Errors[0].contains(QStringLiteral("another file system is mounted on")));
    EXPECT_TRUE(observer.Errors[0].contains(t.filePath("tree/sub/volume")));
}

TEST(FileOpDelete, trashRecordsTheRawBytesOfNamesThatAreNotUtf8)
{
    TempDir t;
    const QByteArray folder = QFile::encodeName(t.path());
    for (const char* name : {"caf\xE8", "caf\xE9"}) {
        const QByteArray path = folder + '/' + name;
        ::close(::open(path.constData(), O_WRONLY | O_CREAT, 0644));
        ASSERT_EQ(TrashCan::Move(DecodeFileName(path)).Status, TrashCan::Outcome::Trashed);
    }
    QByteArray infos;   // read by bytes: Qt's listing would mangle the names
    const QByteArray infoDir = QFile::encodeName(dataHome()) + "/Trash/info/";
    DIR* dir = ::opendir(infoDir.constData());
    ASSERT_NE(dir, nullptr);
    while (const dirent* entry = ::readdir(dir))
        if (entry->d_name[0] != '.') {
            QFile info;
            const int fd = ::open((infoDir + entry->d_name).constData(), O_RDONLY);
            ASSERT_TRUE(info.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle));
            infos += info.readAll();
        }
    ::closedir(dir);
    for (const char* name : {"caf\xE8", "caf\xE9"}) {   // Qt could not remove them
        ::unlink((infoDir + name + ".trashinfo").constData());
        ::unlink((QFile::encodeName(dataHome()) + "/Trash/files/" + name).constData());
    }
    const QByteArray encoded = folder.toPercentEncoding("/");
    EXPECT_TRUE(infos.contains("Path=" + encoded + "/caf%E8\n"));
    EXPECT_TRUE(infos.contains("Path=" + encoded + "/caf%E9\n"));
}

} // namespace
