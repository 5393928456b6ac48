// What the main window hands to the world outside it: the close question and the
// thread a background copy or move runs on. The window is given one at creation;
// tests give their own to answer without a dialog or run nothing.
#pragma once

#include "platform/TShellFileOperation.h"

#include <cstdint>
#include <functional>

class QObject;
class QWidget;

class WindowServices {
public:
    // Called on the window's thread once the operation has ended.
    using OperationDone = std::function<void(uint16_t id, int result)>;

    virtual ~WindowServices() = default;

    // Asks how to close; one of the CloseAnswer codes.
    virtual int AskCloseQuery(QWidget* window);
    // Runs `record` on a thread of its own; `done` is not called once `window` is gone.
    virtual void StartOperation(const TShellFileOpRecord& record, uint16_t id, QObject* window,
                                OperationDone done);
};
