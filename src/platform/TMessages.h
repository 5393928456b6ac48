// The one seam for modal UI: message boxes and dialogs. The program calls these
// functions; tests install a responder that answers instead of a person and reads
// the texts shown.
#pragma once

#include <QString>
#include <functional>

class QDialog;
class QWidget;

enum class MsgKind { Plain, Warning, Error, Information, Confirmation };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgResult { Ok, Cancel, Yes, No };

struct MessageRequest {
    MsgKind kind;
    QString text;
    MsgButtons buttons;
};

class TMessages {
public:
    // Shows a modal message box (or asks the installed responder).
    static MsgResult Show(MsgKind kind, const QString& text, MsgButtons buttons = MsgButtons::Ok,
                          QWidget* parent = nullptr);
    // The same, telling `opened` the box before it shows, so that whoever asked can
    // close its own box later; not called when a responder answers.
    static MsgResult Show(MsgKind kind, const QString& text, MsgButtons buttons, QWidget* parent,
                          const std::function<void(QWidget* box)>& opened);

    using Responder = std::function<MsgResult(const MessageRequest&)>;
    // Installs a responder for tests; an empty one restores real message boxes.
    static void SetResponder(Responder responder);
};

// Shows a dialog modally and returns its result code (QDialog::Accepted, Rejected or
// a custom done() value). Tests install a responder that drives the dialog instead.
int ShowModal(QDialog& dialog);
using ModalResponder = std::function<int(QDialog&)>;
void SetModalResponder(ModalResponder responder);

// The system beep.
void MessageBeep();
