// The error question of the file operations (see TDlgFileError.h).
#include "platform/TDlgFileError.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TDlgFileError::TDlgFileError(const QString& text, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TDlgFileError"));
    setWindowTitle(QStringLiteral("File operation error"));
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
    const struct {
        const char* Name;
        const char* Caption;
        FileErrorAnswer Code;
    } buttons[] = {
        {"BTNSkip", "&Skip", FileErrorSkip},
        {"BTNRetry", "&Retry", FileErrorRetry},
        {"BTNCancel", "Cancel", FileErrorCancel},
    };
    for (const auto& b : buttons) {
        auto* button = new QPushButton(QLatin1String(b.Caption), this);
        button->setObjectName(QLatin1String(b.Name));
        button->setAccessibleName(QString(QLatin1String(b.Caption)).remove(QLatin1Char('&')));
        const int code = b.Code;
        connect(button, &QPushButton::clicked, this, [this, code] { done(code); });
        row->addWidget(button);
        if (b.Code == FileErrorRetry)
            button->setDefault(true);
    }
    layout->addLayout(row);
    setMinimumWidth(420);
}

void TDlgFileError::reject() { done(FileErrorCancel); }

ErrorChoice TDlgFileError::ChoiceOf(int code)
{
    switch (code) {
    case FileErrorSkip: return ErrorChoice::Skip;
    case FileErrorRetry: return ErrorChoice::Retry;
    default: return ErrorChoice::Cancel;
    }
}
