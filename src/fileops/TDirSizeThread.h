// The program's one folder-size worker: takes folders from the shared DirSizeQueue,
// measures each with DirSizeCounter and hands every result to the UI thread, waiting
// until it has been applied. It runs at the lowest priority until Stop().
#pragma once

#include "fileops/DirSizeCounter.h"

#include <QThread>
#include <atomic>
#include <functional>
#include <memory>

class DirSizeQueue;

class TDirSizeThread : public QThread {
public:
    using Delivery = std::function<void(const DirSizeResult&)>;

    // `deliver` runs on the thread of `context` (the UI thread); `queue` must outlive
    // this thread. Call start() to begin.
    TDirSizeThread(DirSizeQueue& queue, QObject* context, Delivery deliver, QObject* parent = nullptr);
    ~TDirSizeThread() override;   // stops the thread first

    // Ends the worker and waits for it. Safe on the UI thread while the worker waits
    // for that thread to apply a result: the worker gives up waiting instead. Once it
    // returns, `deliver` is not called again, even for a result already on its way.
    void Stop();

protected:
    void run() override;

private:
    DirSizeQueue& m_queue;
    QObject* m_context;
    Delivery m_deliver;
    // Shared with deliveries still queued on the UI thread, which may outlive this object.
    std::shared_ptr<std::atomic<bool>> m_stop = std::make_shared<std::atomic<bool>>(false);
};
