// The message seam without widgets (TMessages.h); the real boxes are in MessageBoxes.cpp.
#include "TMessages.h"

#include <QtDebug>

namespace {

// UI thread only, like the boxes they stand in for. Zero-initialised, so the UI
// library may set the presenter from its static initialisation in any order.
TMessages::Responder g_responder;
TMessages::Presenter g_presenter = nullptr;

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
    const MessageRequest request{kind, text, buttons};
    if (g_responder)
        return g_responder(request);
    if (g_presenter)
        return g_presenter(request, parent, opened).value_or(dismissedResult(buttons));
    // A program without windows (a tool, a benchmark) still leaves the text somewhere.
    qWarning().noquote() << text;
    return dismissedResult(buttons);
}

void TMessages::SetResponder(Responder responder) { g_responder = std::move(responder); }

void TMessages::SetPresenter(Presenter presenter) { g_presenter = presenter; }
