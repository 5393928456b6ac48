// Adding, replacing and deleting through ZIPDLL.DLL, checked with Info-ZIP's tools.
#include "DllHarness.h"
#include "WorkFolder.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class ZipDllAdd : public WorkFolder {
protected:
    void makeTree()
    {
        write("a/b/c.txt", "c contents\n");
        write("a/d.txt", QByteArray(5000, 'd'));
        write("a/noext", "no dot");
        write("a/.hidden", "secret");
    }
    bool unzipAccepts(const QString& archive) { return RunTool({"unzip", "-tq", archive}) == 0; }
};

TEST_F(ZipDllAdd, StoresFolderNamesJunkedNamesAndArchiveFolders)
{
    makeTree();
    AddRun keep("keep.zip");
    keep.command.Recurse = -1;
    EXPECT_EQ(keep.fileSpec("a").run(), 3) << keep.log.messages();
    EXPECT_EQ(ZipNames("keep.zip"), QStringList({"a/b/c.txt", "a/d.txt", "a/noext"}));
    EXPECT_EQ(keep.log.of(ZCB_TOTAL_FILES).at(0).number, 3);
    EXPECT_EQ(keep.log.of(ZCB_TOTAL_SIZE).at(0).number, 11 + 5000 + 6);
    EXPECT_EQ(keep.log.of(ZCB_NEW_FILE).size(), 3u);
    int64_t progressed = 0;
    for (const CallbackCall& call : keep.log.of(ZCB_PROGRESS))
        progressed += call.number;
    EXPECT_EQ(progressed, 11 + 5000 + 6);
    EXPECT_EQ(keep.log.calls.back().action, ZCB_END_BATCH);

    AddRun junk("junk.zip");
    junk.command.Recurse = -1;
    junk.command.JunkDirNames = -1;
    junk.fileSpec("a/b/*.*", "docs/");
    EXPECT_EQ(junk.run(), 1);
    EXPECT_EQ(ZipNames("junk.zip"), QStringList({"docs/c.txt"}));
    EXPECT_TRUE(unzipAccepts("keep.zip"));
    EXPECT_TRUE(unzipAccepts("junk.zip"));
}

TEST_F(ZipDllAdd, TakesHiddenFilesAndFolderEntriesOnlyWhenAsked)
{
    makeTree();
    AddRun plain("plain.zip");
    plain.fileSpec("a/*.*").run();
    EXPECT_EQ(ZipNames("plain.zip"), QStringList({"a/d.txt", "a/noext"}));

    AddRun all("all.zip");
    all.command.SystemFiles = -1;
    all.command.NoDirEntries = 0;
    all.command.Recurse = -1;
    all.fileSpec("a").exclude("*.txt").run();
    EXPECT_EQ(ZipNames("all.zip"), QStringList({"a/", "a/.hidden", "a/b/", "a/noext"}));
}

TEST_F(ZipDllAdd, StoresListedSuffixesAndDeflatesTheRest)
{
    write("pic.PNG", QByteArray(4000, 'p'));
    write("text.txt", QByteArray(4000, 't'));
    AddRun add("s.zip");
    add.command.StoreSuffixes = add.keep(".gif:.png");
    add.fileSpec("*.*").run();
    QString listing;
    RunTool({"zipinfo", "s.zip"}, &listing);
    EXPECT_TRUE(listing.contains(QRegularExpression("stor [^\\n]*pic\\.PNG"))) << listing.toStdString();
    EXPECT_TRUE(listing.contains(QRegularExpression("defN [^\\n]*text\\.txt"))) << listing.toStdString();
}

TEST_F(ZipDllAdd, FreshenReplacesOnlyOlderEntriesAndUpdateAlsoAddsNewOnes)
{
    write("old.txt", "old");
    write("new.txt", "first");
    age("old.txt", 3);
    age("new.txt", 3);
    AddRun first("f.zip");
    first.fileSpec("*.txt").run();
    write("new.txt", "second");
    write("extra.txt", "extra");

    AddRun freshen("f.zip");
    freshen.command.Freshen = -1;
    EXPECT_EQ(freshen.fileSpec("*.txt").run(), 1);
    EXPECT_EQ(ZipNames("f.zip"), QStringList({"new.txt", "old.txt"}));
    QString content;
    RunTool({"unzip", "-p", "f.zip", "new.txt"}, &content);
    EXPECT_EQ(content, "second");

    AddRun update("f.zip");
    update.command.Update = -1;
    EXPECT_EQ(update.fileSpec("*.txt").run(), 1);
    EXPECT_EQ(ZipNames("f.zip"), QStringList({"extra.txt", "new.txt", "old.txt"}));
}

TEST_F(ZipDllAdd, DeletesAFolderTreeWithItsOwnEntry)
{
    makeTree();
    ASSERT_EQ(RunTool({"zip", "-qr", "d.zip", "a"}), 0);
    AddRun remove("d.zip");
    remove.command.Grow = 0;
    remove.command.DeleteEntries = -1;
    EXPECT_EQ(remove.fileSpec("a/b/*.*").run(), 2);
    EXPECT_EQ(ZipNames("d.zip"), QStringList({"a/", "a/.hidden", "a/d.txt", "a/noext"}));
    EXPECT_TRUE(unzipAccepts("d.zip"));
}

TEST_F(ZipDllAdd, EncryptsSoUnzipNeedsThePassword)
{
    write("secret.txt", QByteArray(3000, 's'));
    AddRun add("e.zip");
    add.command.Encrypt = -1;
    add.command.Password = add.keep("pw");
    ASSERT_EQ(add.fileSpec("secret.txt").run(), 1) << add.log.messages();
    EXPECT_EQ(RunTool({"unzip", "-P", "pw", "-tq", "e.zip"}), 0);
    EXPECT_NE(RunTool({"unzip", "-P", "wrong", "-tq", "e.zip"}), 0);

    // Info-ZIP's unzip cannot read AES, so the extracting library checks it; the
    // password given with the file goes before the command's.
    AddRun aes("aes.zip");
    aes.command.Password = aes.keep("pw");
    aes.fileSpec("secret.txt").lastSpec().Encrypt = ZSE_AES256;
    aes.lastSpec().Password = aes.keep("aes pw");
    ASSERT_EQ(aes.run(), 1) << aes.log.messages();
    for (const char* password : {"aes pw", "pw"}) {
        ExtractRun test("aes.zip");
        test.command.TestOnly = -1;
        test.command.Password = test.keep(password);
        EXPECT_EQ(test.run(), std::string(password) == "aes pw" ? 1 : 0) << test.log.messages();
    }
}

TEST_F(ZipDllAdd, AsksForAMissingPasswordAndWritesNothingWithoutOne)
{
    write("secret.txt", "s");
    AddRun refused("r.zip");
    refused.command.Encrypt = -1;
    EXPECT_EQ(refused.fileSpec("secret.txt").run(), 0);
    EXPECT_TRUE(refused.log.has(ZCB_PASSWORD, 1));
    EXPECT_TRUE(refused.log.has(ZCB_MESSAGE, ZMC_FAILED));
    EXPECT_FALSE(QFileInfo::exists("r.zip"));

    AddRun given("g.zip");
    given.command.Encrypt = -1;
    given.log.answer = [](ZipCallbackRecord& r) {
        if (r.ActionCode == ZCB_PASSWORD) {
            std::strcpy(r.Text, "typed");
            r.ErrorCode = 1;
        }
        return 0;
    };
    EXPECT_EQ(given.fileSpec("secret.txt").run(), 1);
    EXPECT_EQ(RunTool({"unzip", "-P", "typed", "-tq", "g.zip"}), 0);
}

TEST_F(ZipDllAdd, StoresLinksAsLinksAndSkipsPipesWithoutBlocking)
{
    write("target.txt", "t");
    ASSERT_EQ(symlink("target.txt", "link"), 0);
    ASSERT_EQ(mkfifo("pipe", 0600), 0);
    AddRun add("l.zip");
    EXPECT_EQ(add.fileSpec("*").run(), 2);
    EXPECT_EQ(ZipNames("l.zip"), QStringList({"link", "target.txt"}));
    EXPECT_TRUE(add.log.messages().find("pipe") != std::string::npos) << add.log.messages();
    QString listing;
    RunTool({"zipinfo", "l.zip", "link"}, &listing);
    EXPECT_TRUE(listing.startsWith("lrwx")) << listing.toStdString();
}

TEST_F(ZipDllAdd, KeepsTimesModeAndCommentAndSetsTheArchiveTime)
{
    write("f.txt", "f");
    chmod("f.txt", 0640);
    age("f.txt", 10);
    AddRun add("t.zip");
    add.command.LatestTime = -1;
    add.command.ArchiveComment = add.keep("the comment");
    add.fileSpec("f.txt").run();
    const qint64 fileTime = QFileInfo("f.txt").lastModified().toSecsSinceEpoch();
    EXPECT_LE(std::abs(QFileInfo("t.zip").lastModified().toSecsSinceEpoch() - fileTime), 2);
    QString listing;
    RunTool({"zipinfo", "-z", "t.zip"}, &listing);
    EXPECT_TRUE(listing.contains("the comment"));
    EXPECT_TRUE(listing.contains("-rw-r-----")) << listing.toStdString();
}

TEST_F(ZipDllAdd, CancelLeavesTheArchiveUnchanged)
{
    write("one.txt", "1");
    AddRun first("c.zip");
    first.fileSpec("one.txt").run();
    const QByteArray before = ReadAll("c.zip");
    write("two.txt", QByteArray(100000, '2'));
    AddRun cancelled("c.zip");
    cancelled.log.answer = [](ZipCallbackRecord& r) { return r.ActionCode == ZCB_NEW_FILE ? -1 : 0; };
    EXPECT_EQ(cancelled.fileSpec("two.txt").run(), 0);
    EXPECT_TRUE(cancelled.log.has(ZCB_MESSAGE, ZMC_CANCELLED));
    EXPECT_EQ(ReadAll("c.zip"), before);
    EXPECT_EQ(QDir(".").entryList(QDir::Files).size(), 3);   // no temporary file left
}

TEST_F(ZipDllAdd, ReportsADamagedArchiveAndNeverAddsTheArchiveToItself)
{
    write("bad.zip", QByteArray("PK\x05\x06", 4) + QByteArray(40, '\xff'));
    write("file.txt", "x");
    AddRun damaged("bad.zip");
    EXPECT_EQ(damaged.fileSpec("file.txt").run(), 0);
    EXPECT_TRUE(damaged.log.has(ZCB_MESSAGE, ZMC_FAILED)) << damaged.log.messages();

    AddRun self("self.zip");
    self.fileSpec("file.txt").run();
    AddRun again("self.zip");
    EXPECT_EQ(again.fileSpec("*.*").exclude("bad.zip").run(), 1);
    EXPECT_EQ(ZipNames("self.zip"), QStringList({"file.txt"}));
}

TEST_F(ZipDllAdd, MoveRemovesTheSourcesAndEmptiedFolders)
{
    makeTree();
    write("stay.txt", "stay");
    AddRun move("m.zip");
    move.command.Move = -1;
    move.command.Recurse = -1;
    move.command.SystemFiles = -1;
    EXPECT_EQ(move.fileSpec("a").run(), 4) << move.log.messages();
    EXPECT_FALSE(QFileInfo::exists("a"));
    EXPECT_TRUE(QFileInfo::exists("stay.txt"));
    EXPECT_EQ(ZipNames("m.zip").size(), 4);
    EXPECT_TRUE(unzipAccepts("m.zip"));
}

} // namespace
