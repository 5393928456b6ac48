// The disconnect dialog (see TDlgDisconnectDrive.h).
#include "app/TDlgDisconnectDrive.h"

#include "platform/DriveList.h"
#include "platform/NetworkMounts.h"
#include "platform/TMessages.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TDlgDisconnectDrive::TDlgDisconnectDrive(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("DlgDisconnectDrive"));
    setWindowTitle(tr("Disconnect drive"));
    setAccessibleName(tr("Disconnect drive"));
    auto* layout = new QVBoxLayout(this);

    auto* label = new QLabel(tr("&Network drives:"), this);
    label->setObjectName(QStringLiteral("LBDrivesLabel"));
    layout->addWidget(label);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("LBDrives"));
    m_list->setAccessibleName(tr("Network drives"));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    label->setBuddy(m_list);
    layout->addWidget(m_list);

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_buttons->setObjectName(QStringLiteral("Buttons"));
    connect(m_buttons, &QDialogButtonBox::accepted, this, &TDlgDisconnectDrive::disconnectClicked);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &TDlgDisconnectDrive::reject);
    connect(m_list, &QListWidget::itemSelectionChanged, this, &TDlgDisconnectDrive::updateButtons);
    connect(m_list, &QListWidget::itemActivated, this, &TDlgDisconnectDrive::disconnectClicked);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("LBStatus"));
    m_status->hide();
    layout->addWidget(m_status);
    layout->addWidget(m_buttons);

    m_run = new MountToolRun(this);
    connect(m_run, &MountToolRun::Finished, this, &TDlgDisconnectDrive::disconnectFinished);

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

bool TDlgDisconnectDrive::Disconnecting() const { return m_run->IsRunning(); }

void TDlgDisconnectDrive::reject()
{
    m_run->Cancel();
    updateButtons();
    QDialog::reject();
}

void TDlgDisconnectDrive::updateButtons()
{
    const bool busy = m_run && m_run->IsRunning();
    m_list->setEnabled(!busy);
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(!busy && !SelectedMountPoint().isEmpty());
    m_status->setVisible(busy);
    m_status->setText(busy ? tr("Disconnecting %1 ...").arg(SelectedMountPoint()) : QString());
}

void TDlgDisconnectDrive::disconnectClicked()
{
    const QString target = SelectedMountPoint();
    if (target.isEmpty() || m_run->IsRunning())
        return;
    m_run->StartUnmount(target);
    updateButtons();
    if (m_run->IsRunning())
        m_buttons->button(QDialogButtonBox::Cancel)->setFocus();
}

void TDlgDisconnectDrive::disconnectFinished(const ToolResult& result)
{
    updateButtons();
    if (!result.ok) {
        TMessages::Show(MsgKind::Error, result.errorText, MsgButtons::Ok, this);
        return;
    }
    accept();
}
