// The copy and move engine under faults, driven by a scripted observer: every case
// checks that nothing is lost and no temporary file is left behind.
#include "platform/FileOperationEngine.h"

#include "FileOpTestSupport.h"
#include "support/TempDir.h"

#include <QFileInfo>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct EngineRun {
    ScriptedObserver Observer;
    FileOperationEngine Engine{Observer};

    FileOpResult Go(FileOpKind kind, const QStringList& sources, const QString& target)
    {
        FileOpRequest request;
        request.Kind = kind;
        request.Sources = sources;
        request.Target = target;
        return Engine.Run(request);
    }
};

struct stat lstatOf(const QString& path)
{
    struct stat st {};
    ::lstat(QFile::encodeName(path).constData(), &st);
    return st;
}

TEST(FileOperationEngine, copyKeepsContentModesTimesAndLinksWithoutFollowingThem)
{
    TempDir t;
    t.makeFile("src/tree/a.txt", "alpha");
    t.makeFile("src/tree/sub/b.bin", patterned(3 << 20));
    t.makeFile("outside.txt", "not part of the tree");
    ::chmod(QFile::encodeName(t.filePath("src/tree/a.txt")).constData(), 0640);
    ::chmod(QFile::encodeName(t.filePath("src/tree/sub")).constData(), 0750);
    const QDateTime old = QDateTime::fromSecsSinceEpoch(1'000'000'000);
    t.setModified("src/tree/sub/b.bin", old);
    QFile::link(t.filePath("outside.txt"), t.filePath("src/tree/out-link"));
    QFile::link(QStringLiteral("missing-target"), t.filePath("src/tree/dangling"));
    ::mkfifo(QFile::encodeName(t.filePath("src/tree/pipe")).constData(), 0600);
    t.makeDir("dst");

    EngineRun run;
    EXPECT_EQ(run.Go(FileOpKind::Copy, {t.filePath("src/tree")}, t.filePath("dst")), FileOpResult::Done);
    EXPECT_FALSE(run.Engine.AnyAborted());
    EXPECT_EQ(readAll(t.filePath("dst/tree/a.txt")), "alpha");
    EXPECT_EQ(readAll(t.filePath("dst/tree/sub/b.bin")), patterned(3 << 20));
    EXPECT_EQ(lstatOf(t.filePath("dst/tree/a.txt")).st_mode & 07777, 0640u);
    EXPECT_EQ(lstatOf(t.filePath("dst/tree/sub")).st_mode & 07777, 0750u);
    EXPECT_EQ(QFileInfo(t.filePath("dst/tree/sub/b.bin")).lastModified(), old);
    EXPECT_EQ(QFileInfo(t.filePath("dst/tree/out-link")).symLinkTarget(), t.filePath("outside.txt"));
    EXPECT_TRUE(S_ISLNK(lstatOf(t.filePath("dst/tree/dangling")).st_mode));
    EXPECT_TRUE(S_ISFIFO(lstatOf(t.filePath("dst/tree/pipe")).st_mode));
    EXPECT_EQ(readAll(t.filePath("src/tree/a.txt")), "alpha");
    EXPECT_TRUE(leftovers(t.path()).isEmpty());

    // Totals are known before the work and the end reaches them.
    ASSERT_FALSE(run.Observer.Reports.empty());
    const FileOpProgress& last = run.Observer.Reports.back();
    EXPECT_EQ(last.FilesTotal, 5);
    EXPECT_EQ(last.BytesTotal, 5 + (3 << 20));
    EXPECT_EQ(last.FilesDone, last.FilesTotal);
    EXPECT_EQ(last.BytesDone, last.BytesTotal);
}

TEST(FileOperationEngine, fileThatReportsNoSizeIsStillCopiedWhole)
{
    // /proc files say size 0 and give the kernel copy nothing; reading gives data.
    TempDir t;
    EngineRun run;
    ASSERT_EQ(run.Go(FileOpKind::Copy, {QStringLiteral("/proc/self/mountinfo")}, t.path()), FileOpResult::Done);
    EXPECT_TRUE(readAll(t.filePath("mountinfo")).contains(" / "));
}

TEST(FileOperationEngine, holesOfSparseFilesAreNotFilledNorItsDataLost)
{
    // 64 MiB of which two pieces hold data: one in the middle, one at the end.
    TempDir t;
    const QString source = t.filePath("image.raw");
    const QByteArray middle = patterned(1 << 20);
    {
        QFile f(source);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.seek(32 << 20));
        f.write(middle);
        ASSERT_TRUE(f.seek((64 << 20) - 5));
        f.write("tail!");
    }
    if (int64_t(lstatOf(source).st_blocks) * 512 > (8 << 20))
        GTEST_SKIP() << "this file system keeps no holes";
    t.makeDir("dst");
    EngineRun run;
    ASSERT_EQ(run.Go(FileOpKind::Copy, {source}, t.filePath("dst")), FileOpResult::Done);
    const QString copy = t.filePath("dst/image.raw");
    EXPECT_EQ(readAll(copy), readAll(source));
    EXPECT_LT(int64_t(lstatOf(copy).st_blocks) * 512, 8 << 20);
    ASSERT_FALSE(run.Observer.Reports.empty());     // the holes count as progress too
    EXPECT_EQ(run.Observer.Reports.back().BytesDone, int64_t(64) << 20);
}

TEST(FileOperationEngine, deviceFilesAreNeverRead)
{
    // Reading /dev/zero would never end and fill the target.
    TempDir t;
    EngineRun run;
    run.Observer.ErrorAnswers = {ErrorChoice::Skip};
    EXPECT_EQ(run.Go(FileOpKind::Copy, {QStringLiteral("/dev/zero")}, t.path()), FileOpResult::Aborted);
    ASSERT_EQ(run.Observer.Errors.size(), 1);
    EXPECT_TRUE(run.Observer.Errors[0].contains(QStringLiteral("/dev/zero")));
    EXPECT_TRUE(QDir(t.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot));
}

TEST(FileOperationEngine, eachOverwriteAnswerIsObeyedAndFoldersMerge)
{
    TempDir t;
    for (const char* name : {"1", "2", "3", "4"})
        t.makeFile(QStringLiteral("src/d/%1").arg(name), "new");
    t.makeFile("src/d/only-new", "fresh");
    for (const char* name : {"1", "2", "3", "4"})
        t.makeFile(QStringLiteral("dst/d/%1").arg(name), "older");
    t.makeFile("dst/d/only-old", "kept");
    const QStringList source{t.filePath("src/d")};

    EngineRun yes;   // yes, then no, then yes to all for the rest
    yes.Observer.OverwriteAnswers = {OverwriteChoice::Yes, OverwriteChoice::No, OverwriteChoice::YesToAll};
    EXPECT_EQ(yes.Go(FileOpKind::Copy, source, t.filePath("dst")), FileOpResult::Aborted);
    ASSERT_EQ(yes.Observer.Conflicts.size(), 3u);
    EXPECT_EQ(yes.Observer.Conflicts[0].SourceSize, 3);
    EXPECT_EQ(yes.Observer.Conflicts[0].TargetSize, 5);
    EXPECT_TRUE(yes.Observer.Conflicts[0].TargetPath.startsWith(t.filePath("dst/d/")));
    QStringList kept;
    for (const char* name : {"1", "2", "3", "4"})
        if (readAll(t.filePath("dst/d/") + name) == "older")
            kept << name;
    EXPECT_EQ(kept.size(), 1);
    EXPECT_EQ(readAll(t.filePath("dst/d/only-new")), "fresh");
    EXPECT_EQ(readAll(t.filePath("dst/d/only-old")), "kept");

    for (const char* name : {"1", "2", "3", "4"})
        t.makeFile(QStringLiteral("dst/d/%1").arg(name), "older");
    EngineRun noToAll;
    noToAll.Observer.OverwriteAnswers = {OverwriteChoice::NoToAll};
    EXPECT_EQ(noToAll.Go(FileOpKind::Copy, source, t.filePath("dst")), FileOpResult::Aborted);
    EXPECT_EQ(noToAll.Observer.Conflicts.size(), 1u);
    for (const char* name : {"1", "2", "3", "4"})
        EXPECT_EQ(readAll(t.filePath("dst/d/") + name), "older");

    EngineRun cancel;
    cancel.Observer.OverwriteAnswers = {OverwriteChoice::Cancel};
    EXPECT_EQ(cancel.Go(FileOpKind::Move, source, t.filePath("dst")), FileOpResult::Aborted);
    EXPECT_TRUE(cancel.Engine.AnyAborted());
    EXPECT_EQ(cancel.Observer.Conflicts.size(), 1u);
    for (const char* name : {"1", "2", "3", "4"})
        EXPECT_TRUE(QFile::exists(t.filePath("src/d/") + name));
    EXPECT_TRUE(leftovers(t.path()).isEmpty());
}

TEST(FileOperationEngine, itemIntoItselfOrOntoItselfIsRefusedBeforeAnyWork)
{
    TempDir t;
    t.makeFile("a/b/file", "x");
    t.makeFile("a/f.txt", "x");
    struct Case {
        FileOpKind Kind;
        QStringList Sources;
        QString Target;
    };
    const std::vector<Case> cases = {
        {FileOpKind::Copy, {t.filePath("a")}, t.filePath("a")},
        {FileOpKind::Copy, {t.filePath("a")}, t.filePath("a/b/new/deeper")},
        {FileOpKind::Move, {t.filePath("a/f.txt"), t.filePath("a")}, t.filePath("a/b")},
        {FileOpKind::Copy, {t.filePath("a/f.txt")}, t.filePath("a")},
        {FileOpKind::Copy, {t.filePath("a/b")}, t.filePath("a/./")},
    };
    for (const Case& c : cases) {
        EngineRun run;
        EXPECT_EQ(run.Go(c.Kind, c.Sources, c.Target), FileOpResult::Failed) << c.Target.toStdString();
        EXPECT_EQ(run.Observer.Informs.size(), 1);
    }
    EXPECT_FALSE(QFile::exists(t.filePath("a/a")));
    EXPECT_FALSE(QFile::exists(t.filePath("a/b/new")));
    EXPECT_FALSE(QFile::exists(t.filePath("a/b/f.txt")));
    EXPECT_EQ(readAll(t.filePath("a/f.txt")), "x");
}

TEST(FileOperationEngine, fullTargetStopsAtTheFileAndLeavesNoPartialFile)
{
    for (bool unnamed : {true, false}) {
        SCOPED_TRACE(unnamed ? "unnamed temporary files" : "named temporary files");
        TempDir t;
        t.makeFile("src/small", "small");
        t.makeFile("src/big", patterned(3 << 20));
        t.makeFile("src/zlast", "last");
        const QString target = t.makeDir("full");
        TestMount mount = TestMount::Tmpfs(target, "size=1m");

        EngineRun run;
        run.Engine.SetUnnamedFiles(unnamed);
        // Without mount rights the copier's own fault stands in for the full disk, and
        // a move on one volume would only rename, so it copies instead.
        const FileOpKind kind = mount.ok() ? FileOpKind::Move : FileOpKind::Copy;
        if (!mount.ok())
            run.Engine.Copier().InjectWriteFailure(1 << 20, ENOSPC);
        run.Observer.ErrorAnswers = {ErrorChoice::Retry, ErrorChoice::Skip};
        if (mount.ok())
            run.Observer.ConfirmAnswers = {true};   // "does not fit: move anyway?"
        EXPECT_EQ(run.Go(kind, {t.filePath("src/small"), t.filePath("src/big"), t.filePath("src/zlast")}, target),
                  FileOpResult::Aborted);
        ASSERT_EQ(run.Observer.Errors.size(), 2);
        EXPECT_TRUE(run.Observer.Errors[0].contains(target + QStringLiteral("/big")));
        EXPECT_TRUE(run.Observer.Errors[0].contains(QString::fromLocal8Bit(strerror(ENOSPC))));
        EXPECT_FALSE(QFile::exists(target + QStringLiteral("/big")));
        EXPECT_EQ(readAll(t.filePath("src/big")), patterned(3 << 20));   // its move never finished
        EXPECT_EQ(readAll(target + QStringLiteral("/small")), "small");
        EXPECT_EQ(readAll(target + QStringLiteral("/zlast")), "last");
        EXPECT_EQ(QFile::exists(t.filePath("src/small")), kind == FileOpKind::Copy);
        EXPECT_TRUE(leftovers(target).isEmpty());
    }
}

TEST(FileOperationEngine, copyThatCannotFitIsAskedAboutBeforeAnyWrite)
{
    TempDir t;
    const QString big = t.makeFile("src/big", patterned(3 << 20));
    const QString target = t.makeDir("small");
    TestMount mount = TestMount::Tmpfs(target, "size=1m");
    if (!mount.ok())
        GTEST_SKIP() << "no mount rights for a small volume";

    EngineRun copy;
    copy.Observer.ConfirmAnswers = {false};
    EXPECT_EQ(copy.Go(FileOpKind::Copy, {big}, target), FileOpResult::Aborted);
    EXPECT_EQ(copy.Observer.Confirms,
              QStringList{QStringLiteral("The files need 3 MB but only 1 MB are free on the target. Copy anyway?")});
    EXPECT_TRUE(copy.Observer.Errors.isEmpty());
    EXPECT_TRUE(QDir(target).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot));

    // A move on the target's own volume renames, so it needs no room, even into a
    // folder it merges with.
    t.makeFile("small/from/tree/part", patterned(700 << 10));
    t.makeDir("small/to/tree");
    EngineRun move;
    EXPECT_EQ(move.Go(FileOpKind::Move, {t.filePath("small/from/tree")}, t.filePath("small/to")), FileOpResult::Done);
    EXPECT_TRUE(move.Observer.Confirms.isEmpty());
    EXPECT_EQ(readAll(t.filePath("small/to/tree/part")), patterned(700 << 10));
}

TEST(FileOperationEngine, skipAllAnswersEveryLaterErrorOfTheRun)
{
    TempDir t;
    const QString good = t.makeFile("good", "copied");
    const QString target = t.makeDir("dst");
    EngineRun run;
    run.Observer.ErrorAnswers = {ErrorChoice::SkipAll};
    EXPECT_EQ(run.Go(FileOpKind::Copy, {QStringLiteral("/dev/null"), QStringLiteral("/dev/zero"), good,
                                        QStringLiteral("/dev/full")}, target),
              FileOpResult::Aborted);
    EXPECT_EQ(run.Observer.Errors.size(), 1);
    EXPECT_EQ(readAll(target + QStringLiteral("/good")), "copied");

    // The next run asks again.
    run.Observer.ErrorAnswers = {ErrorChoice::Cancel};
    EXPECT_EQ(run.Go(FileOpKind::Copy, {QStringLiteral("/dev/null"), QStringLiteral("/dev/zero")}, target),
              FileOpResult::Aborted);
    EXPECT_EQ(run.Observer.Errors.size(), 2);
}

TEST(FileOperationEngine, kernelCopyRefusedBetweenTwoVolumesIsNotTriedForEveryFile)
{
    TempDir t;
    const QString from = t.makeDir("from");
    const QString to = t.makeDir("to");
    TestMount a = TestMount::Tmpfs(from, "size=16m");
    TestMount b = TestMount::Tmpfs(to, "size=16m");
    if (!a.ok() || !b.ok())
        GTEST_SKIP() << "no mount rights for two volumes";
    QStringList sources;
    for (int i = 0; i < 4; ++i)
        sources << t.makeFile(QStringLiteral("from/f%1").arg(i), patterned(64 << 10));
    EngineRun run;
    EXPECT_EQ(run.Go(FileOpKind::Copy, sources, to), FileOpResult::Done);
    EXPECT_LE(run.Engine.Copier().KernelRefusals(), 1);
    EXPECT_EQ(readAll(to + QStringLiteral("/f3")), patterned(64 << 10));
}

TEST(FileOperationEngine, readOnlyPlacesAreReportedAndMovesKeepTheirSource)
{
    TempDir t;
    t.makeFile("data/keep.txt", "precious");
    t.makeDir("dst");
    const QString ro = t.makeDir("ro-view");
    TestMount mount = TestMount::ReadOnlyBind(t.filePath("data"), ro);
    if (!mount.ok())
        GTEST_SKIP() << "no mount rights for a read-only view";

    // Writing into a read-only place fails at that file, with the reason.
    EngineRun into;
    into.Observer.ErrorAnswers = {ErrorChoice::Skip};
    EXPECT_EQ(into.Go(FileOpKind::Copy, {t.filePath("dst")}, ro), FileOpResult::Aborted);
    ASSERT_EQ(into.Observer.Errors.size(), 1);
    EXPECT_TRUE(into.Observer.Errors[0].contains(QString::fromLocal8Bit(strerror(EROFS))));

    // A move out of it copies, then cannot remove: the source stays, the copy is whole.
    EngineRun out;
    out.Observer.ErrorAnswers = {ErrorChoice::Skip};
    EXPECT_EQ(out.Go(FileOpKind::Move, {ro + QStringLiteral("/keep.txt")}, t.filePath("dst")), FileOpResult::Aborted);
    ASSERT_EQ(out.Observer.Errors.size(), 1);
    EXPECT_TRUE(out.Observer.Errors[0].startsWith(QStringLiteral("Cannot remove")));
    EXPECT_EQ(readAll(t.filePath("data/keep.txt")), "precious");
    EXPECT_EQ(readAll(t.filePath("dst/keep.txt")), "precious");
}

TEST(FileOperationEngine, sourceDeletedMidRunIsAskedAboutAndTheRestIsCopied)
{
    TempDir t;
    t.makeFile("src/a", "a");
    t.makeFile("src/b", "b");
    t.makeFile("src/c", "c");
    t.makeDir("dst");
    EngineRun run;
    run.Engine.SetProgressInterval(0);
    run.Observer.OnProgress = [&](const FileOpProgress& p) {
        if (p.CurrentFile == t.filePath("src/a"))
            QFile::remove(t.filePath("src/b"));
    };
    run.Observer.ErrorAnswers = {ErrorChoice::Skip};
    EXPECT_EQ(run.Go(FileOpKind::Copy, {t.filePath("src/a"), t.filePath("src/b"), t.filePath("src/c")},
                     t.filePath("dst")),
              FileOpResult::Aborted);
    ASSERT_EQ(run.Observer.Errors.size(), 1);
    EXPECT_TRUE(run.Observer.Errors[0].contains(t.filePath("src/b")));
    EXPECT_TRUE(run.Observer.Errors[0].contains(QString::fromLocal8Bit(strerror(ENOENT))));
    EXPECT_EQ(readAll(t.filePath("dst/a")), "a");
    EXPECT_EQ(readAll(t.filePath("dst/c")), "c");
    EXPECT_FALSE(QFile::exists(t.filePath("dst/b")));
}

TEST(FileOperationEngine, cancelMidFileLeavesFinishedFilesWholeAndNoPartialFile)
{
    TempDir t;
    t.makeFile("src/1-first", "done before the cancel");
    t.makeFile("src/2-big", patterned(32 << 20));
    int serial = 0;
    for (FileOpKind kind : {FileOpKind::Copy, FileOpKind::Move}) {
        for (bool unnamed : {true, false}) {
            SCOPED_TRACE(unnamed ? "unnamed temporary files" : "named temporary files");
            const QString target = t.makeDir(QStringLiteral("dst%1").arg(++serial));
            TestMount mount = TestMount::Tmpfs(target, "size=64m");   // makes the move cross volumes
            if (kind == FileOpKind::Move && !mount.ok())
                continue;   // a move on one volume is a rename, with no file to cancel in
            EngineRun run;
            run.Engine.SetUnnamedFiles(unnamed);
            run.Engine.SetProgressInterval(0);
            run.Observer.OnProgress = [&](const FileOpProgress& p) {
                if (p.CurrentFile.endsWith(QLatin1String("2-big")) && p.BytesDone > 30)
                    run.Observer.Cancel = true;
            };
            EXPECT_EQ(run.Go(kind, {t.filePath("src/1-first"), t.filePath("src/2-big")}, target), FileOpResult::Aborted);
            EXPECT_EQ(readAll(target + QStringLiteral("/1-first")), "done before the cancel");
            EXPECT_FALSE(QFile::exists(target + QStringLiteral("/2-big")));
            EXPECT_EQ(QFileInfo(t.filePath("src/2-big")).size(), 32 << 20);
            EXPECT_TRUE(leftovers(target).isEmpty());
            if (kind == FileOpKind::Move)   // the finished file's move is complete
                t.makeFile("src/1-first", "done before the cancel");
        }
    }
}

TEST(FileOperationEngine, moveAcrossVolumesKeepsEverythingAndRemovesTheSource)
{
    TempDir t;
    const QString volume = t.makeDir("volume");
    DV_SECOND_VOLUME_OR_SKIP(mount, volume, "size=16m");
    QDir().mkpath(volume + QStringLiteral("/tree/sub"));
    QFile f(volume + QStringLiteral("/tree/sub/data"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(patterned(2 << 20));
    f.close();
    ::chmod(QFile::encodeName(f.fileName()).constData(), 0604);
    const QDateTime old = QDateTime::fromSecsSinceEpoch(1'200'000'000);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite) && f.setFileTime(old, QFileDevice::FileModificationTime));
    f.close();
    QFile::link(QStringLiteral("sub/data"), volume + QStringLiteral("/tree/link"));
    t.makeDir("dst");

    EngineRun run;
    EXPECT_EQ(run.Go(FileOpKind::Move, {volume + QStringLiteral("/tree")}, t.filePath("dst")), FileOpResult::Done);
    EXPECT_FALSE(QFile::exists(volume + QStringLiteral("/tree")));
    EXPECT_EQ(readAll(t.filePath("dst/tree/sub/data")), patterned(2 << 20));
    EXPECT_EQ(lstatOf(t.filePath("dst/tree/sub/data")).st_mode & 07777, 0604u);
    EXPECT_EQ(QFileInfo(t.filePath("dst/tree/sub/data")).lastModified(), old);
    EXPECT_EQ(QFileInfo(t.filePath("dst/tree/link")).symLinkTarget(), t.filePath("dst/tree/sub/data"));

    // On one volume a move is a rename: the very same file, nothing copied.
    const ino_t inode = lstatOf(t.filePath("dst/tree/sub/data")).st_ino;
    t.makeDir("again");
    EngineRun rename;
    EXPECT_EQ(rename.Go(FileOpKind::Move, {t.filePath("dst/tree")}, t.filePath("again")), FileOpResult::Done);
    EXPECT_EQ(lstatOf(t.filePath("again/tree/sub/data")).st_ino, inode);
}

TEST(FileOperationEngine, renameRefusesAnExistingNameAndReportsAMissingSource)
{
    TempDir t;
    t.makeFile("old", "old");
    t.makeFile("taken", "taken");
    EngineRun clash;
    EXPECT_EQ(clash.Go(FileOpKind::Rename, {t.filePath("old")}, t.filePath("taken")), FileOpResult::Failed);
    EXPECT_EQ(clash.Observer.Informs.size(), 1);
    EXPECT_EQ(readAll(t.filePath("old")), "old");
    EXPECT_EQ(readAll(t.filePath("taken")), "taken");

    EngineRun ok;
    EXPECT_EQ(ok.Go(FileOpKind::Rename, {t.filePath("old")}, t.filePath("new")), FileOpResult::Done);
    EXPECT_EQ(readAll(t.filePath("new")), "old");

    EngineRun missing;
    missing.Observer.ErrorAnswers = {ErrorChoice::Skip};
    EXPECT_EQ(missing.Go(FileOpKind::Rename, {t.filePath("gone")}, t.filePath("other")), FileOpResult::Aborted);
    ASSERT_EQ(missing.Observer.Errors.size(), 1);
    EXPECT_TRUE(missing.Observer.Errors[0].contains(QString::fromLocal8Bit(strerror(ENOENT))));
}

// ---- nothing lost when sources change, disks fail to flush or trees run deep ----

TEST(FileOperationEngine, sourceChangedDuringTheWorkIsKeptAndReported)
{
    TempDir t;
    const QString volume = t.makeDir("volume");
    DV_SECOND_VOLUME_OR_SKIP(mount, volume, "size=80m");
    const QByteArray old = patterned(32 << 20);
    const QString report = t.makeFile("report.txt", old);

    // An editor saves a new version by renaming it over the name while the move copies.
    EngineRun move;
    move.Engine.SetProgressInterval(0);
    bool saved = false;
    move.Observer.OnProgress = [&](const FileOpProgress& p) {
        if (!saved && p.BytesDone > 0) {
            saved = true;
            t.makeFile(".t", "v2");
            ::rename(QFile::encodeName(t.filePath(".t")).constData(), QFile::encodeName(report).constData());
        }
    };
    move.Observer.ErrorAnswers = {ErrorChoice::Skip};
    EXPECT_EQ(move.Go(FileOpKind::Move, {report}, volume), FileOpResult::Aborted);
    EXPECT_EQ(readAll(report), "v2");
    EXPECT_EQ(readAll(volume + QStringLiteral("/report.txt")), old);
    ASSERT_EQ(move.Observer.Errors.size(), 1);
    EXPECT_TRUE(move.Observer.Errors[0].contains(QStringLiteral("changed while it was being moved")));

    // Written to while it is read: neither a move nor a copy calls that copy done.
    for (FileOpKind kind : {FileOpKind::Move, FileOpKind::Copy}) {
        t.makeFile("log.txt", old);
        QFile::remove(volume + QStringLiteral("/log.txt"));
        EngineRun run;
        run.Engine.SetProgressInterval(0);
        bool written = false;
        run.Observer.OnProgress = [&](const FileOpProgress& p) {
            if (!written && p.BytesDone > 0) {
                written = true;
                QFile f(t.filePath("log.txt"));
                ASSERT_TRUE(f.open(QIODevice::Append));
                f.write("one more line\n");
            }
        };
        run.Observer.ErrorAnswers = {ErrorChoice::Skip};
        EXPECT_EQ(run.Go(kind, {t.filePath("log.txt")}, volume), FileOpResult::Aborted);
        EXPECT_EQ(readAll(t.filePath("log.txt")), old + "one more line\n");
        EXPECT_FALSE(QFile::exists(volume + QStringLiteral("/log.txt")));
        ASSERT_EQ(run.Observer.Errors.size(), 1);
        EXPECT_TRUE(run.Observer.Errors[0].contains(QStringLiteral("changed while it was being read")));
        EXPECT_TRUE(leftovers(volume).isEmpty());
    }
}

// Tools that restore a file's time after writing it (cp -p, rsync -t, tar x) leave only
// its change time to tell that it is no longer what the move copied.
TEST(FileOperationEngine, sourceRewrittenInPlaceWithItsTimeRestoredIsKept)
{
    TempDir t;
    const QString volume = t.makeDir("volume");
    DV_SECOND_VOLUME_OR_SKIP(mount, volume, "size=80m");
    const QByteArray old = patterned(1 << 20);
    const QString db = t.makeFile("a.db", old);
    t.makeFile("b.big", patterned(32 << 20));

    EngineRun move;
    move.Engine.SetProgressInterval(0);
    bool rewritten = false;
    move.Observer.OnProgress = [&](const FileOpProgress& p) {
        if (rewritten || p.BytesDone <= old.size())
            return;   // a.db is copied and waits for its removal while b.big is copied
        rewritten = true;
        const struct stat before = lstatOf(db);
        const int fd = ::open(QFile::encodeName(db).constData(), O_WRONLY);
        ASSERT_EQ(::pwrite(fd, "new", 3, 0), 3);
        const struct timespec times[2] = {before.st_atim, before.st_mtim};
        ::futimens(fd, times);
        ::close(fd);
    };
    move.Observer.ErrorAnswers = {ErrorChoice::Skip};
    EXPECT_EQ(move.Go(FileOpKind::Move, {db, t.filePath("b.big")}, volume), FileOpResult::Aborted);
    ASSERT_TRUE(rewritten);
    EXPECT_TRUE(readAll(db).startsWith("new"));
    EXPECT_EQ(readAll(volume + QStringLiteral("/a.db")), old);
    EXPECT_FALSE(QFile::exists(t.filePath("b.big")));
    ASSERT_EQ(move.Observer.Errors.size(), 1);
    EXPECT_TRUE(move.Observer.Errors[0].contains(QStringLiteral("changed while it was being moved")));
}

// Removing one name of a hard-linked file changes the change time of the others.
TEST(FileOperationEngine, everyNameOfAHardLinkedFileIsMoved)
{
    TempDir t;
    const QString volume = t.makeDir("volume");
    DV_SECOND_VOLUME_OR_SKIP(mount, volume, "size=4m");
    const QString one = t.makeFile("tree/one", "shared");
    ASSERT_EQ(::link(QFile::encodeName(one).constData(), QFile::encodeName(t.filePath("tree/two")).constData()), 0);
    EngineRun move;
    EXPECT_EQ(move.Go(FileOpKind::Move, {t.filePath("tree")}, volume), FileOpResult::Done);
    EXPECT_FALSE(QFile::exists(t.filePath("tree")));
    EXPECT_EQ(readAll(volume + QStringLiteral("/tree/two")), "shared");
}

TEST(FileOperationEngine, movedSourcesStayUntilTheirCopiesAreFlushed)
{
    TempDir t;
    const QString volume = t.makeDir("volume");
    DV_SECOND_VOLUME_OR_SKIP(mount, volume, "size=16m");
    t.makeFile("tree/a", "alpha");
    t.makeFile("tree/sub/b", "beta");
    EngineRun run;
    run.Engine.InjectSyncFailure(EIO);
    run.Observer.ErrorAnswers = {ErrorChoice::Skip};
    EXPECT_EQ(run.Go(FileOpKind::Move, {t.filePath("tree")}, volume), FileOpResult::Aborted);
    EXPECT_EQ(readAll(t.filePath("tree/a")), "alpha");
    EXPECT_EQ(readAll(t.filePath("tree/sub/b")), "beta");
    EXPECT_EQ(readAll(volume + QStringLiteral("/tree/sub/b")), "beta");
    ASSERT_EQ(run.Observer.Errors.size(), 1);
    EXPECT_TRUE(run.Observer.Errors[0].contains(QStringLiteral("reached the disk")));
}

// Folders nested `depth` deep below `top`, each named "d", with a file at the bottom.
void makeDeepTree(const QString& top, int depth, const QByteArray& content)
{
    int fd = ::open(QFile::encodeName(top).constData(), O_RDONLY | O_DIRECTORY);
    for (int level = 0; level < depth; ++level) {
        ::mkdirat(fd, "d", 0755);
        const int next = ::openat(fd, "d", O_RDONLY | O_DIRECTORY);
        ::close(fd);
        fd = next;
    }
    const int file = ::openat(fd, "bottom", O_WRONLY | O_CREAT, 0644);
    ASSERT_EQ(::write(file, content.data(), size_t(content.size())), content.size());
    ::close(file);
    ::close(fd);
}

QByteArray readDeepTree(const QString& top, int depth)
{
    int fd = ::open(QFile::encodeName(top).constData(), O_RDONLY | O_DIRECTORY);
    for (int level = 0; level < depth && fd >= 0; ++level) {
        const int next = ::openat(fd, "d", O_RDONLY | O_DIRECTORY);
        ::close(fd);
        fd = next;
    }
    char buffer[64] = {};
    const int file = fd >= 0 ? ::openat(fd, "bottom", O_RDONLY) : -1;
    const ssize_t n = file >= 0 ? ::read(file, buffer, sizeof buffer) : -1;
    ::close(file);
    ::close(fd);
    return n < 0 ? QByteArray("<missing>") : QByteArray(buffer, int(n));
}

TEST(FileOperationEngine, treesThousandsOfLevelsDeepNeedFewDescriptors)
{
    constexpr int kDepth = 2000;
    TempDir t;
    makeDeepTree(t.makeDir("src"), kDepth, "deep");
    t.makeDir("copy");
    struct rlimit old;
    ::getrlimit(RLIMIT_NOFILE, &old);
    struct rlimit low = old;
    low.rlim_cur = 256;
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &low), 0);
    EngineRun copy;
    EXPECT_EQ(copy.Go(FileOpKind::Copy, {t.filePath("src/d")}, t.filePath("copy")), FileOpResult::Done);
    EXPECT_EQ(copy.Observer.Reports.back().FilesDone, 1);
    EXPECT_EQ(readDeepTree(t.filePath("copy"), kDepth), "deep");

    const QString volume = t.makeDir("volume");
    TestMount mount = TestMount::Tmpfs(volume, "size=64m,nr_inodes=10000");
    if (mount.ok()) {
        EngineRun move;
        EXPECT_EQ(move.Go(FileOpKind::Move, {t.filePath("copy/d")}, volume), FileOpResult::Done);
        EXPECT_EQ(readDeepTree(volume, kDepth), "deep");
        EXPECT_FALSE(QFile::exists(t.filePath("copy/d")));
    }
    ScriptedObserver observer;
    observer.ConfirmAnswers = {true};
    FileOperationEngine engine(observer);
    FileOpRequest request;
    request.Kind = FileOpKind::Delete;
    request.Sources = {t.filePath("src/d")};
    if (!mount.ok())
        request.Sources << t.filePath("copy/d");
    request.UseTrash = false;
    EXPECT_EQ(engine.Run(request), FileOpResult::Done);
    EXPECT_FALSE(QFile::exists(t.filePath("src/d")));
    EXPECT_FALSE(QFile::exists(t.filePath("copy/d")));
    ::setrlimit(RLIMIT_NOFILE, &old);
}

TEST(FileOperationEngine, leftoverOfAKilledCopyGoesWhenTheSameNameIsCopiedAgain)
{
    TempDir t;
    t.makeFile("src/a.txt", "alpha");
    const QString stale = t.makeFile("dst/.a.txt.dvpart-abcDEF", "half a copy");
    const QString otherName = t.makeFile("dst/.b.txt.dvpart-abcDEF", "half of another");
    const QString underWay = t.makeFile("dst/.a.txt.dvpart-xyzXYZ", "being written");
    const int busy = ::open(QFile::encodeName(underWay).constData(), O_RDONLY);
    ASSERT_EQ(::flock(busy, LOCK_EX), 0);   // as a copy still running holds it
    for (bool unnamed : {true, false}) {
        EngineRun run;
        run.Engine.SetUnnamedFiles(unnamed);
        run.Observer.OverwriteAnswers = {OverwriteChoice::Yes};
        EXPECT_EQ(run.Go(FileOpKind::Copy, {t.filePath("src/a.txt")}, t.filePath("dst")), FileOpResult::Done);
        EXPECT_FALSE(QFile::exists(stale));
        EXPECT_TRUE(QFile::exists(otherName));
        EXPECT_TRUE(QFile::exists(underWay));
        EXPECT_EQ(readAll(t.filePath("dst/a.txt")), "alpha");
        t.makeFile("dst/.a.txt.dvpart-abcDEF", "half a copy");
    }
    ::close(busy);
}

} // namespace
