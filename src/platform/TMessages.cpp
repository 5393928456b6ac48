// Message boxes, modal dialogs and the beep, each with a seam for tests (TMessages.h).
#include "TMessages.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>

namespace {

// UI thread only, like the boxes they stand in for.
TMessages::Responder g_responder;
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

// Closing the box without a button counts as the "no" answer the buttons offer.
MsgResult dismissedResult(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::Ok: return MsgResult::Ok;
    case MsgButtons::YesNo: return MsgResult::No;
    case MsgButtons::OkCancel:
    case MsgButtons::YesNoCancel: break;
    }
    return MsgResult::Cancel;
}

} // namespace

MsgResult TMessages::Show(MsgKind kind, const QString& text, MsgButtons buttons, QWidget* parent)
{
    return Show(kind, text, buttons, parent, {});
}

MsgResult TMessages::Show(MsgKind kind, const QString& text, MsgButtons buttons, QWidget* parent,
                          const std::function<void(QWidget* box)>& opened)
{
    if (g_responder)
        return g_responder(MessageRequest{kind, text, buttons});

    QMessageBox box(iconOf(kind), QStringLiteral("Dorvane"), text, buttonsOf(buttons), parent);
    if (opened)
        opened(&box);
    switch (box.exec()) {
    case QMessageBox::Ok: return MsgResult::Ok;
    case QMessageBox::Cancel: return MsgResult::Cancel;
    case QMessageBox::Yes: return MsgResult::Yes;
    case QMessageBox::No: return MsgResult::No;
    default: break;
    }
    return dismissedResult(buttons);
}

void TMessages::SetResponder(Responder responder) { g_responder = std::move(responder); }

int ShowModal(QDialog& dialog)
{
    if (g_modalResponder)
        return g_modalResponder(dialog);
    return dialog.exec();
}

void SetModalResponder(ModalResponder responder) { g_modalResponder = std::move(responder); }

void MessageBeep() { QApplication::beep(); }
