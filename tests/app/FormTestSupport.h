// Helpers for tests that drive a started main window: starting one, answering its
// message boxes and dialogs, and reading its bookmarks menu.
#pragma once

#include "app/TForm1.h"
#include "platform/TMessages.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <memory>
#include <vector>

inline std::unique_ptr<TForm1> StartForm()
{
    auto form = std::make_unique<TForm1>(QStringList{});
    form->show();
    form->Startup();
    QCoreApplication::processEvents();
    return form;
}

// Message boxes answered OK and kept while the object lives; declare it before the
// window, whose shutdown may still report.
struct CapturedMessages {
    std::vector<MessageRequest> shown;
    CapturedMessages()
    {
        TMessages::SetResponder([this](const MessageRequest& r) {
            shown.push_back(r);
            return MsgResult::Ok;
        });
    }
    ~CapturedMessages() { TMessages::SetResponder({}); }
};

struct ScriptedDialogs {
    explicit ScriptedDialogs(ModalResponder responder) { SetModalResponder(std::move(responder)); }
    ~ScriptedDialogs() { SetModalResponder({}); }
};

// The bookmark items, in menu order, as "name=folder".
inline QStringList BookmarkItems(TForm1& form)
{
    QStringList items;
    auto* menu = form.findChild<QMenu*>(QStringLiteral("Bookmarks"));
    if (!menu)
        return {QStringLiteral("no Bookmarks menu")};
    for (const QAction* a : menu->actions())
        if (a->objectName().startsWith(QLatin1String("bkmk")))
            items << a->objectName() + QLatin1Char('=') + a->statusTip();
    return items;
}
