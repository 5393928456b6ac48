#include "fileops/TDlgRename.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

TDlgRename::TDlgRename(QWidget* parent)
    : QDialog(parent)
    , m_name(new QLineEdit(this))
{
    setObjectName(QStringLiteral("TDlgRename"));
    setWindowTitle(tr("Rename"));
    setAccessibleName(windowTitle());
    auto* layout = new QVBoxLayout(this);

    auto* label = new QLabel(tr("Rename to"), this);
    label->setObjectName(QStringLiteral("LBRenameTo"));
    label->setBuddy(m_name);
    layout->addWidget(label);

    m_name->setObjectName(QStringLiteral("EDName"));
    m_name->setAccessibleName(label->text());
    m_name->setMinimumWidth(320);
    layout->addWidget(m_name);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("Buttons"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    m_name->setFocus();
}

QString TDlgRename::Name() const { return m_name->text(); }

void TDlgRename::SetName(const QString& name)
{
    m_name->setText(name);
    m_name->selectAll();
}
