#include "fileops/TDlgNewDir.h"

#include "core/MatchWildcard.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

TDlgNewDir::TDlgNewDir(QWidget* parent)
    : QDialog(parent)
    , m_name(new QLineEdit(this))
    , m_zip(new QCheckBox(tr("Create zip"), this))
{
    setObjectName(QStringLiteral("TDlgNewDir"));
    setWindowTitle(tr("Create new directory/zip"));
    setAccessibleName(windowTitle());
    auto* layout = new QVBoxLayout(this);

    auto* label = new QLabel(tr("Name"), this);
    label->setObjectName(QStringLiteral("LBName"));
    label->setBuddy(m_name);
    layout->addWidget(label);

    m_name->setObjectName(QStringLiteral("EDName"));
    m_name->setAccessibleName(label->text());
    m_name->setMinimumWidth(320);
    layout->addWidget(m_name);

    m_zip->setObjectName(QStringLiteral("CBZip"));
    m_zip->setAccessibleName(m_zip->text());
    layout->addWidget(m_zip);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("Buttons"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    connect(m_name, &QLineEdit::textChanged, this, &TDlgNewDir::EDNameChange);
    m_name->setFocus();
}

QString TDlgNewDir::Name() const { return m_name->text(); }

void TDlgNewDir::SetName(const QString& name) { m_name->setText(name); }

bool TDlgNewDir::Zip() const { return m_zip->isChecked(); }

void TDlgNewDir::SetZipOnly()
{
    m_zip->setChecked(true);
    m_zip->setEnabled(false);
}

void TDlgNewDir::EDNameChange(const QString& text)
{
    if (!m_zip->isChecked() && MatchWildcard(QStringLiteral("*.zip"), text))
        m_zip->setChecked(true);
}
