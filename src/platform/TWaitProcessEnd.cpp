#include "platform/TWaitProcessEnd.h"

#include "platform/FileNames.h"

#include <cerrno>
#include <sys/wait.h>
#include <unistd.h>

TWaitProcessEnd::TWaitProcessEnd(pid_t pid, const QString& fileName)
    : m_pid(pid)
    , m_fileName(fileName)
{
    connect(this, &QThread::finished, this, &QObject::deleteLater);
    start(QThread::LowPriority);
}

void TWaitProcessEnd::run()
{
    // No time limit: the user may keep the program open for days. Reaping the child
    // here also keeps it from lingering as a zombie.
    int status = 0;
    while (::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (!m_fileName.isEmpty())
        ::unlink(EncodeFileName(m_fileName).constData());
}
