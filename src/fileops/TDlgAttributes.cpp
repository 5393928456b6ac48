#include "fileops/TDlgAttributes.h"

#include "platform/FileAttributes.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QVBoxLayout>

TDlgAttributes::TDlgAttributes(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TDlgAttributes"));
    setWindowTitle(tr("Attributes"));
    setAccessibleName(windowTitle());
    auto* layout = new QVBoxLayout(this);
    m_readOnly = addBox("CBReadOnly", tr("Read only"));
    m_archive = addBox("CBArchive", tr("Archive"));
    m_hidden = addBox("CBHidden", tr("Hidden"));
    m_system = addBox("CBSystem", tr("System"));
    for (QCheckBox* box : {m_readOnly, m_archive, m_hidden, m_system})
        layout->addWidget(box);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("Buttons"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

QCheckBox* TDlgAttributes::addBox(const char* objectName, const QString& caption)
{
    auto* box = new QCheckBox(caption, this);
    box->setObjectName(QLatin1String(objectName));
    box->setAccessibleName(caption);
    return box;
}

QCheckBox* TDlgAttributes::boxOf(uint32_t bit) const
{
    switch (bit) {
    case faReadOnly: return m_readOnly;
    case faArchive: return m_archive;
    case faHidden: return m_hidden;
    case faSysFile: return m_system;
    default: break;
    }
    return nullptr;
}

// Only a mixed box offers the third state: for a uniform attribute "mixed" would
// mean nothing, and clicking must simply toggle it.
void TDlgAttributes::SetStates(const AttributeStates& states)
{
    for (uint32_t bit : AttributeSelection::kAttributeBits) {
        QCheckBox* box = boxOf(bit);
        const Qt::CheckState state = states.Of(bit);
        box->setTristate(state == Qt::PartiallyChecked);
        box->setCheckState(state);
    }
}

AttributeStates TDlgAttributes::States() const
{
    AttributeStates states;
    for (uint32_t bit : AttributeSelection::kAttributeBits)
        states.Set(bit, boxOf(bit)->checkState());
    return states;
}
