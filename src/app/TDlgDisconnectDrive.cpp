#include "app/TDlgDisconnectDrive.h"

#include "platform/DriveList.h"
#include "platform/NetworkMounts.h"
#include "platform/TMessages.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TDlgDisconnectDrive::TDlgDisconnectDrive(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("DlgDisconnectDrive"));
    setWindowTitle(QStringLiteral("Disconnect drive"));
    setAccessibleName(QStringLiteral("Disconnect drive"));
    auto* layout = new QVBoxLayout(this);

    auto* label = new QLabel(QStringLiteral("&Network drives:"), this);
    label->setObjectName(QStringLiteral("LBDrivesLabel"));
    layout->addWidget(label);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("LBDrives"));
    m_list->setAccessibleName(QStringLiteral("Network drives"));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    label->setBuddy(m_list);
    layout->addWidget(m_list);

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_buttons->setObjectName(QStringLiteral("Buttons"));
    connect(m_buttons, &QDialogButtonBox::accepted, this, &TDlgDisconnectDrive::disconnectClicked);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QListWidget::itemSelectionChanged, this, &TDlgDisconnectDrive::updateButtons);
    connect(m_list, &QListWidget::itemActivated, this, &TDlgDisconnectDrive::disconnectClicked);
    layout->addWidget(m_buttons);

    SetMountPoints(NetworkMountPoints(ListVolumes()));
}

void TDlgDisconnectDrive::SetMountPoints(const QStringList& mountPoints)
{
    m_list->clear();
    m_list->addItems(mountPoints);
    if (m_list->count() > 0)
        m_list->setCurrentRow(0);
    updateButtons();
}

QString TDlgDisconnectDrive::SelectedMountPoint() const
{
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}

void TDlgDisconnectDrive::updateButtons()
{
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(!SelectedMountPoint().isEmpty());
}

void TDlgDisconnectDrive::disconnectClicked()
{
    const QString target = SelectedMountPoint();
    if (target.isEmpty())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const ToolResult result = UnmountLocation(target);
    QApplication::restoreOverrideCursor();
    if (!result.ok) {
        TMessages::Show(MsgKind::Error, result.errorText, MsgButtons::Ok, this);
        return;
    }
    accept();
}
