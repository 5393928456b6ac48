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
    // Posted, not waited for: the window may be busy with a modal question of another
    // operation, and this thread has nothing left to do. The window's own thread
    // runs the call, and drops it when the window has been destroyed meanwhile.
    QObject* window = m_window.data();
    if (!window || !m_done)
        return;
    QMetaObject::invokeMethod(
        window, [done = m_done, id = m_id, result] { done(id, result); }, Qt::QueuedConnection);
}
