#include "TPasswordDlg.h"

#include "ZipDllRecords.h"
#include "ZipMessageTable.h"
#include "platform/TMessages.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

TPasswordDlg::TPasswordDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("PasswordDlg"));
    resize(344, 137);
    QFont bold(QStringLiteral("Arial"));
    bold.setBold(true);
    setFont(bold);
    m_prompt = new QLabel(this);
    m_prompt->setObjectName(QStringLiteral("Prompt"));
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("PwdEdit"));
    m_edit->setEchoMode(QLineEdit::Password);
    m_edit->setMaxLength(ZIPDLL_PASSWORD_MAX);
    m_prompt->setBuddy(m_edit);
    auto* ok = new QPushButton(ZipMessageTable::Text(ZipMessageTable::OkButton), this);
    ok->setObjectName(QStringLiteral("OKBtn"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(ZipMessageTable::Text(ZipMessageTable::CancelButton), this);
    cancel->setObjectName(QStringLiteral("CancelBtn"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_prompt);
    layout->addWidget(m_edit);
    layout->addLayout(buttons);
    if (const QScreen* screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TPasswordDlg::SetPrompt(const QString& caption, const QString& prompt)
{
    setWindowTitle(caption);
    m_prompt->setText(prompt);
    m_edit->setAccessibleName(prompt.trimmed());
    m_edit->clear();
}

QString TPasswordDlg::Password() const
{
    return m_edit->text();
}

std::optional<QString> TPasswordDlg::Ask(const QString& caption, const QString& prompt)
{
    TPasswordDlg dialog(QApplication::activeWindow());
    dialog.SetPrompt(caption, prompt);
    if (ShowModal(dialog) != QDialog::Accepted)
        return std::nullopt;
    return dialog.Password();
}
