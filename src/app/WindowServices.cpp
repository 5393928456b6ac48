#include "app/WindowServices.h"

#include "app/TDlgCloseQuery.h"
#include "fileops/TAsyncShellThread.h"
#include "platform/TMessages.h"

int WindowServices::AskCloseQuery(QWidget* window)
{
    TDlgCloseQuery dialog(window);
    return ShowModal(dialog);
}

void WindowServices::StartOperation(const TShellFileOpRecord& record, uint16_t id, QObject* window,
                                    OperationDone done)
{
    new TAsyncShellThread(record, window, id, std::move(done));
}
