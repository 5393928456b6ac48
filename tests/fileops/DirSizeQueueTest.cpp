#include "fileops/DirSizeQueue.h"

#include <gtest/gtest.h>
#include <thread>

namespace {
const QString kA = QStringLiteral("/data/a");
const QString kB = QStringLiteral("/data/b");
const QString kC = QStringLiteral("/data/c");
} // namespace

TEST(DirSizeQueue, folderShownInBothPanesStaysQueuedUntilBothLeave)
{
    DirSizeQueue queue;
    queue.Queue({kA, kB, QStringLiteral("/data/A")});   // left pane; "A" is another folder
    queue.Queue({kA, kB});                              // right pane, same folder
    EXPECT_EQ(queue.CountOf(kA), 2);
    EXPECT_EQ(queue.Paths(), QStringList({kA, kB, QStringLiteral("/data/A")}));

    queue.Withdraw({kA, kB});   // the left pane moves on
    EXPECT_EQ(queue.CountOf(kA), 1);
    queue.Withdraw({kA});
    queue.Withdraw({kA});       // one too many must not touch anything else
    queue.Withdraw({QStringLiteral("/never/queued")});
    EXPECT_EQ(queue.Paths(), QStringList({kB, QStringLiteral("/data/A")}));
    EXPECT_EQ(queue.CountOf(kB), 1);
}

TEST(DirSizeQueue, takeServesTheFirstRequestWhateverItsCount)
{
    DirSizeQueue queue;
    queue.Queue({kA, kB, kC});
    queue.Queue({kB});
    queue.Withdraw({kA});
    QString path;
    bool more = false;
    ASSERT_TRUE(queue.Take(&path, &more));
    EXPECT_EQ(path, kB);
    EXPECT_TRUE(more);
    EXPECT_EQ(queue.CountOf(kB), 0) << "a count of 2 is removed at once";

    queue.Queue({kB});   // asked again after it was taken: back at the end
    ASSERT_TRUE(queue.Take(&path, &more));
    EXPECT_EQ(path, kC);
    ASSERT_TRUE(queue.Take(&path, &more));
    EXPECT_EQ(path, kB);
    EXPECT_FALSE(more);
    EXPECT_FALSE(queue.Take(&path, &more));
}

TEST(DirSizeQueue, wakeUpIsNeitherLostNorCountedTwice)
{
    DirSizeQueue queue;
    EXPECT_FALSE(queue.WaitForWork(10));
    queue.Queue({kA});
    EXPECT_TRUE(queue.WaitForWork(5000)) << "woken before it waited";
    EXPECT_FALSE(queue.WaitForWork(10)) << "the wake-up resets itself";
    std::thread other([&] { queue.Queue({kB}); });
    EXPECT_TRUE(queue.WaitForWork(5000));
    other.join();
}
