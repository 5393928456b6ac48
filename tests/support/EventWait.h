// Waiting in tests for work that other threads hand to the UI thread: runs the UI
// thread's event loop until a condition holds or a time-out passes, never a fixed sleep.
#pragma once

#include <QEvent>
#include <QEventLoop>
#include <QObject>
#include <QTimer>
#include <functional>

inline bool runEventsUntil(const std::function<bool()>& done, int timeoutMsecs = 10000)
{
    if (done())
        return true;
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    QTimer::singleShot(timeoutMsecs, &loop, &QEventLoop::quit);
    poll.start(5);
    loop.exec();
    return done();
}

// A receiver of work handed over from other threads that runs `BeforeNextCall` once, just
// before the next piece of work runs: the moment a worker has handed a result over and is
// waiting for it, which a test cannot otherwise catch.
class InterceptingContext : public QObject {
public:
    std::function<void()> BeforeNextCall;

    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::MetaCall && BeforeNextCall) {
            const std::function<void()> once = std::move(BeforeNextCall);
            BeforeNextCall = nullptr;
            once();
        }
        return QObject::event(e);
    }
};
