// The file-operation engine's questions as windows (see FileOpUiObserver.h).
#include "platform/FileOpUiObserver.h"

#include "platform/FileOpJob.h"
#include "platform/TDlgFileError.h"
#include "platform/TDlgOverwrite.h"
#include "platform/TMessages.h"
#include "platform/UiThreadCall.h"

#include <QApplication>
#include <optional>

namespace {

// The box itself is tracked, never "the modal window active now": while this one
// waits, another operation's question may be on top, and a cancel of this operation
// must not answer that one.
MsgResult showTrackedMessage(FileOpJob& job, MsgKind kind, const QString& text, MsgButtons buttons, QWidget* parent)
{
    return TMessages::Show(kind, text, buttons, parent, [&job](QWidget* box) { job.TrackQuestion(box); });
}

enum : int { kYes = 1, kNo = 0 };

} // namespace

FileOpUiObserver::FileOpUiObserver(std::shared_ptr<FileOpJob> job, QWidget* owner)
    : m_job(std::move(job))
    , m_owner(owner)
{
}

void FileOpUiObserver::Progress(const FileOpProgress& progress) { m_job->PostProgress(progress); }

bool FileOpUiObserver::CancelRequested() { return m_job->Cancel.load(); }

int FileOpUiObserver::ask(const std::function<int(FileOpJob& job, QWidget* parent)>& question, int cancelled)
{
    if (m_job->Cancel)
        return cancelled;
    // Owned jointly: after a cancel the UI thread may still run this after we stopped waiting.
    auto answer = std::make_shared<std::optional<int>>();
    const std::shared_ptr<FileOpJob> job = m_job;
    const QPointer<QWidget> owner = m_owner;
    const bool ran = RunOnUiThreadAndWait(qApp, [job, owner, answer, question] {
        if (job->Cancel)
            return;   // cancelled while waiting for the UI thread: no window at all
        QWidget* parent = job->Window && job->Window->isVisible() ? job->Window.data() : owner.data();
        *answer = question(*job, parent);
    }, m_job->Cancel);
    if (!ran || !answer->has_value() || m_job->Cancel)
        return cancelled;
    return **answer;
}

OverwriteChoice FileOpUiObserver::AskOverwrite(const FileOpConflict& conflict)
{
    const int code = ask([conflict](FileOpJob& job, QWidget* parent) {
        TDlgOverwrite dialog(conflict, parent);
        job.TrackQuestion(&dialog);
        return ShowModal(dialog);
    }, OverwriteCancel);
    return TDlgOverwrite::ChoiceOf(code);
}

ErrorChoice FileOpUiObserver::AskError(const QString& text)
{
    const int code = ask([text](FileOpJob& job, QWidget* parent) {
        TDlgFileError dialog(text, parent);
        job.TrackQuestion(&dialog);
        return ShowModal(dialog);
    }, FileErrorCancel);
    return TDlgFileError::ChoiceOf(code);
}

bool FileOpUiObserver::Confirm(const QString& text)
{
    return ask([text](FileOpJob& job, QWidget* parent) {
        return showTrackedMessage(job, MsgKind::Confirmation, text, MsgButtons::YesNo, parent) == MsgResult::Yes ? kYes : kNo;
    }, kNo) == kYes;
}

void FileOpUiObserver::Inform(const QString& text)
{
    ask([text](FileOpJob& job, QWidget* parent) {
        showTrackedMessage(job, MsgKind::Warning, text, MsgButtons::Ok, parent);
        return 0;
    }, 0);
}
