#include "platform/LowerCurrentThreadPriority.h"

#include <QThread>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

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
