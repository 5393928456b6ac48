// The real message boxes behind TMessages, modal dialogs and the beep: the widget
// half of the message seam (TMessages.h), kept apart so that TMessages links Qt Core only.
#include "platform/TMessages.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>

namespace {

// UI thread only, like the dialogs it stands in for.
ModalResponder g_modalResponder;

QMessageBox::Icon iconOf(MsgKind kind)
{
    switch (kind) {
    case MsgKind::Warning: return QMessageBox::Warning;
    case MsgKind::Error: return QMessageBox::Critical;
    case MsgKind::Information: return QMessageBox::Information;
    case MsgKind::Confirmation: return QMessageBox::Question;
    case MsgKind::Plain: break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons buttonsOf(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case MsgButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case MsgButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MsgButtons::Ok: break;
    }
    return QMessageBox::Ok;
}

std::optional<MsgResult> showBox(const MessageRequest& request, QWidget* parent,
                                 const std::function<void(QWidget* box)>& opened)
{
    QMessageBox box(iconOf(request.kind), QStringLiteral("Dorvane"), request.text,
                    buttonsOf(request.buttons), parent);
    if (opened)
        opened(&box);
    switch (box.exec()) {
    case QMessageBox::Ok: return MsgResult::Ok;
    case QMessageBox::Cancel: return MsgResult::Cancel;
    case QMessageBox::Yes: return MsgResult::Yes;
    case QMessageBox::No: return MsgResult::No;
    default: break;
    }
    return std::nullopt;
}

// Every program with windows links this file (its dialogs go through ShowModal), so
// the boxes are in place before main() without each program having to ask.
const bool g_boxesInstalled = (TMessages::SetPresenter(&showBox), true);

} // namespace

int ShowModal(QDialog& dialog)
{
    if (g_modalResponder)
        return g_modalResponder(dialog);
    return dialog.exec();
}

void SetModalResponder(ModalResponder responder) { g_modalResponder = std::move(responder); }

void MessageBeep() { QApplication::beep(); }
