// The program's one list of folders waiting to be measured, shared by both panes (UI
// thread: Queue, Withdraw) and the size worker (Take, WaitForWork). Each request counts
// how many pane listings asked for it, so a folder shown in both panes stays queued
// until both have left it. Thread-safe: every access holds m_lock.
#pragma once

#include <QHash>
#include <QMutex>
#include <QString>
#include <QStringList>
#include <QWaitCondition>
#include <cstdint>
#include <list>

class DirSizeQueue {
public:
    // Each folder already held gets one more request, any other is appended; then the
    // worker is woken.
    void Queue(const QStringList& folders);
    // Takes back one request per folder: the last one removes the folder from the list.
    void Withdraw(const QStringList& folders);
    // Removes the first folder however many asked for it. `more`: whether others remain.
    bool Take(QString* path, bool* more);
    // Waits until woken or `msecs` have passed; true when woken. The wake-up resets
    // itself, so one Queue wakes one wait.
    bool WaitForWork(int msecs);
    // Wakes the waiting worker without adding work (so it notices a stop request).
    void Wake();

    int CountOf(const QString& path) const;   // 0 when not held
    QStringList Paths() const;                // in the order they will be taken

private:
    struct Request {
        QString Path;
        uint16_t Count;
    };
    void wakeLocked();

    mutable QMutex m_lock;
    QWaitCondition m_woken;                                       // signalled with m_lock
    bool m_signalled = false;                                     // guarded by m_lock
    std::list<Request> m_requests;                                // guarded by m_lock
    // Paths compare exactly: on Linux "Photos" and "photos" are two folders. The index
    // keeps a listing of thousands of folders from scanning the list once per folder.
    QHash<QString, std::list<Request>::iterator> m_byPath;        // guarded by m_lock
};
