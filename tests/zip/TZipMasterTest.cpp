// The zip component over the real libraries built beside the program: what it reports
// and how, the records it hands over, adding, deleting and extracting, passwords, the
// self-extractor, and the file operations of a pane inside a zip.
#include "zip/TZipMaster.h"
#include "zip/ZipCommandRecords.h"
#include "zip/ZipBatchExtractor.h"
#include "zip/ZipFileCommands.h"
#include "zip/ZipMessageTable.h"
#include "zip/ZipVolumeSet.h"
#include "platform/TMessages.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <algorithm>
#include <fcntl.h>
#include <future>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool run(const QString& folder, const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(program, arguments);
    return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList names(const TZipMaster& zip)
{
    QStringList result;
    for (int i = 0; i < zip.EntryCount(); ++i)
        result << zip.Entry(i).FileName;
    result.sort();
    return result;
}

class ZipMasterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TMessages::SetResponder([this](const MessageRequest& r) {
            shown << r.text;
            return answer;
        });
        zip.SetDLLDirectory(QStringLiteral(DV_PROGRAM_DIR "/"));
        zip.OnMessage = [this](int code, const QString& text) { messages << QString::number(code) + ":" + text; };
        zip.AddOptions = AddOpt::AddDirNames | AddOpt::AddRecurseDirs;
        zip.ExtrOptions = ExtrOpt::ExtrDirNames;
        dir.makeFile(QStringLiteral("src/a.txt"), QByteArray("alpha\n").repeated(500));
        dir.makeFile(QStringLiteral("src/docs/b.txt"), "beta");
    }
    void TearDown() override { TMessages::SetResponder({}); }

    // Adds the two files of src/ to `name` with the component.
    void addSources(const QString& name)
    {
        const QString previous = QDir::currentPath();
        QDir::setCurrent(dir.filePath(QStringLiteral("src")));
        zip.SetZipFileName(dir.filePath(name));
        zip.FSpecArgs = {QStringLiteral("a.txt"), QStringLiteral("docs/*.*")};
        zip.AddFiles();
        QDir::setCurrent(previous);
    }

    TempDir dir;
    TZipMaster zip;
    QStringList shown;
    QStringList messages;
    MsgResult answer = MsgResult::Ok;
};

TEST_F(ZipMasterTest, reportsGoThroughOneRoutine)
{
    // A missing archive lists empty and says nothing.
    zip.SetZipFileName(dir.filePath(QStringLiteral("none.zip")));
    EXPECT_EQ(zip.EntryCount(), 0);
    EXPECT_TRUE(shown.isEmpty());

    // Nothing to add: the message, and the library is not even looked for.
    zip.SetDLLDirectory(dir.filePath(QStringLiteral("nowhere")));
    zip.AddFiles();
    ASSERT_EQ(shown, QStringList{QStringLiteral("Error - no files to zip!")});
    EXPECT_EQ(messages, QStringList{QStringLiteral("0:Error - no files to zip!")});
    EXPECT_EQ(zip.LastError(), 10301);

    // A text file is no archive; unattended, only OnMessage hears it.
    dir.makeFile(QStringLiteral("not.zip"), "plain text, not a zip archive at all");
    zip.Unattended = true;
    zip.SetZipFileName(dir.filePath(QStringLiteral("not.zip")));
    EXPECT_EQ(shown.size(), 1);
    EXPECT_EQ(zip.LastMessage(), QStringLiteral("This archive is not a valid Zip archive"));
    EXPECT_EQ(ZipMessageTable::Text(99999),
              QStringLiteral("ZipMsgXX.res is probably not linked to the executable\nMissing String ID is: 99999"));
}

TEST_F(ZipMasterTest, missingLibraryIsNamed)
{
    QDir::setCurrent(dir.path());
    zip.SetDLLDirectory(dir.filePath(QStringLiteral("nowhere")));
    zip.SetZipFileName(dir.filePath(QStringLiteral("new.zip")));
    zip.FSpecArgs = {QStringLiteral("src/a.txt")};
    zip.AddFiles();
    // The test program has no libraries beside it and none is on the search path.
    EXPECT_EQ(shown.value(0), QStringLiteral("ZIPDLL.DLL not found!"));
    EXPECT_TRUE(zip.FSpecArgs.isEmpty());
}

TEST_F(ZipMasterTest, recordsCarryOptionsAndMarks)
{
    const AddStoreExts allButExe = AddStoreExts::fromInt(0x7FF);
    EXPECT_EQ(ZipCommandRecords::StoreSuffixText(allButExe),
              QStringLiteral(".gif:.png:.z:.zip:.zoo:.arc:.lzh:.arj:.taz:.tgz:.lha"));
    ZipCommandRecords records;
    ZipAddRequest request;
    request.Options = AddOpt::AddDirNames | AddOpt::AddFreshen | AddOpt::AddUpdate;
    request.FileSpecs = {QStringLiteral(">deep"), QStringLiteral("|flat"), QStringLiteral("own<secret"), QStringLiteral("open<")};
    const ZipAddCommand& add = records.BuildAdd(request);
    EXPECT_EQ(add.Version, 160);
    EXPECT_EQ(add.Seven, 7);
    EXPECT_EQ(add.Freshen, 0);   // update wins
    EXPECT_EQ(add.Update, -1);
    EXPECT_EQ(add.JunkDirNames, 0);
    EXPECT_EQ(add.Grow, -1);
    ASSERT_EQ(add.SpecCount, 4);
    EXPECT_STREQ(add.FileSpecs[0].FileSpec, "deep");
    EXPECT_EQ(add.FileSpecs[0].Recurse, -1);
    EXPECT_EQ(add.FileSpecs[1].Recurse, 0);
    EXPECT_STREQ(add.FileSpecs[2].FileSpec, "own");
    EXPECT_STREQ(add.FileSpecs[2].Password, "secret");
    EXPECT_EQ(add.FileSpecs[3].Encrypt, ZSE_NONE);
}

TEST_F(ZipMasterTest, addExtractDeleteRoundTrip)
{
    addSources(QStringLiteral("t.zip"));
    EXPECT_EQ(zip.FilesDone(), 2);
    EXPECT_EQ(names(zip), (QStringList{QStringLiteral("a.txt"), QStringLiteral("docs/b.txt")}));
    EXPECT_TRUE(run(dir.path(), QStringLiteral("unzip"), {QStringLiteral("-tq"), QStringLiteral("t.zip")}));

    zip.ExtrBaseDir = dir.makeDir(QStringLiteral("out"));
    zip.ExtractFiles();
    EXPECT_EQ(zip.FilesDone(), 2);
    EXPECT_EQ(contentOf(dir.filePath(QStringLiteral("out/docs/b.txt"))), QByteArray("beta"));

    answer = MsgResult::No;   // the erase question refused: nothing goes
    zip.FSpecArgs = {QStringLiteral("docs/*.*")};
    zip.Delete();
    EXPECT_EQ(zip.EntryCount(), 2);
    answer = MsgResult::Yes;
    zip.FSpecArgs = {QStringLiteral("docs/*.*")};
    zip.Delete();
    EXPECT_EQ(names(zip), QStringList{QStringLiteral("a.txt")});
}

TEST_F(ZipMasterTest, passwordsAskedConfirmedAndKeptForOneOperation)
{
    QStringList prompts;
    QStringList answers = {QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("pw"), QStringLiteral("pw"),
                           QStringLiteral("wrong"), QStringLiteral("pw")};
    zip.AskPassword = [&](const QString&, const QString& prompt) -> std::optional<QString> {
        prompts << prompt;
        return answers.isEmpty() ? std::nullopt : std::optional<QString>(answers.takeFirst());
    };
    zip.AddOptions |= AddOpt::AddEncrypt;
    addSources(QStringLiteral("first.zip"));   // "one" and "two" differ: no password, nothing added
    EXPECT_TRUE(shown.contains(QStringLiteral("Error - passwords do NOT match\nPassword ignored")));
    EXPECT_EQ(zip.FilesDone(), 0);
    addSources(QStringLiteral("e.zip"));
    EXPECT_EQ(zip.FilesDone(), 2);
    EXPECT_TRUE(zip.Password().isEmpty());   // only for that operation
    EXPECT_TRUE(run(dir.path(), QStringLiteral("unzip"), {QStringLiteral("-tq"), QStringLiteral("-P"), QStringLiteral("pw"), QStringLiteral("e.zip")}));
    EXPECT_TRUE(zip.Entry(0).Encrypted);

    zip.SetPasswordReqCount(3);
    zip.ExtrBaseDir = dir.makeDir(QStringLiteral("out"));
    zip.FSpecArgs = {QStringLiteral("a.txt")};
    zip.ExtractFiles();   // "wrong", then "pw"
    EXPECT_EQ(zip.FilesDone(), 1);
    EXPECT_EQ(contentOf(dir.filePath(QStringLiteral("out/a.txt"))), QByteArray("alpha\n").repeated(500));
    EXPECT_EQ(prompts.count(QStringLiteral("Confirm Password ")), 2);
}

TEST_F(ZipMasterTest, selfExtractorFromZipAndAutomaticExe)
{
    dir.makeFile(QStringLiteral("a.rar"), "Rar!");
    zip.SetZipFileName(dir.filePath(QStringLiteral("a.rar")));
    shown.clear();
    EXPECT_LT(zip.ConvertToSfx(), 0);
    EXPECT_EQ(shown.value(0), QStringLiteral("Error: input file is not a zip file"));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("a.exe"))));

    addSources(QStringLiteral("a.zip"));
    const qint64 archiveSize = QFileInfo(dir.filePath(QStringLiteral("a.zip"))).size();
    zip.HowToDelete = DeleteOpts::htdFinal;
    ASSERT_EQ(zip.ConvertToSfx(), 0);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("a.zip"))));
    EXPECT_EQ(zip.ZipFileName(), dir.filePath(QStringLiteral("a.exe")));
    EXPECT_EQ(zip.EntryCount(), 2);
    EXPECT_GT(QFileInfo(zip.ZipFileName()).size(), archiveSize);
    EXPECT_TRUE(QFileInfo(zip.ZipFileName()).isExecutable());

    // A zip named like a program starts as a self-extractor holding nothing.
    addSources(QStringLiteral("b.exe"));
    EXPECT_EQ(zip.FilesDone(), 2);
    EXPECT_TRUE(run(dir.path(), QStringLiteral("unzip"), {QStringLiteral("-tq"), QStringLiteral("b.exe")}));
    const QString out = dir.makeDir(QStringLiteral("sfxout"));
    QProcess sfx;
    sfx.start(dir.filePath(QStringLiteral("b.exe")), {out});
    sfx.closeWriteChannel();
    ASSERT_TRUE(sfx.waitForFinished(30000)) << sfx.errorString().toStdString() << QFileInfo(dir.filePath(QStringLiteral("b.exe"))).permissions();
    EXPECT_EQ(sfx.exitCode(), 0) << sfx.readAll().toStdString();
    EXPECT_EQ(contentOf(out + QStringLiteral("/docs/b.txt")), QByteArray("beta"));
}

TEST_F(ZipMasterTest, spannedSetReadThroughItsVolumes)
{
    QByteArray noise(300000, Qt::Uninitialized);
    for (int i = 0; i < noise.size(); ++i)
        noise[i] = char((i * 7919) ^ (i >> 5));
    dir.makeFile(QStringLiteral("r.bin"), noise);
    ASSERT_TRUE(run(dir.path(), QStringLiteral("zip"), {"-q", "-0", "-s", "64k", "set.zip", "r.bin"}));

    zip.SetZipFileName(dir.filePath(QStringLiteral("set.z01")));   // the first volume, not the last
    EXPECT_EQ(zip.LastMessage(), QStringLiteral("This is the first file in a backup set,\nplease choose the last file of this set"));

    zip.SetZipFileName(dir.filePath(QStringLiteral("set.zip")));
    ASSERT_EQ(names(zip), QStringList{QStringLiteral("r.bin")});
    zip.ExtrBaseDir = dir.makeDir(QStringLiteral("out"));
    zip.ExtractFiles();
    EXPECT_EQ(contentOf(dir.filePath(QStringLiteral("out/r.bin"))), noise);

    // A volume that is missing is asked for; giving up cancels.
    QFile::rename(dir.filePath(QStringLiteral("set.z02")), dir.filePath(QStringLiteral("away")));
    shown.clear();
    answer = MsgResult::Cancel;
    zip.SetZipFileName(dir.filePath(QStringLiteral("set.zip")));
    EXPECT_EQ(zip.EntryCount(), 0);
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown[0], QStringLiteral("Please insert disk volume 2 of 5\nin drive: ") + dir.path());
    EXPECT_EQ(shown[1], QStringLiteral("User canceled operation"));
}

TEST_F(ZipMasterTest, memberNotUtf8ExtractedByTheNameListed)
{
    const QString script = QStringLiteral(
        "import zipfile\n"
        "with zipfile.ZipFile('raw.zip', 'w') as z: z.writestr('dir/cafX.txt', 'bytes')\n"
        "d = bytearray(open('raw.zip', 'rb').read())\n"
        "open('raw.zip', 'wb').write(d.replace(b'cafX', b'caf\\x82'))\n");
    ASSERT_TRUE(run(dir.path(), QStringLiteral("python3"), {QStringLiteral("-c"), script}));
    zip.SetZipFileName(dir.filePath(QStringLiteral("raw.zip")));
    ASSERT_EQ(zip.EntryCount(), 1);
    zip.ExtrBaseDir = dir.makeDir(QStringLiteral("out"));
    zip.ExtrOptions = {};
    zip.FSpecArgs = {zip.Entry(0).FileName};
    zip.ExtractFiles();
    EXPECT_EQ(zip.FilesDone(), 1) << zip.Entry(0).FileName.toStdString();
}

TEST_F(ZipMasterTest, archiveSwappedFromInsideACallback)
{
    addSources(QStringLiteral("other.zip"));
    const QByteArray other = contentOf(dir.filePath(QStringLiteral("other.zip")));
    // A self-extractor: the add's result is written back under the component's name.
    addSources(QStringLiteral("s.exe"));
    ASSERT_EQ(zip.EntryCount(), 2);
    dir.makeFile(QStringLiteral("src/c.txt"), "gamma");
    zip.OnProgress = [this](int, const QString&, qint64) {
        zip.SetZipFileName(dir.filePath(QStringLiteral("other.zip")));
        zip.FSpecArgs = {QStringLiteral("*.*")};
        zip.ExtractFiles();
    };
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.filePath(QStringLiteral("src")));
    zip.FSpecArgs = {QStringLiteral("c.txt")};
    zip.AddFiles();
    QDir::setCurrent(previous);
    zip.OnProgress = nullptr;

    EXPECT_EQ(zip.ZipFileName(), dir.filePath(QStringLiteral("s.exe")));
    EXPECT_EQ(contentOf(dir.filePath(QStringLiteral("other.zip"))), other);
    EXPECT_EQ(names(zip), (QStringList{QStringLiteral("a.txt"), QStringLiteral("c.txt"), QStringLiteral("docs/b.txt")}));
}

TEST_F(ZipMasterTest, stubTakenFromTheCurrentFolder)
{
    addSources(QStringLiteral("a.zip"));
    dir.makeFile(QStringLiteral("cwd/ZIPSFX.BIN"), "planted");
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.filePath(QStringLiteral("cwd")));
    zip.SetDLLDirectory(dir.filePath(QStringLiteral("nowhere")));
    zip.SFXPath = QStringLiteral("ZIPSFX.BIN");
    zip.HowToDelete = DeleteOpts::htdFinal;
    const int code = zip.ConvertToSfx();
    QDir::setCurrent(previous);
    EXPECT_EQ(code, -ZipMessageTable::SfxStubNotFound);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("a.exe"))));
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("a.zip"))));
}

TEST_F(ZipMasterTest, existingExeGoesBeforeItsReplacementIsComplete)
{
    dir.makeFile(QStringLiteral("d.zip"), "not an archive");
    dir.makeFile(QStringLiteral("d.exe"), "the user's program");
    zip.Unattended = true;
    zip.HowToDelete = DeleteOpts::htdFinal;
    zip.SetZipFileName(dir.filePath(QStringLiteral("d.zip")));
    EXPECT_LT(zip.ConvertToSfx(), 0);
    EXPECT_EQ(contentOf(dir.filePath(QStringLiteral("d.exe"))), QByteArray("the user's program"));
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("d.zip"))));

    // Complete, it does replace the old one.
    QFile::remove(dir.filePath(QStringLiteral("d.zip")));
    addSources(QStringLiteral("d.zip"));
    ASSERT_EQ(zip.ConvertToSfx(), 0);
    EXPECT_TRUE(run(dir.path(), QStringLiteral("unzip"), {QStringLiteral("-tq"), QStringLiteral("d.exe")}));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("d.zip"))));
}

class ZipSpannedSetTest : public ZipMasterTest {
protected:
    void SetUp() override
    {
        ZipMasterTest::SetUp();
        QByteArray noise(300000, Qt::Uninitialized);
        for (int i = 0; i < noise.size(); ++i)
            noise[i] = char((i * 7919) ^ (i >> 5));
        dir.makeFile(QStringLiteral("r.bin"), noise);
        ASSERT_TRUE(run(dir.path(), QStringLiteral("zip"), {"-q", "-0", "-s", "64k", "set.zip", "r.bin"}));
        joined = dir.filePath(QStringLiteral("joined.zip"));
    }
    int join() const { return ZipVolumeSet::Join(dir.filePath(QStringLiteral("set.zip")), 5, joined, {}); }

    QString joined;
};

TEST_F(ZipSpannedSetTest, fifoVolumeHangsTheJoin)
{
    const QByteArray volume = QFile::encodeName(dir.filePath(QStringLiteral("set.z02")));
    ASSERT_EQ(::unlink(volume.constData()), 0);
    ASSERT_EQ(::mkfifo(volume.constData(), 0600), 0);
    auto joining = std::async(std::launch::async, [this] { return join(); });
    if (joining.wait_for(std::chrono::seconds(30)) != std::future_status::ready) {
        // Whoever waits for a writer gets one, so the test ends.
        ::close(::open(volume.constData(), O_WRONLY | O_NONBLOCK));
        ADD_FAILURE() << "the join waited on a FIFO";
    }
    EXPECT_EQ(joining.get(), ZipMessageTable::CannotOpen);
}

TEST_F(ZipSpannedSetTest, shortVolumeJoinedAsGood)
{
    ASSERT_EQ(join(), 0);
    ASSERT_TRUE(QFile::resize(dir.filePath(QStringLiteral("set.z02")), QFileInfo(dir.filePath(QStringLiteral("set.z02"))).size() - 100));
    EXPECT_EQ(join(), ZipMessageTable::StructureWarning);
    zip.SetZipFileName(dir.filePath(QStringLiteral("set.zip")));
    EXPECT_EQ(zip.EntryCount(), 0);
    EXPECT_EQ(shown.value(0), QStringLiteral("Warning - Error in zip structure!"));
}

TEST_F(ZipMasterTest, extractAllDeletesUnflushedOrReplacedArchive)
{
    dir.makeDir(QStringLiteral("x"));
    addSources(QStringLiteral("x/a.zip"));
    const QString target = dir.makeDir(QStringLiteral("all")) + QLatin1Char('/');
    const QString archive = dir.filePath(QStringLiteral("x/a.zip"));
    std::vector<ZipBatchExtractor::Status> statuses;
    const auto record = [&](int, ZipBatchExtractor::Status status) { statuses.push_back(status); };
    {
        ZipBatchExtractor extractor(zip, [](const FileOpConflict&) { return OverwriteChoice::YesToAll; });
        bool archiveThere = false;
        extractor.Flush = [&](const QString&) {
            archiveThere = QFile::exists(archive);
            return false;
        };
        extractor.Run(dir.filePath(QStringLiteral("x/")), target, {QStringLiteral("a.zip")}, record);
        EXPECT_TRUE(archiveThere);
        EXPECT_TRUE(QFile::exists(archive));
        EXPECT_EQ(contentOf(target + QStringLiteral("docs/b.txt")), QByteArray("beta"));

        // Another file put at the archive's name after it was read is not the one to go.
        extractor.Flush = [&](const QString&) {
            QFile::rename(archive, archive + QStringLiteral(".old"));
            QFile::copy(archive + QStringLiteral(".old"), archive);
            return true;
        };
        extractor.Run(dir.filePath(QStringLiteral("x/")), target, {QStringLiteral("a.zip")}, record);
        EXPECT_TRUE(QFile::exists(archive));
    }
    ZipBatchExtractor extractor(zip, [](const FileOpConflict&) { return OverwriteChoice::YesToAll; });
    extractor.Run(dir.filePath(QStringLiteral("x/")), target, {QStringLiteral("a.zip")}, record);
    EXPECT_FALSE(QFile::exists(archive));
    EXPECT_EQ(std::count(statuses.begin(), statuses.end(), ZipBatchExtractor::Status::ExtractedAndDeleted), 1);
}

class ZipPaneCommandsTest : public ZipMasterTest {
protected:
    void SetUp() override
    {
        ZipMasterTest::SetUp();
        addSources(QStringLiteral("p.zip"));
        source = {dir.filePath(QStringLiteral("p.zip/")), true, QString()};
        target = {dir.makeDir(QStringLiteral("dest")) + QLatin1Char('/'), false, QString()};
        shown.clear();
    }

    ZipFileCommands commands{zip};
    ZipFileCommands::Side source;
    ZipFileCommands::Side target;
    const std::vector<ZipFileCommands::Selected> docs{{QStringLiteral("docs"), true}};
};

TEST_F(ZipPaneCommandsTest, moveOutAsksAndKeepsWhatItMayNotDelete)
{
    answer = MsgResult::No;
    commands.Run(ZipFileCommands::Move, source, target, docs, false);
    EXPECT_EQ(contentOf(target.Folder + QStringLiteral("docs/b.txt")), QByteArray("beta"));
    EXPECT_EQ(shown, QStringList{QStringLiteral("Do you really want to DELETE the files from the source ZIP?")});
    EXPECT_EQ(zip.EntryCount(), 2);

    // Fast moves delete without asking; an entry that could not be written stays.
    QFile::remove(target.Folder + QStringLiteral("docs/b.txt"));
    QFile(target.Folder + QStringLiteral("docs")).setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    if (::geteuid() != 0) {
        commands.Run(ZipFileCommands::Move, source, target, docs, true);
        EXPECT_EQ(zip.EntryCount(), 2);
    }
    QFile(target.Folder + QStringLiteral("docs")).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    commands.Run(ZipFileCommands::Move, source, target, docs, true);
    EXPECT_EQ(names(zip), QStringList{QStringLiteral("a.txt")});
}

TEST_F(ZipPaneCommandsTest, copyIntoAFolderOfAZipAndRefusals)
{
    dir.makeFile(QStringLiteral("dest/new.txt"), "new");
    source.ArchivePath = QStringLiteral("docs/");
    commands.Run(ZipFileCommands::Copy, target, source, {{QStringLiteral("new.txt"), false}}, false);
    EXPECT_TRUE(names(zip).contains(QStringLiteral("docs/new.txt")));
    EXPECT_TRUE(QFile::exists(target.Folder + QStringLiteral("new.txt")));

    ZipFileCommands::Side otherZip = source;
    commands.Run(ZipFileCommands::Copy, source, otherZip, docs, false);
    commands.Run(ZipFileCommands::Rename, source, target, docs, false);
    EXPECT_EQ(shown, (QStringList{QStringLiteral("File operations are not (yet) supported between ZIP files..."),
                                  QStringLiteral("Renaming is not (yet) supported for ZIP files...")}));
}

TEST_F(ZipPaneCommandsTest, moveOutDeletesMembersTheUserKept)
{
    dir.makeFile(QStringLiteral("dest/docs/b.txt"), "mine");
    QStringList asked;
    commands.AskOverwrite = [&](const FileOpConflict& conflict) {
        asked << conflict.TargetPath;
        return OverwriteChoice::No;
    };
    commands.Run(ZipFileCommands::Move, source, target, {{QStringLiteral("a.txt"), false}, docs.front()}, true);
    EXPECT_EQ(asked, QStringList{target.Folder + QStringLiteral("docs/b.txt")});
    EXPECT_EQ(contentOf(target.Folder + QStringLiteral("docs/b.txt")), QByteArray("mine"));
    EXPECT_EQ(contentOf(target.Folder + QStringLiteral("a.txt")), QByteArray("alpha\n").repeated(500));
    EXPECT_EQ(names(zip), QStringList{QStringLiteral("docs/b.txt")});
}

TEST_F(ZipPaneCommandsTest, moveOutDeletesBeforeFlushing)
{
    int entriesAtFlush = -1;
    commands.Flush = [&](const QString& folder) {
        EXPECT_EQ(folder, target.Folder);
        entriesAtFlush = zip.EntryCount();
        return false;
    };
    commands.Run(ZipFileCommands::Move, source, target, docs, true);
    EXPECT_EQ(entriesAtFlush, 2);
    EXPECT_EQ(zip.EntryCount(), 2);
    EXPECT_EQ(contentOf(target.Folder + QStringLiteral("docs/b.txt")), QByteArray("beta"));
}

} // namespace
