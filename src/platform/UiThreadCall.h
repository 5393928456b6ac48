// Hands work from a worker thread to the UI thread and waits for it, the way a worker
// delivers a result it must not apply itself. The wait gives up as soon as the worker
// is told to stop, so the UI thread can stop a worker without both waiting for each
// other.
#pragma once

#include <atomic>
#include <functional>

class QObject;

// Runs `work` on the thread of `context` and waits until it has run. Returns false,
// without waiting further, once `stop` becomes true; the work may then still run
// later, or never (when `context` is gone), so it must capture what it uses by value.
// Called on the context's own thread it runs the work at once.
bool RunOnUiThreadAndWait(QObject* context, std::function<void()> work, const std::atomic<bool>& stop);
