// A background copy or move on a thread of its own (see TAsyncShellThread.h).
#include "fileops/TAsyncShellThread.h"

#include "platform/FileOpFolder.h"

TAsyncShellThread::TAsyncShellThread(const TShellFileOpRecord& record, QObject* window, uint16_t id, Done done)
    : m_record(record)
    , m_window(window)
    , m_id(id)
    , m_done(std::move(done))
{
    m_record.Owner = nullptr;   // a background run has no owner window
    connect(this, &QThread::finished, this, &QObject::deleteLater);
    setStackSize(FileOpFolder::kWalkStackBytes);
    start();
}

void TAsyncShellThread::run()
{
    const int result = TShellFileOperation::Execute(m_record);
    if (!m_done)
        return;
    // Posted, not waited for: the window may be busy with a modal question of another
    // operation, and this thread has nothing left to do. The window may be destroyed
    // on its thread at any moment, so this thread never looks at it: the call goes to
    // this thread's object, which lives on the window's thread until the call has run
    // (deleteLater queues behind it), and the guard is read there.
    QMetaObject::invokeMethod(
        this, [window = m_window, done = m_done, id = m_id, result] {
            if (window)
                done(id, result);
        },
        Qt::QueuedConnection);
}
