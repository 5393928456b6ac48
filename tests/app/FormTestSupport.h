// Helpers for tests that drive a started main window: starting one, answering its
// message boxes and dialogs, and reading its bookmarks menu.
#pragma once

#include "app/TForm1.h"
#include "app/WindowServices.h"
#include "platform/TMessages.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <memory>
#include <vector>

// The window's services with the close question and the operation threads answered
// by the test where it sets them; the program's own otherwise.
struct ScriptedServices : WindowServices {
    std::function<int()> CloseAnswer;
    std::function<void(const TShellFileOpRecord&, uint16_t, OperationDone)> Start;

    int AskCloseQuery(QWidget* window) override
    {
        return CloseAnswer ? CloseAnswer() : WindowServices::AskCloseQuery(window);
    }
    void StartOperation(const TShellFileOpRecord& record, uint16_t id, QObject* window, OperationDone done) override
    {
        if (Start)
            Start(record, id, std::move(done));
        else
            WindowServices::StartOperation(record, id, window, std::move(done));
    }
};

// Counts the triggers of a window's command, which then no longer runs its handler.
inline std::shared_ptr<int> CountTriggers(TForm1& form, const QString& actionName)
{
    auto count = std::make_shared<int>(0);
    auto* action = form.findChild<QAction*>(actionName);
    if (!action)
        return count;
    QObject::disconnect(action, nullptr, &form, nullptr);
    QObject::connect(action, &QAction::triggered, [count] { ++*count; });
    return count;
}

inline std::unique_ptr<TForm1> StartForm(WindowServices* services = nullptr)
{
    auto form = std::make_unique<TForm1>(QStringList{}, services);
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
