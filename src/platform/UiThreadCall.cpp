#include "platform/UiThreadCall.h"

#include <QMetaObject>
#include <QObject>
#include <QSemaphore>
#include <QThread>
#include <memory>

bool RunOnUiThreadAndWait(QObject* context, std::function<void()> work, const std::atomic<bool>& stop)
{
    if (!context)
        return false;
    if (QThread::currentThread() == context->thread()) {
        work();
        return true;
    }
    auto done = std::make_shared<QSemaphore>();
    QMetaObject::invokeMethod(context, [work = std::move(work), done] {
        work();
        done->release();
    }, Qt::QueuedConnection);
    // Short waits so a stop request is noticed quickly.
    while (!done->tryAcquire(1, 20))
        if (stop.load())
            return false;
    return true;
}
