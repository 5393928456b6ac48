#include "TInputBox.h"

#include "platform/TMessages.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

TInputBox::TInputBox(const QString& title, const QString& prompt, const QString& preset, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("InputBox"));
    setWindowTitle(title);
    auto* label = new QLabel(prompt, this);
    m_edit = new QLineEdit(preset, this);
    m_edit->setObjectName(QStringLiteral("Value"));
    m_edit->setAccessibleName(prompt);
    m_edit->selectAll();
    label->setBuddy(m_edit);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_edit);
    layout->addWidget(buttons);
    setMinimumWidth(m_edit->fontMetrics().averageCharWidth() * 40);
}

QString TInputBox::Text() const
{
    return m_edit->text();
}

void TInputBox::SetText(const QString& text)
{
    m_edit->setText(text);
}

std::optional<QString> TInputBox::Ask(const QString& title, const QString& prompt, const QString& preset,
                                      QWidget* parent)
{
    TInputBox box(title, prompt, preset, parent);
    if (ShowModal(box) != QDialog::Accepted)
        return std::nullopt;
    return box.Text();
}
