// The close question: six answers, from quitting once to always minimizing. The
// dialog's result is one of the CloseAnswer codes, and only its buttons give one:
// Escape and the window manager's close request are ignored, and the window asks
// the window manager for no close box.
#pragma once

#include <QDialog>

class TDlgCloseQuery : public QDialog {
    Q_OBJECT
public:
    explicit TDlgCloseQuery(QWidget* parent = nullptr);

    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
};
