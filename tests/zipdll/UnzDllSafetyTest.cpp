// What UNZDLL.DLL owes the caller that deletes the archive or its members right after
// an extraction: files that are on disk for good, no leftovers of killed runs, and no
// member that inflates on past the size its header gives.
#include "DllHarness.h"
#include "WorkFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <cerrno>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

// Non-zero: the kernel's flush calls fail with this error, as a failing disk's would.
int g_flushError = 0;

// The real call unless a failure is wanted.
int FlushOrFail(const char* name, int fd)
{
    if (g_flushError != 0) {
        errno = g_flushError;
        return -1;
    }
    return reinterpret_cast<int (*)(int)>(::dlsym(RTLD_NEXT, name))(fd);
}

} // namespace

// Stand in for the C library's, for this program and the libraries it loads.
extern "C" int syncfs(int fd)
{
    return FlushOrFail("syncfs", fd);
}

extern "C" int fsync(int fd)
{
    return FlushOrFail("fsync", fd);
}

namespace {

class UnzDllSafety : public WorkFolder {
protected:
    void TearDown() override
    {
        g_flushError = 0;
        WorkFolder::TearDown();
    }
    QStringList hidden(const QString& folder)
    {
        return QDir(folder).entryList(QDir::Hidden | QDir::Files).filter(QRegularExpression("^\\."));
    }
};

TEST_F(UnzDllSafety, FilesThatCannotBeMadeDurableAreReportedAndReplaceNothing)
{
    write("new.txt", "archived new");
    write("old.txt", "archived old");
    ASSERT_EQ(RunTool({"zip", "-q", "f.zip", "new.txt", "old.txt"}), 0);
    enter("out");
    write("out/old.txt", "mine");
    g_flushError = EIO;
    ExtractRun run("../f.zip");
    run.command.Overwrite = -1;
    run.run();
    g_flushError = 0;
    EXPECT_TRUE(run.log.has(ZCB_MESSAGE, ZMC_FAILED)) << run.log.messages();
    EXPECT_EQ(ReadAll("old.txt"), "mine");
    EXPECT_TRUE(hidden(".").isEmpty()) << hidden(".").join(' ').toStdString();
}

TEST_F(UnzDllSafety, LeftoverOfAKilledRunGoesButOneInUseStays)
{
    write("c.txt", "archived");
    ASSERT_EQ(RunTool({"zip", "-q", "c.zip", "c.txt"}), 0);
    enter("out");
    write("out/.c.txt.dvpart-dead00", "killed");
    write("out/.c.txt.dvpart-alive0", "running");
    const int running = ::open(".c.txt.dvpart-alive0", O_RDONLY | O_CLOEXEC);
    ASSERT_GE(running, 0);
    ASSERT_EQ(::flock(running, LOCK_EX), 0);
    ExtractRun run("../c.zip");
    EXPECT_EQ(run.run(), 1) << run.log.messages();
    ::close(running);
    EXPECT_EQ(hidden("."), QStringList({".c.txt.dvpart-alive0"}));
    EXPECT_EQ(ReadAll("c.txt"), "archived");
}

TEST_F(UnzDllSafety, FileEditedWhileItsReplacementIsExtractedIsKept)
{
    write("doc.txt", QByteArray(100000, 'a'));
    ASSERT_EQ(RunTool({"zip", "-q", "e.zip", "doc.txt"}), 0);
    enter("out");
    write("out/doc.txt", "mine");
    ExtractRun run("../e.zip");
    run.command.Overwrite = -1;
    run.log.answer = [this](ZipCallbackRecord& r) {
        if (r.ActionCode == ZCB_PROGRESS)
            write("out/doc.txt", "edited meanwhile");
        return 0;
    };
    EXPECT_EQ(run.run(), 0);
    EXPECT_TRUE(run.log.has(ZCB_SKIPPED, ZSK_WRITE_FAILED)) << run.log.messages();
    EXPECT_EQ(ReadAll("doc.txt"), "edited meanwhile");
}

TEST_F(UnzDllSafety, MemberLargerThanItsHeaderSaysIsStoppedAtThatSize)
{
    const QString script = "import zipfile, struct, sys\n"
                           "with zipfile.ZipFile(sys.argv[1], 'w', zipfile.ZIP_DEFLATED) as z:\n"
                           "    z.writestr('big.txt', b'a' * 3000000)\n"
                           "data = bytearray(open(sys.argv[1], 'rb').read())\n"
                           "struct.pack_into('<I', data, 22, 10)\n"
                           "struct.pack_into('<I', data, data.find(b'PK\\x01\\x02') + 24, 10)\n"
                           "open(sys.argv[1], 'wb').write(data)\n";
    ASSERT_EQ(RunTool({"python3", "-c", script, "bomb.zip"}), 0);
    enter("out");
    ExtractRun run("../bomb.zip");
    EXPECT_EQ(run.run(), 0);
    EXPECT_TRUE(run.log.has(ZCB_SKIPPED, ZSK_DAMAGED)) << run.log.messages();
    int64_t written = 0;
    for (const CallbackCall& call : run.log.of(ZCB_PROGRESS))
        written += call.number;
    EXPECT_LE(written, 10);
    EXPECT_FALSE(QFileInfo::exists("big.txt"));
}

} // namespace
