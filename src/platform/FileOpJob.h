// One running file operation as the program's windows see it: the cancel flag, the
// latest progress for the progress window, and the questions it has open. Shared by
// the thread that runs the engine, the UI thread and the list of running operations.
#pragma once

#include "platform/FileOpObserver.h"

#include <QList>
#include <QPointer>
#include <QWidget>
#include <atomic>
#include <mutex>

class FileOpJob {
public:
    explicit FileOpJob(FileOpKind kind) : Kind(kind) {}

    const FileOpKind Kind;
    std::atomic<bool> Cancel{false};
    std::atomic<bool> Finished{false};

    // Any thread. Only the latest report is kept: the window shows a few a second.
    void PostProgress(const FileOpProgress& progress);
    // Any thread; false when nothing new arrived since the last call.
    bool TakeProgress(FileOpProgress& progress);

    // UI thread only: windows of this operation that a cancel must close.
    QPointer<QWidget> Window;
    void TrackQuestion(QWidget* question);
    // Closes open questions as if answered Cancel (UI thread only).
    void CloseQuestions();

private:
    std::mutex m_lock;
    FileOpProgress m_latest;   // guarded by m_lock
    bool m_fresh = false;      // guarded by m_lock
    QList<QPointer<QWidget>> m_questions;   // UI thread only
};
