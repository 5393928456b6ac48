// Converting zips into self-extracting programs with the real stub: where the offsets
// land, whether other zip tools still read the result, and what the result does when
// run, including with hostile member names and links already in its way.
#include "zip/SfxSettingsBlock.h"
#include "zip/SfxWriter.h"
#include "zip/ZipDirectoryReader.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <sys/stat.h>

namespace {

const QString kStub = QStringLiteral(DV_PROGRAM_DIR "/ZIPSFX.BIN");

struct Outcome {
    int ExitCode = -1;
    QByteArray Output;
};

Outcome run(const QString& folder, const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    const bool finished = process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit;
    return {finished ? process.exitCode() : -1, process.readAll()};
}

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

qint64 sizeOf(const QString& path)
{
    return QFileInfo(path).size();
}

class SfxWriterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::umask(022);
        dir.makeFile(QStringLiteral("src/a.txt"), text);
        dir.makeFile(QStringLiteral("src/sub/b.bin"), binary);
        zipFolder(QStringLiteral("a.zip"), {});
        settings.Caption = QStringLiteral("Test caption");
        settings.CommandLine = QStringLiteral("cat a.txt > copy.txt");
        settings.Overwrite = SfxSettingsBlock::OverwriteMode::Never;
        settings.HideOverwriteBox = true;
        settings.AutoRun = true;
    }

    void zipFolder(const QString& name, const QStringList& options)
    {
        const QStringList arguments = QStringList{QStringLiteral("-q"), QStringLiteral("-r")} + options +
                                      QStringList{dir.filePath(name), QStringLiteral("a.txt"), QStringLiteral("sub")};
        ASSERT_EQ(run(dir.filePath(QStringLiteral("src")), QStringLiteral("zip"), arguments).ExitCode, 0);
    }

    int convert(const QString& archive, const QString& output = QStringLiteral("out.bin"))
    {
        block = settings.Build();
        const QString archivePath = archive.isEmpty() ? QString() : dir.filePath(archive);
        return SfxWriter::Write({kStub, archivePath, block, dir.filePath(output)});
    }

    Outcome extract(const QString& folder, const QString& program = QStringLiteral("out.bin"))
    {
        return run(dir.path(), dir.filePath(program), {dir.filePath(folder)});
    }

    TempDir dir;
    QByteArray text = QByteArray("some text to compress\n").repeated(200);
    QByteArray binary = QByteArray("\x00\x01\x02\xff", 4).repeated(10);
    SfxSettingsBlock settings;
    QByteArray block;
};

TEST_F(SfxWriterTest, MovesEveryOffsetPastStubAndBlock)
{
    ASSERT_EQ(convert(QStringLiteral("a.zip")), SfxWriter::kSuccess);
    const QString output = dir.filePath(QStringLiteral("out.bin"));
    const qint64 shift = sizeOf(kStub) + block.size();
    EXPECT_EQ(sizeOf(output), shift + sizeOf(dir.filePath(QStringLiteral("a.zip"))));
    EXPECT_EQ(QFileInfo(output).permissions() & 0x0777, QFileDevice::Permissions(0x0755));

    const ZipListing before = ZipDirectoryReader::List(dir.filePath(QStringLiteral("a.zip")), CodePageMode::Auto);
    const ZipListing after = ZipDirectoryReader::List(output, CodePageMode::Auto);
    ASSERT_EQ(after.Entries.size(), before.Entries.size());
    EXPECT_TRUE(after.Messages.empty());
    EXPECT_FALSE(after.ExtraBytesInFront);
    for (size_t i = 0; i < before.Entries.size(); ++i)
        EXPECT_EQ(after.Entries[i].LocalHeaderOffset, before.Entries[i].LocalHeaderOffset + shift);
    EXPECT_EQ(run(dir.path(), QStringLiteral("unzip"), {QStringLiteral("-tq"), output}).ExitCode, 0);
}

TEST_F(SfxWriterTest, Zip64RecordsAreMovedToo)
{
    zipFolder(QStringLiteral("z64.zip"), {QStringLiteral("-fz")});
    ASSERT_EQ(convert(QStringLiteral("z64.zip")), SfxWriter::kSuccess);
    const QString output = dir.filePath(QStringLiteral("out.bin"));
    const ZipListing after = ZipDirectoryReader::List(output, CodePageMode::Auto);
    EXPECT_EQ(after.Entries.size(), 3u);
    EXPECT_FALSE(after.ExtraBytesInFront);
    EXPECT_EQ(run(dir.path(), QStringLiteral("unzip"), {QStringLiteral("-tq"), output}).ExitCode, 0);
    EXPECT_EQ(extract(QStringLiteral("dest")).ExitCode, 0);
    EXPECT_EQ(contentOf(dir.filePath(QStringLiteral("dest/a.txt"))), text);
}

TEST_F(SfxWriterTest, OutputExtractsAndRunsTheCommandLine)
{
    ASSERT_EQ(convert(QStringLiteral("a.zip")), SfxWriter::kSuccess);
    const Outcome result = extract(QStringLiteral("dest"));
    EXPECT_EQ(result.ExitCode, 0) << result.Output.constData();
    EXPECT_TRUE(result.Output.contains("Test caption"));
    EXPECT_EQ(contentOf(dir.filePath(QStringLiteral("dest/a.txt"))), text);
    EXPECT_EQ(contentOf(dir.filePath(QStringLiteral("dest/sub/b.bin"))), binary);
    EXPECT_EQ(contentOf(dir.filePath(QStringLiteral("dest/copy.txt"))), text);
}

TEST_F(SfxWriterTest, AutomaticModeMakesAnEmptyArchive)
{
    ASSERT_EQ(convert(QString()), SfxWriter::kSuccess);
    const QString output = dir.filePath(QStringLiteral("out.bin"));
    EXPECT_EQ(sizeOf(output), sizeOf(kStub) + block.size() + 22);
    const ZipListing listing = ZipDirectoryReader::List(output, CodePageMode::Auto);
    EXPECT_TRUE(listing.Entries.empty());
    EXPECT_TRUE(listing.Messages.empty());
    EXPECT_FALSE(listing.ExtraBytesInFront);
}

TEST_F(SfxWriterTest, ArchiveWithBytesInFrontIsCopiedUnchanged)
{
    const QByteArray front = QByteArray("old stub bytes").repeated(10) + contentOf(dir.filePath(QStringLiteral("a.zip")));
    dir.makeFile(QStringLiteral("front.zip"), front);
    ASSERT_EQ(convert(QStringLiteral("front.zip")), SfxWriter::kSuccess);
    EXPECT_TRUE(contentOf(dir.filePath(QStringLiteral("out.bin"))).endsWith(front));
    EXPECT_EQ(extract(QStringLiteral("dest")).ExitCode, 0);
    EXPECT_EQ(contentOf(dir.filePath(QStringLiteral("dest/sub/b.bin"))), binary);
}

TEST_F(SfxWriterTest, HostileNamesAreRefusedAndTheRestExtracted)
{
    const QString script = QStringLiteral(
        "import zipfile, sys\n"
        "with zipfile.ZipFile(sys.argv[1], 'w') as z:\n"
        "    z.writestr('../evil', 'x')\n"
        "    z.writestr('/abs/x', 'x')\n"
        "    z.writestr('ok.txt', 'fine')\n");
    ASSERT_EQ(run(dir.path(), QStringLiteral("python3"), {QStringLiteral("-c"), script, dir.filePath(QStringLiteral("slip.zip"))})
                  .ExitCode,
              0);
    settings.CommandLine.clear();
    ASSERT_EQ(convert(QStringLiteral("slip.zip")), SfxWriter::kSuccess);
    dir.makeDir(QStringLiteral("inner/dest"));
    EXPECT_NE(extract(QStringLiteral("inner/dest")).ExitCode, 0);
    EXPECT_EQ(contentOf(dir.filePath(QStringLiteral("inner/dest/ok.txt"))), "fine");
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("inner/evil"))));
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/abs/x")));
    EXPECT_EQ(QDir(dir.filePath(QStringLiteral("inner/dest"))).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{QStringLiteral("ok.txt")});
}

TEST_F(SfxWriterTest, LinkMemberLeadingOutsideIsRefused)
{
    ASSERT_TRUE(QFile::link(QStringLiteral("../../outside"), dir.filePath(QStringLiteral("src/sub/up"))));
    zipFolder(QStringLiteral("links.zip"), {QStringLiteral("-y")});
    settings.CommandLine.clear();
    ASSERT_EQ(convert(QStringLiteral("links.zip")), SfxWriter::kSuccess);
    EXPECT_NE(extract(QStringLiteral("dest")).ExitCode, 0);
    EXPECT_FALSE(QFileInfo(dir.filePath(QStringLiteral("dest/sub/up"))).isSymLink());
    EXPECT_EQ(contentOf(dir.filePath(QStringLiteral("dest/sub/b.bin"))), binary);
}

TEST_F(SfxWriterTest, DamagedMemberLeavesNoFileBehind)
{
    zipFolder(QStringLiteral("stored.zip"), {QStringLiteral("-0")});
    QByteArray bytes = contentOf(dir.filePath(QStringLiteral("stored.zip")));
    bytes[bytes.indexOf("some text")] = 'S';
    dir.makeFile(QStringLiteral("stored.zip"), bytes);
    settings.CommandLine.clear();
    ASSERT_EQ(convert(QStringLiteral("stored.zip")), SfxWriter::kSuccess);
    EXPECT_NE(extract(QStringLiteral("dest")).ExitCode, 0);
    EXPECT_EQ(QDir(dir.filePath(QStringLiteral("dest"))).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{QStringLiteral("sub")});
}

TEST_F(SfxWriterTest, TemporaryFolderIsPrivateAndGivenToTheCommand)
{
    settings.DefaultDir = QStringLiteral("><");
    settings.CommandLine = QStringLiteral("echo >< > '%1'").arg(dir.filePath(QStringLiteral("where.txt")));
    ASSERT_EQ(convert(QStringLiteral("a.zip")), SfxWriter::kSuccess);
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TMPDIR"), dir.makeDir(QStringLiteral("tmp")));
    process.setProcessEnvironment(environment);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(dir.filePath(QStringLiteral("out.bin")), {});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 0);
    const QString folder = QString::fromLocal8Bit(contentOf(dir.filePath(QStringLiteral("where.txt")))).trimmed();
    EXPECT_TRUE(folder.startsWith(dir.filePath(QStringLiteral("tmp/"))));
    EXPECT_EQ(QFileInfo(folder).permissions() & 0x0777, QFileDevice::Permissions(0x0700));
    EXPECT_EQ(contentOf(folder + QStringLiteral("/a.txt")), text);
}

TEST_F(SfxWriterTest, LinkInTheWayIsNotWrittenThrough)
{
    settings.CommandLine.clear();
    ASSERT_EQ(convert(QStringLiteral("a.zip")), SfxWriter::kSuccess);
    dir.makeDir(QStringLiteral("outside"));
    dir.makeDir(QStringLiteral("dest"));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("outside")), dir.filePath(QStringLiteral("dest/sub"))));
    EXPECT_NE(extract(QStringLiteral("dest")).ExitCode, 0);
    EXPECT_TRUE(QDir(dir.filePath(QStringLiteral("outside"))).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
    EXPECT_EQ(contentOf(dir.filePath(QStringLiteral("dest/a.txt"))), text);
}

TEST_F(SfxWriterTest, WithoutTerminalAskingKeepsExistingFiles)
{
    settings.Overwrite = SfxSettingsBlock::OverwriteMode::Confirm;
    settings.HideOverwriteBox = false;
    settings.AutoRun = false;
    settings.CommandLine.clear();
    ASSERT_EQ(convert(QStringLiteral("a.zip")), SfxWriter::kSuccess);
    dir.makeFile(QStringLiteral("dest/a.txt"), "old");
    EXPECT_EQ(extract(QStringLiteral("dest")).ExitCode, 0);
    EXPECT_EQ(contentOf(dir.filePath(QStringLiteral("dest/a.txt"))), "old");
    EXPECT_EQ(contentOf(dir.filePath(QStringLiteral("dest/sub/b.bin"))), binary);
}

TEST_F(SfxWriterTest, EncryptedMembersTakeThePasswordFromTheTerminal)
{
    zipFolder(QStringLiteral("secret.zip"), {QStringLiteral("-P"), QStringLiteral("secret")});
    settings.CommandLine.clear();
    ASSERT_EQ(convert(QStringLiteral("secret.zip")), SfxWriter::kSuccess);
    // script gives the stub a terminal to ask on.
    QProcess process;
    const QString command = QStringLiteral("'%1' '%2'").arg(dir.filePath(QStringLiteral("out.bin")),
                                                             dir.filePath(QStringLiteral("dest")));
    process.start(QStringLiteral("script"), {QStringLiteral("-qec"), command, QStringLiteral("/dev/null")});
    process.write("secret\n");
    process.closeWriteChannel();
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAll().constData();
    EXPECT_EQ(contentOf(dir.filePath(QStringLiteral("dest/a.txt"))), text);
    EXPECT_EQ(contentOf(dir.filePath(QStringLiteral("dest/sub/b.bin"))), binary);
}

TEST_F(SfxWriterTest, SizeCheckRefusesAPaddedProgram)
{
    settings.CheckSize = true;
    ASSERT_EQ(convert(QStringLiteral("a.zip")), SfxWriter::kSuccess);
    QFile output(dir.filePath(QStringLiteral("out.bin")));
    ASSERT_TRUE(output.open(QIODevice::Append));
    output.write("trailing bytes");
    output.close();
    EXPECT_NE(extract(QStringLiteral("dest")).ExitCode, 0);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("dest/a.txt"))));
}

TEST_F(SfxWriterTest, UnreadableStubLeavesNoOutput)
{
    const int code = SfxWriter::Write({dir.filePath(QStringLiteral("missing.bin")), dir.filePath(QStringLiteral("a.zip")),
                                       settings.Build(), dir.filePath(QStringLiteral("out.bin"))});
    EXPECT_EQ(code, SfxWriter::kCannotRead);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("a.zip")});
}

TEST_F(SfxWriterTest, MissingOutputFolderGivesCannotCreate)
{
    EXPECT_EQ(convert(QStringLiteral("a.zip"), QStringLiteral("no/such/out.bin")), SfxWriter::kCannotCreate);
}

TEST(SfxSettingsBlock, BuildsTheBytesTheStubReads)
{
    SfxSettingsBlock settings;
    settings.AskFiles = true;
    settings.Overwrite = SfxSettingsBlock::OverwriteMode::Never;
    settings.AutoRun = true;
    settings.Caption = QStringLiteral("Hi");
    settings.CommandLine = QStringLiteral("run ><");
    settings.Message = QString::fromUtf8("\xC3\xA9");
    // 12 + 2 + 0 + 6 + 2 = 22, rounded up to 24; "check size" clear sets bit 5.
    const QByteArray expected("MPV\x72\x00\x01\x18\x00"
                              "\x02Hi"
                              "\x00"
                              "\x06run ><"
                              "\x02\xC3\xA9"
                              "\x00\x00",
                              24);
    EXPECT_EQ(settings.Build(), expected);
}

} // namespace
