// A write that fails for want of space must leave the old archive as it was, leave no
// temporary file behind and keep the sources of a move. Needs root to mount a tiny tmpfs.
#include "DllHarness.h"
#include "WorkFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <sys/mount.h>
#include <unistd.h>

namespace {

class ZipDllFullDisk : public WorkFolder {
protected:
    void SetUp() override
    {
        if (geteuid() != 0)
            GTEST_SKIP() << "mounting a small tmpfs needs root";
        WorkFolder::SetUp();
        makeDir("disk");
        ASSERT_EQ(mount("tmpfs", path("disk").toLocal8Bit().constData(), "tmpfs", 0, "size=1M"), 0);
        m_mounted = true;
    }
    void TearDown() override
    {
        WorkFolder::TearDown();   // out of the mount before unmounting it
        if (m_mounted)
            umount(path("disk").toLocal8Bit().constData());
    }

private:
    bool m_mounted = false;
};

TEST_F(ZipDllFullDisk, FailedWriteLeavesArchiveAndSourcesAlone)
{
    write("disk/small.txt", "small");
    ASSERT_TRUE(QDir::setCurrent(path("disk")));
    AddRun first("full.zip");
    ASSERT_EQ(first.fileSpec("small.txt").run(), 1);
    const QByteArray before = ReadAll("full.zip");

    QByteArray noise(700 * 1024, Qt::Uninitialized);
    QRandomGenerator(7).fillRange(reinterpret_cast<quint32*>(noise.data()), noise.size() / 4);
    write("disk/big.bin", noise);   // fits once, not twice
    AddRun move("full.zip");
    move.command.Move = -1;
    EXPECT_EQ(move.fileSpec("big.bin").run(), 0);
    EXPECT_TRUE(move.log.has(ZCB_MESSAGE, ZMC_FAILED)) << move.log.messages();
    EXPECT_EQ(ReadAll("full.zip"), before);
    EXPECT_TRUE(QFileInfo::exists("big.bin"));
    EXPECT_EQ(QDir(".").entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 3);
}

} // namespace
