// The close question: six answers, from quitting once to always minimizing. The
// dialog's result is one of the CloseAnswer codes.
#pragma once

#include <QDialog>

class TDlgCloseQuery : public QDialog {
    Q_OBJECT
public:
    explicit TDlgCloseQuery(QWidget* parent = nullptr);
};
