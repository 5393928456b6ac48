// The window a long indexing run shows after its first second: a busy animation, the
// percentage, the lines found so far, an estimate of the time left and a way to stop.
// Non-modal, owned by the view that indexes. UI thread only.
#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;

class Tabortform : public QDialog {
    Q_OBJECT
public:
    explicit Tabortform(QWidget* parent = nullptr);

    // `elapsedMsecs` since the load began; the time left assumes the rest reads as fast.
    void ShowProgress(int percent, qint64 lines, qint64 elapsedMsecs);

    static QString TimeLeft(int percent, qint64 elapsedMsecs);

Q_SIGNALS:
    // The button, or closing the window.
    void AbortRequested();

private:
    QProgressBar* m_progress;
    QLabel* m_lines;
    QLabel* m_timeLeft;
};
