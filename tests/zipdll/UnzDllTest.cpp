// Extracting and testing through UNZDLL.DLL: archives from Info-ZIP's zip and from
// Python's zipfile (which writes whatever names and attributes it is told to).
#include "DllHarness.h"
#include "WorkFolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class UnzDll : public WorkFolder {
protected:
    // Builds an archive with Python; `body` adds members to the ZipFile `z`.
    void python(const QString& archive, const QString& body)
    {
        const QString script = "import zipfile, sys\nwith zipfile.ZipFile(sys.argv[1], 'w') as z:\n" + body;
        ASSERT_EQ(RunTool({"python3", "-c", script, archive}), 0);
    }
    QStringList filesBelow(const QString& folder)
    {
        QStringList found;
        QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            found << QDir(folder).relativeFilePath(it.next());
        found.sort();
        return found;
    }
};

TEST_F(UnzDll, ExtractsWithFoldersOrFlatAndKeepsTimeAndMode)
{
    write("src/a/b.txt", "b");
    write("src/c.txt", "c");
    chmod(path("src/c.txt").toLocal8Bit().constData(), 04751);
    age("src/c.txt", 5);
    ASSERT_TRUE(QDir::setCurrent(path("src")));
    ASSERT_EQ(RunTool({"zip", "-qr", "../in.zip", "."}), 0);

    enter("tree");
    ExtractRun tree("../in.zip");
    EXPECT_EQ(tree.run(), 3) << tree.log.messages();   // a/, a/b.txt, c.txt
    EXPECT_EQ(filesBelow("."), QStringList({"a", "a/b.txt", "c.txt"}));
    // Zip times have two-second steps, and Info-ZIP rounds up.
    EXPECT_LE(std::abs(QFileInfo("c.txt").lastModified().toSecsSinceEpoch() -
                       QFileInfo(path("src/c.txt")).lastModified().toSecsSinceEpoch()),
              2);
    struct stat info {};
    ASSERT_EQ(stat("c.txt", &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0751 & ~mode_t(022));

    enter("flat");
    ExtractRun flat("../in.zip");
    flat.command.DirNames = 0;
    flat.fileSpec("a\\*.*");
    EXPECT_EQ(flat.run(), 1);
    EXPECT_EQ(filesBelow("."), QStringList({"b.txt"}));
}

TEST_F(UnzDll, AsksBeforeReplacingAndSkipsWithoutAnAnswer)
{
    write("new.txt", "new");
    ASSERT_EQ(RunTool({"zip", "-q", "o.zip", "new.txt"}), 0);
    write("new.txt", "mine");
    ExtractRun kept("o.zip");
    EXPECT_EQ(kept.run(), 0);
    EXPECT_EQ(kept.log.of(ZCB_OVERWRITE).size(), 1u);
    EXPECT_TRUE(kept.log.has(ZCB_SKIPPED, ZSK_EXISTS));
    EXPECT_EQ(ReadAll("new.txt"), "mine");

    ExtractRun replaced("o.zip");
    replaced.log.answer = [](ZipCallbackRecord& r) {
        if (r.ActionCode == ZCB_OVERWRITE)
            r.ErrorCode = 1;
        return 0;
    };
    EXPECT_EQ(replaced.run(), 1);
    EXPECT_EQ(ReadAll("new.txt"), "new");
}

TEST_F(UnzDll, FreshenTakesOnlyNewerMembersOfExistingFiles)
{
    write("a.txt", "archived a");
    write("b.txt", "archived b");
    ASSERT_EQ(RunTool({"zip", "-q", "f.zip", "a.txt", "b.txt"}), 0);
    write("a.txt", "older on disk");
    age("a.txt", 2);
    write("b.txt", "newer on disk");
    QFile::remove(path("b.txt"));   // absent: freshen leaves it out, update brings it
    ExtractRun freshen("f.zip");
    freshen.command.Freshen = -1;
    EXPECT_EQ(freshen.run(), 1);
    EXPECT_EQ(ReadAll("a.txt"), "archived a");
    EXPECT_FALSE(QFileInfo::exists("b.txt"));

    ExtractRun update("f.zip");
    update.command.Update = -1;
    EXPECT_EQ(update.run(), 1);
    EXPECT_TRUE(update.log.has(ZCB_SKIPPED, ZSK_NOT_NEWER));
    EXPECT_EQ(ReadAll("b.txt"), "archived b");
}

TEST_F(UnzDll, HostileNamesAndLinksWriteNothingOutside)
{
    python("slip.zip",
           "    z.writestr('../evil', 'x')\n"
           "    z.writestr('/abs', 'x')\n"
           "    z.writestr('ok.txt', 'fine')\n"
           "    for name, target in (('etc', '/etc'), ('up', '../..'), ('l', '.')):\n"
           "        i = zipfile.ZipInfo(name); i.create_system = 3; i.external_attr = 0o120777 << 16\n"
           "        z.writestr(i, target)\n"
           "    z.writestr('l/../x', 'x')\n");
    enter("out");
    ExtractRun run("../slip.zip");
    EXPECT_EQ(run.run(), 2) << run.log.messages();   // ok.txt and the link to "."
    EXPECT_EQ(run.log.of(ZCB_SKIPPED).size(), 5u);
    for (const CallbackCall& skip : run.log.of(ZCB_SKIPPED))
        EXPECT_EQ(skip.code, ZSK_UNSAFE_NAME) << skip.text;
    EXPECT_EQ(filesBelow("."), QStringList({"l", "ok.txt"}));
    EXPECT_EQ(filesBelow(m_dir.path()), QStringList({"out", "out/l", "out/ok.txt", "slip.zip"}));
}

TEST_F(UnzDll, NeverWritesThroughALinkInTheDestination)
{
    write("d/f.txt", "through the folder");
    write("g.txt", "over the file");
    ASSERT_EQ(RunTool({"zip", "-qr", "w.zip", "d", "g.txt"}), 0);
    makeDir("elsewhere");
    write("victim.txt", "untouched");
    enter("out");
    ASSERT_EQ(symlink("../elsewhere", "d"), 0);
    ASSERT_EQ(symlink("../victim.txt", "g.txt"), 0);
    ExtractRun run("../w.zip");
    run.command.Overwrite = -1;
    EXPECT_EQ(run.run(), 1);   // g.txt replaces the link; d/ and d/f.txt are refused
    EXPECT_TRUE(filesBelow(path("elsewhere")).isEmpty());
    EXPECT_EQ(ReadAll(path("victim.txt")), "untouched");
    EXPECT_FALSE(QFileInfo("g.txt").isSymLink());
    EXPECT_EQ(ReadAll("g.txt"), "over the file");
}

TEST_F(UnzDll, CrcErrorIsReportedAndNothingLands)
{
    python("crc.zip", "    z.writestr('good.txt', 'good data')\n    z.writestr('bad.txt', 'bad data here')\n");
    QByteArray bytes = ReadAll("crc.zip");
    const qsizetype at = bytes.indexOf("bad data here");
    ASSERT_GT(at, 0);
    bytes[at] = 'B';
    write("crc.zip", bytes);

    ExtractRun test("crc.zip");
    test.command.TestOnly = -1;
    EXPECT_EQ(test.run(), 1);
    EXPECT_EQ(test.log.of(ZCB_CRC_ERROR).size(), 1u);

    enter("out");
    ExtractRun run("../crc.zip");
    EXPECT_EQ(run.run(), 1);
    EXPECT_EQ(run.log.of(ZCB_CRC_ERROR).front().text, "bad.txt");
    EXPECT_EQ(filesBelow("."), QStringList({"good.txt"}));
}

TEST_F(UnzDll, AsksForThePasswordAndKeepsTheOneThatWorked)
{
    write("one.txt", "1");
    write("two.txt", "2");
    ASSERT_EQ(RunTool({"zip", "-q", "-P", "right", "p.zip", "one.txt", "two.txt"}), 0);
    enter("out");
    ExtractRun run("../p.zip");
    run.command.Password = run.keep("wrong");
    run.log.answer = [](ZipCallbackRecord& r) {
        if (r.ActionCode == ZCB_PASSWORD) {
            std::strcpy(r.Text, "right");
            r.ErrorCode = 1;
        }
        return 0;
    };
    EXPECT_EQ(run.run(), 2) << run.log.messages();
    EXPECT_EQ(run.log.of(ZCB_PASSWORD).size(), 1u);
    EXPECT_EQ(ReadAll("two.txt"), "2");

    enter("none");
    ExtractRun refused("../p.zip");
    refused.command.Password = refused.keep("wrong");
    EXPECT_EQ(refused.run(), 0);
    EXPECT_TRUE(refused.log.has(ZCB_SKIPPED, ZSK_BAD_PASSWORD));
    EXPECT_TRUE(filesBelow(".").isEmpty());
}

TEST_F(UnzDll, ExtractsOneMemberIntoMemoryWithinTheBuffer)
{
    write("m.txt", "in memory");
    ASSERT_EQ(RunTool({"zip", "-q", "m.zip", "m.txt"}), 0);
    unsigned char buffer[16] = {};
    ExtractRun fits("m.zip");
    fits.command.ToMemory = -1;
    fits.command.Buffer = buffer;
    fits.command.BufferSize = sizeof buffer;
    EXPECT_EQ(fits.fileSpec("m.txt").run(), 1);
    EXPECT_EQ(QByteArray(reinterpret_cast<char*>(buffer), int(fits.command.BufferSize)), "in memory");

    unsigned char small[4] = {};
    ExtractRun tooSmall("m.zip");
    tooSmall.command.ToMemory = -1;
    tooSmall.command.Buffer = small;
    tooSmall.command.BufferSize = 3;
    EXPECT_EQ(tooSmall.fileSpec("m.txt").run(), 0);
    EXPECT_EQ(small[3], 0);
    EXPECT_TRUE(tooSmall.log.has(ZCB_MESSAGE, ZMC_FAILED));
}

TEST_F(UnzDll, DamagedArchiveGivesOneMessage)
{
    write("t.txt", "t");
    ASSERT_EQ(RunTool({"zip", "-q", "t.zip", "t.txt"}), 0);
    const QByteArray whole = ReadAll("t.zip");
    write("t.zip", whole.left(whole.size() - 30));   // into the central directory
    ExtractRun run("t.zip");
    EXPECT_EQ(run.run(), 0);
    EXPECT_EQ(run.log.of(ZCB_MESSAGE).size(), 1u) << run.log.messages();
}

} // namespace
