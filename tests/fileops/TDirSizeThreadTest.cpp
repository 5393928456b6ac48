#include "fileops/TDirSizeThread.h"

#include "support/EventWait.h"
#include "fileops/DirSizeQueue.h"
#include "support/TempDir.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>
#include <vector>

namespace {

// Collects what the worker delivers, noting whether each call ran on the UI thread.
struct Deliveries {
    std::vector<DirSizeResult> Results;
    bool AllOnUiThread = true;
    std::function<void()> AfterEach;

    TDirSizeThread::Delivery Recorder()
    {
        return [this](const DirSizeResult& r) {
            AllOnUiThread = AllOnUiThread && QThread::currentThread() == QCoreApplication::instance()->thread();
            Results.push_back(r);
            if (AfterEach)
                AfterEach();
        };
    }
};

qint64 msecsToStop(TDirSizeThread& worker)
{
    QElapsedTimer timer;
    timer.start();
    worker.Stop();
    return timer.elapsed();
}

} // namespace

TEST(TDirSizeThread, resultsArriveOnTheUiThreadInQueueOrderAndIdleStopIsPrompt)
{
    TempDir tree;
    const QString first = tree.makeDir(QStringLiteral("first"));
    tree.makeFile(QStringLiteral("first/a"), QByteArray(11, 'a'));
    const QString second = tree.makeDir(QStringLiteral("second"));
    tree.makeFile(QStringLiteral("second/b/c"), QByteArray(22, 'c'));
    DirSizeQueue queue;
    QObject context;
    Deliveries got;
    TDirSizeThread worker(queue, &context, got.Recorder());
    queue.Queue({first, second});
    worker.start();

    ASSERT_TRUE(runEventsUntil([&] { return got.Results.size() == 2; }));
    EXPECT_TRUE(got.AllOnUiThread);
    EXPECT_EQ(got.Results[0].Path, first);
    EXPECT_EQ(got.Results[0].Size, 11);
    EXPECT_EQ(got.Results[1].Path, second);
    EXPECT_EQ(got.Results[1].DirCount, 1u);

    const QString later = tree.makeDir(QStringLiteral("later"));   // queued while idle
    queue.Queue({later});
    ASSERT_TRUE(runEventsUntil([&] { return got.Results.size() == 3; }));
    EXPECT_EQ(got.Results[2].Path, later);
    EXPECT_LT(msecsToStop(worker), 500) << "an idle worker is woken, not left to sit out its wait";
}

TEST(TDirSizeThread, stopFromTheUiThreadWhileTheWorkerWaitsForItDoesNotDeadlock)
{
    TempDir tree;
    DirSizeQueue queue;
    QObject context;
    Deliveries got;
    TDirSizeThread worker(queue, &context, got.Recorder());
    qint64 stopMsecs = -1;
    // Inside a delivery the UI thread is busy and the worker blocked until it returns.
    got.AfterEach = [&] { stopMsecs = msecsToStop(worker); };
    queue.Queue({tree.makeDir(QStringLiteral("one")), tree.makeDir(QStringLiteral("two"))});
    worker.start();

    ASSERT_TRUE(runEventsUntil([&] { return stopMsecs >= 0; }));
    EXPECT_LT(stopMsecs, 2000);
    runEventsUntil([] { return false; }, 100);
    EXPECT_EQ(got.Results.size(), 1u) << "nothing is measured or delivered after Stop()";
}

TEST(TDirSizeThread, resultOnItsWayWhenStoppedIsNeverApplied)
{
    TempDir tree;
    DirSizeQueue queue;
    InterceptingContext context;
    Deliveries got;
    queue.Queue({tree.makeDir(QStringLiteral("one"))});
    auto worker = std::make_unique<TDirSizeThread>(queue, &context, got.Recorder());
    // The result has been handed over; the window closes before the UI thread applies it.
    context.BeforeNextCall = [&] { worker.reset(); };
    worker->start();
    ASSERT_TRUE(runEventsUntil([&] { return !worker; }));
    runEventsUntil([] { return false; }, 100);
    EXPECT_TRUE(got.Results.empty());
}
