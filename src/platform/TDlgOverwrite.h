// "Confirm file replace": the overwrite question of a copy or move, with the names,
// sizes and modification times of both files.
#pragma once

#include "platform/FileOpObserver.h"

#include <QDialog>

// The codes the dialog ends with (done(code)); closing it any other way means Cancel.
enum OverwriteAnswer : int {
    OverwriteYes = 10,
    OverwriteYesToAll,
    OverwriteNo,
    OverwriteNoToAll,
    OverwriteCancel,
};

class TDlgOverwrite : public QDialog {
    Q_OBJECT
public:
    explicit TDlgOverwrite(const FileOpConflict& conflict, QWidget* parent = nullptr);

    // The engine's answer for a code the dialog (or a test) ended with.
    static OverwriteChoice ChoiceOf(int code);

    void reject() override;
};
