#include "CommandTestSupport.h"
#include "support/TempDir.h"

#include "fileops/TAsyncShellThread.h"
#include "platform/TWaitProcessEnd.h"

#include <QFile>
#include <QPointer>
#include <gtest/gtest.h>
#include <csignal>
#include <spawn.h>

extern char** environ;

namespace {

pid_t spawnChild(std::vector<const char*> argv)
{
    argv.push_back(nullptr);
    pid_t pid = -1;
    return ::posix_spawnp(&pid, argv[0], nullptr, nullptr, const_cast<char* const*>(argv.data()), environ) == 0
        ? pid : -1;
}

// A reaped child no longer exists; a zombie still answers signal 0.
bool childIsGone(pid_t pid) { return ::kill(pid, 0) != 0 && errno == ESRCH; }

} // namespace

TEST(TWaitProcessEnd, deletesTheFileOnlyAfterTheProgramEnded)
{
    TempDir dir;
    const QString copy = dir.makeFile("opened.txt", "temporary copy");
    const pid_t pid = spawnChild({"sleep", "0.2"});
    ASSERT_GT(pid, 0);

    QPointer<TWaitProcessEnd> waiter = new TWaitProcessEnd(pid, copy);
    EXPECT_EQ(waiter->priority(), QThread::LowPriority);
    ASSERT_TRUE(WaitUntil([&] { return !QFile::exists(copy); }));
    EXPECT_TRUE(childIsGone(pid)) << "the file went while the program still ran";
    EXPECT_TRUE(WaitUntil([&] { return waiter.isNull(); })) << "the thread frees itself";
}

TEST(TAsyncShellThread, copiesInTheBackgroundAndReportsOnTheWindowThread)
{
    TempDir dir;
    TShellFileOpRecord record;
    record.Function = FO_COPY;
    record.Source = {dir.makeFile("from/report.txt", "the numbers")};
    record.Target = dir.makeDir("to");

    QObject window;
    int calls = 0;
    int reportedResult = -1;
    QThread* reportedOn = nullptr;
    QPointer<TAsyncShellThread> worker = new TAsyncShellThread(record, &window, 7, [&](uint16_t id, int result) {
        ++calls;
        EXPECT_EQ(id, 7);
        reportedResult = result;
        reportedOn = QThread::currentThread();
    });

    ASSERT_TRUE(WaitUntil([&] { return calls > 0; }, 30000));
    EXPECT_EQ(reportedOn, window.thread());
    EXPECT_EQ(reportedResult, kFileOpDone);
    QFile copied(record.Target + "/report.txt");
    ASSERT_TRUE(copied.open(QIODevice::ReadOnly));
    EXPECT_EQ(copied.readAll(), "the numbers");
    EXPECT_TRUE(WaitUntil([&] { return worker.isNull(); }));
    EXPECT_EQ(calls, 1);
}
