// One running file operation (see FileOpJob.h).
#include "platform/FileOpJob.h"

#include <QDialog>

void FileOpJob::PostProgress(const FileOpProgress& progress)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_latest = progress;
    m_fresh = true;
}

bool FileOpJob::TakeProgress(FileOpProgress& progress)
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (!m_fresh)
        return false;
    progress = m_latest;
    m_fresh = false;
    return true;
}

void FileOpJob::TrackQuestion(QWidget* question)
{
    m_questions.removeAll(nullptr);
    if (question)
        m_questions.append(question);
}

void FileOpJob::CloseQuestions()
{
    const QList<QPointer<QWidget>> open = m_questions;
    m_questions.clear();
    for (const QPointer<QWidget>& question : open) {
        // Our dialogs take reject() as Cancel; a message box as its "no" answer.
        if (auto* dialog = qobject_cast<QDialog*>(question.data()))
            dialog->reject();
        else if (question)
            question->close();
    }
}
