// The error question of the file operations (see TDlgFileError.h).
#include "platform/TDlgFileError.h"

#include "platform/AnswerButtons.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

TDlgFileError::TDlgFileError(const QString& text, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TDlgFileError"));
    setWindowTitle(tr("File operation error"));
    setAccessibleName(windowTitle());
    auto* layout = new QVBoxLayout(this);
    auto* message = new QLabel(text, this);
    message->setObjectName(QStringLiteral("LBText"));
    message->setAccessibleName(text);
    message->setWordWrap(true);
    message->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(message);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    AddAnswerButtons(*this, *row,
                     {{"BTNSkip", QT_TRANSLATE_NOOP("AnswerButtons", "&Skip"), FileErrorSkip},
                      {"BTNSkipAll", QT_TRANSLATE_NOOP("AnswerButtons", "Skip all"), FileErrorSkipAll},
                      {"BTNRetry", QT_TRANSLATE_NOOP("AnswerButtons", "&Retry"), FileErrorRetry},
                      {"BTNCancel", QT_TRANSLATE_NOOP("AnswerButtons", "Cancel"), FileErrorCancel}},
                     FileErrorRetry);
    layout->addLayout(row);
    setMinimumWidth(420);
}

void TDlgFileError::reject() { done(FileErrorCancel); }

ErrorChoice TDlgFileError::ChoiceOf(int code)
{
    switch (code) {
    case FileErrorSkip: return ErrorChoice::Skip;
    case FileErrorSkipAll: return ErrorChoice::SkipAll;
    case FileErrorRetry: return ErrorChoice::Retry;
    default: return ErrorChoice::Cancel;
    }
}
