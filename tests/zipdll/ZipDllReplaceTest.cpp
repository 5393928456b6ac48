// How ZIPDLL.DLL replaces the archive and removes the sources of a move: never over a
// file another program put there, a read-only or another user's archive, or a link;
// never a source that changed while it was added; and what a killed run left goes.
#include "DllHarness.h"
#include "WorkFolder.h"

#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr uid_t kNobody = 65534;

class ZipDllReplace : public WorkFolder {
protected:
    bool unzipAccepts(const QString& archive) { return RunTool({"unzip", "-tq", archive}) == 0; }
    // What another program does to a file: a new one renamed over it.
    void replaceBehindOurBack(const QString& name, const QByteArray& content)
    {
        write(name + ".other", content);
        ASSERT_EQ(::rename((name + ".other").toLocal8Bit().constData(), name.toLocal8Bit().constData()), 0);
    }
    void makeArchive(const QString& name, const QString& member)
    {
        write(member, "member");
        AddRun add(name.toStdString());
        ASSERT_EQ(add.fileSpec(member.toStdString()).run(), 1) << add.log.messages();
    }
    QStringList hidden() { return QDir(".").entryList(QDir::Hidden | QDir::Files).filter(QRegularExpression("^\\.")); }
};

TEST_F(ZipDllReplace, MoveKeepsSourcesAppendedToOrReplacedWhileAdded)
{
    write("grown.txt", "first part");
    write("swapped.txt", "old");
    write("plain.txt", "plain");
    AddRun move("m.zip");
    move.command.Move = -1;
    move.log.answer = [this](ZipCallbackRecord& r) {
        const std::string name = r.Text;
        if (r.ActionCode == ZCB_NEW_FILE && name == "grown.txt") {
            QFile grown("grown.txt");
            grown.open(QIODevice::Append);
            grown.write(" and more");
        }
        if (r.ActionCode == ZCB_NEW_FILE && name == "swapped.txt")
            replaceBehindOurBack("swapped.txt", "new");
        return 0;
    };
    EXPECT_EQ(move.fileSpec("*.txt").run(), 3) << move.log.messages();
    EXPECT_EQ(ReadAll("grown.txt"), "first part and more");
    EXPECT_EQ(ReadAll("swapped.txt"), "new");
    EXPECT_FALSE(QFileInfo::exists("plain.txt"));
    EXPECT_NE(move.log.messages().find("grown.txt\" changed"), std::string::npos) << move.log.messages();
    EXPECT_NE(move.log.messages().find("swapped.txt\" changed"), std::string::npos) << move.log.messages();
}

TEST_F(ZipDllReplace, ArchiveReplacedWhileAddingOrDeletingIsLeftToTheOtherProgram)
{
    makeArchive("a.zip", "one.txt");
    write("two.txt", "two");
    AddRun move("a.zip");
    move.command.Move = -1;
    move.log.answer = [this](ZipCallbackRecord& r) {
        if (r.ActionCode == ZCB_NEW_FILE)
            replaceBehindOurBack("a.zip", "theirs");
        return 0;
    };
    EXPECT_EQ(move.fileSpec("two.txt").run(), 0);
    EXPECT_TRUE(move.log.has(ZCB_MESSAGE, ZMC_FAILED)) << move.log.messages();
    EXPECT_EQ(ReadAll("a.zip"), "theirs");
    EXPECT_TRUE(QFileInfo::exists("two.txt"));
    EXPECT_TRUE(hidden().isEmpty()) << hidden().join(' ').toStdString();

    makeArchive("d.zip", "three.txt");
    AddRun remove("d.zip");
    remove.command.DeleteEntries = -1;
    remove.log.answer = [this](ZipCallbackRecord& r) {
        if (r.ActionCode == ZCB_TOTAL_FILES)
            replaceBehindOurBack("d.zip", "theirs too");
        return 0;
    };
    EXPECT_EQ(remove.fileSpec("three.txt").run(), 0);   // the last member: the archive would go
    EXPECT_TRUE(remove.log.has(ZCB_MESSAGE, ZMC_FAILED)) << remove.log.messages();
    EXPECT_EQ(ReadAll("d.zip"), "theirs too");
}

TEST_F(ZipDllReplace, ReadOnlyArchiveIsRefusedBeforeAnyWork)
{
    makeArchive("r.zip", "one.txt");
    ASSERT_EQ(::chmod("r.zip", 0444), 0);
    const QByteArray before = ReadAll("r.zip");
    write("two.txt", "two");
    AddRun move("r.zip");
    move.command.Move = -1;
    EXPECT_EQ(move.fileSpec("two.txt").run(), 0);
    EXPECT_TRUE(move.log.has(ZCB_MESSAGE, ZMC_FAILED)) << move.log.messages();
    EXPECT_TRUE(move.log.of(ZCB_NEW_FILE).empty());
    EXPECT_EQ(ReadAll("r.zip"), before);
    EXPECT_TRUE(QFileInfo::exists("two.txt"));

    AddRun remove("r.zip");
    remove.command.DeleteEntries = -1;
    EXPECT_EQ(remove.fileSpec("one.txt").run(), 0);
    EXPECT_EQ(ReadAll("r.zip"), before);
}

TEST_F(ZipDllReplace, AnotherUsersArchiveInAWritableFolderIsRefused)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "acting as another user needs root";
    makeArchive("theirs.zip", "one.txt");
    write("mine.txt", "mine");
    ASSERT_EQ(::chmod(m_dir.path().toLocal8Bit().constData(), 0777), 0);
    const QByteArray before = ReadAll("theirs.zip");
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setresgid(kNobody, kNobody, kNobody) != 0 || ::setresuid(kNobody, kNobody, kNobody) != 0)
            ::_exit(2);
        AddRun add("theirs.zip");
        const bool refused = add.fileSpec("mine.txt").run() == 0 && add.log.has(ZCB_MESSAGE, ZMC_FAILED);
        ::_exit(refused ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    struct stat st {};
    ASSERT_EQ(::stat("theirs.zip", &st), 0);
    EXPECT_EQ(st.st_uid, 0u);
    EXPECT_EQ(ReadAll("theirs.zip"), before);
}

TEST_F(ZipDllReplace, ArchiveThatIsALinkStaysALinkToTheUpdatedArchive)
{
    makeDir("real");
    makeArchive("real/a.zip", "one.txt");
    ASSERT_EQ(::symlink("real/a.zip", "link.zip"), 0);
    write("two.txt", "two");
    AddRun add("link.zip");
    EXPECT_EQ(add.fileSpec("two.txt").run(), 1) << add.log.messages();
    EXPECT_TRUE(QFileInfo("link.zip").isSymLink());
    EXPECT_EQ(ZipNames("real/a.zip"), QStringList({"one.txt", "two.txt"}));
    EXPECT_TRUE(unzipAccepts("real/a.zip"));
}

TEST_F(ZipDllReplace, LeftoverOfAKilledRunGoesButOneInUseStays)
{
    makeArchive("k.zip", "one.txt");
    write(".k.zip.dvsave-dead00", "killed");
    write(".k.zip.dvsave-alive0", "running");
    const int running = ::open(".k.zip.dvsave-alive0", O_RDONLY | O_CLOEXEC);
    ASSERT_GE(running, 0);
    ASSERT_EQ(::flock(running, LOCK_EX), 0);
    write("two.txt", "two");
    AddRun add("k.zip");
    EXPECT_EQ(add.fileSpec("two.txt").run(), 1) << add.log.messages();
    ::close(running);
    EXPECT_EQ(hidden(), QStringList({".k.zip.dvsave-alive0"}));
}

} // namespace
