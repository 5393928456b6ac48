// Runs one copy or move in the background and reports its end to the main window.
// The thread owns a copy of the operation, so the panes can change meanwhile; it
// touches nothing else.
#pragma once

#include "platform/TShellFileOperation.h"

#include <QPointer>
#include <QThread>
#include <cstdint>
#include <functional>

class TAsyncShellThread final : public QThread {
    Q_OBJECT
public:
    // Called on the window's thread, queued, once the operation has ended (however
    // it ended). Not called when the window is gone by then.
    using Done = std::function<void(uint16_t id, int result)>;

    // Starts at once and deletes itself after the run; do not keep the pointer.
    TAsyncShellThread(const TShellFileOpRecord& record, QObject* window, uint16_t id, Done done);

protected:
    void run() override;

private:
    TShellFileOpRecord m_record;
    QPointer<QObject> m_window;
    uint16_t m_id;
    Done m_done;
};
