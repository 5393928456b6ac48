// Answers the file-operation engine with the program's windows: progress goes to the
// operation's progress window, questions become dialogs and message boxes on the UI
// thread. Called on the engine's thread; a cancel makes every open or pending question
// answer Cancel without showing a window.
#pragma once

#include "platform/FileOpObserver.h"

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

class FileOpJob;

class FileOpUiObserver : public FileOpObserver {
public:
    FileOpUiObserver(std::shared_ptr<FileOpJob> job, QWidget* owner);

    void Progress(const FileOpProgress& progress) override;
    bool CancelRequested() override;
    OverwriteChoice AskOverwrite(const FileOpConflict& conflict) override;
    ErrorChoice AskError(const QString& text) override;
    bool Confirm(const QString& text) override;
    void Inform(const QString& text) override;

private:
    // Runs `question` on the UI thread and waits for its answer; `cancelled` when the
    // operation was cancelled before or while it was asked.
    int ask(const std::function<int(FileOpJob& job, QWidget* parent)>& question, int cancelled);

    std::shared_ptr<FileOpJob> m_job;
    QPointer<QWidget> m_owner;
};
