// The one seam for modal UI: message boxes and dialogs. The program calls these
// functions; tests install a responder that answers instead of a person and reads
// the texts shown. TMessages itself links Qt Core only, so logic may warn without
// pulling in widgets; the real boxes (MessageBoxes.cpp) and ShowModal/MessageBeep
// live in dv_platform_ui.
#pragma once

#include <QString>
#include <functional>
#include <optional>

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

    // What shows a real box when no responder is installed; empty when the box was
    // closed without a button. A plain pointer, not a std::function: the UI library
    // sets it during static initialisation, before a non-trivial global here would
    // be guaranteed constructed.
    using Presenter = std::optional<MsgResult> (*)(const MessageRequest& request, QWidget* parent,
                                                   const std::function<void(QWidget* box)>& opened);
    static void SetPresenter(Presenter presenter);
};

// Shows a dialog modally and returns its result code (QDialog::Accepted, Rejected or
// a custom done() value). Tests install a responder that drives the dialog instead.
int ShowModal(QDialog& dialog);
using ModalResponder = std::function<int(QDialog&)>;
void SetModalResponder(ModalResponder responder);

// The system beep.
void MessageBeep();
