// "File operation error": a copy, move, delete or rename failed at one item; the
// person chooses to skip it, skip it and every later failure, try again or cancel
// the whole operation.
#pragma once

#include "platform/FileOpObserver.h"

#include <QDialog>

// The codes the dialog ends with (done(code)); closing it any other way means Cancel.
enum FileErrorAnswer : int {
    FileErrorSkip = 20,
    FileErrorRetry,
    FileErrorCancel,
    FileErrorSkipAll,
};

class TDlgFileError : public QDialog {
    Q_OBJECT
public:
    explicit TDlgFileError(const QString& text, QWidget* parent = nullptr);

    static ErrorChoice ChoiceOf(int code);

    void reject() override;
};
