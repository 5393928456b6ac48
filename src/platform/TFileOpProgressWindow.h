// The progress window of a file operation: what it does, the current file, a bar over
// the bytes, "N of M files", the time left, and Cancel. It reads the operation's latest
// progress ten times a second, so a fast engine never floods the UI thread.
// UI thread only.
#pragma once

#include "platform/FileOpObserver.h"

#include <QDialog>
#include <memory>

class FileOpJob;
class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

class TFileOpProgressWindow : public QDialog {
    Q_OBJECT
public:
    // With an owner it is modal to that window; without one it stands on its own.
    TFileOpProgressWindow(std::shared_ptr<FileOpJob> job, QWidget* owner);
    ~TFileOpProgressWindow() override;

    // "Copying", "Moving", "Deleting", "Renaming".
    static QString OperationText(FileOpKind kind);
    // "Time left: 1:05" from the work done so far; empty while there is too little to go on.
    static QString TimeLeftText(const FileOpProgress& progress);

    // Cancel, Escape and closing the window all ask the operation to stop; the window
    // goes when the operation has ended.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void refresh();
    static void setText(QLabel* label, const QString& text);

    std::shared_ptr<FileOpJob> m_job;
    QLabel* m_operation;
    QLabel* m_file;
    QProgressBar* m_bar;
    QLabel* m_files;
    QLabel* m_timeLeft;
    QPushButton* m_cancel;
    QTimer* m_timer;
};
