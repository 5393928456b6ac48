// Helpers for the tests of the file commands: waiting on background work while the
// event loop runs, and scripted answers for dialogs and message boxes.
#pragma once

#include "support/EventWait.h"
#include "platform/TMessages.h"

#include <QCoreApplication>
#include <QDialog>
#include <gtest/gtest.h>
#include <deque>
#include <functional>
#include <vector>

// Runs the event loop until `done` holds or `msecs` pass. Deletions asked for outside
// any event loop (a window closed by the test) are carried out too, so objects that
// delete themselves can be seen gone.
template <class Predicate>
bool WaitUntil(Predicate done, int msecs = 10000)
{
    return runEventsUntil([&] {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return done();
    }, msecs);
}

// Answers the modal dialogs and message boxes of one test in turn and records the
// messages shown. Uninstalls itself when the test ends.
class ScriptedUi {
public:
    using DialogStep = std::function<int(QDialog&)>;

    ScriptedUi()
    {
        SetModalResponder([this](QDialog& dialog) {
            if (m_steps.empty()) {
                ADD_FAILURE() << "unscripted dialog " << dialog.windowTitle().toStdString();
                return int(QDialog::Rejected);
            }
            DialogStep step = std::move(m_steps.front());
            m_steps.pop_front();
            return step(dialog);
        });
        TMessages::SetResponder([this](const MessageRequest& request) {
            m_messages.push_back(request);
            return MsgResult::Ok;
        });
    }
    ~ScriptedUi() { SetModalResponder({}), TMessages::SetResponder({}); }

    void Then(DialogStep step) { m_steps.push_back(std::move(step)); }
    const std::vector<MessageRequest>& Messages() const { return m_messages; }

private:
    std::deque<DialogStep> m_steps;
    std::vector<MessageRequest> m_messages;
};
