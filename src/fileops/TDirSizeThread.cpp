#include "fileops/TDirSizeThread.h"

#include "fileops/DirSizeQueue.h"
#include "platform/UiThreadCall.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

constexpr int kIdleWaitMsecs = 1000;

// The I/O priority system call has no C library wrapper.
constexpr int kIoprioWhoProcess = 1;
constexpr int kIoprioClassBestEffort = 2;
constexpr int kIoprioClassShift = 13;
constexpr int kIoprioLowest = 7;

} // namespace

void LowerCurrentThreadPriority()
{
    // Qt's thread priorities do nothing under Linux's normal scheduler; the nice value
    // and the I/O priority are per thread. Best effort rather than the idle I/O class:
    // an idle-class walk would never finish while the other pane copies files.
    QThread::currentThread()->setPriority(QThread::LowestPriority);
    const pid_t self = pid_t(::syscall(SYS_gettid));
    ::setpriority(PRIO_PROCESS, id_t(self), 19);
    ::syscall(SYS_ioprio_set, kIoprioWhoProcess, self, (kIoprioClassBestEffort << kIoprioClassShift) | kIoprioLowest);
}

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
