#include "fileops/TDirSizeThread.h"

#include "fileops/DirSizeQueue.h"
#include "platform/LowerCurrentThreadPriority.h"
#include "platform/UiThreadCall.h"

namespace {

constexpr int kIdleWaitMsecs = 1000;

} // namespace

TDirSizeThread::TDirSizeThread(DirSizeQueue& queue, QObject* context, Delivery deliver, QObject* parent)
    : QThread(parent)
    , m_queue(queue)
    , m_context(context)
    , m_deliver(std::move(deliver))
{
}

TDirSizeThread::~TDirSizeThread() { Stop(); }

void TDirSizeThread::Stop()
{
    m_stop->store(true);
    m_queue.Wake();
    wait();
}

void TDirSizeThread::run()
{
    LowerCurrentThreadPriority();
    const std::atomic<bool>& stop = *m_stop;
    while (!stop.load()) {
        QString path;
        bool more = false;
        if (m_queue.Take(&path, &more)) {
            const std::optional<DirSizeResult> result = DirSizeCounter::Measure(path, stop);
            if (!result || stop.load())
                break;
            // Captured by value: after a stop the call may still run on the UI thread
            // when this object is gone, and then must do nothing.
            RunOnUiThreadAndWait(m_context, [deliver = m_deliver, flag = m_stop, r = *result] {
                if (!flag->load())
                    deliver(r);
            }, stop);
        }
        if (!more && !stop.load())
            m_queue.WaitForWork(kIdleWaitMsecs);
    }
}
