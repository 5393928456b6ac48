// The connect dialog (see TDlgConnectDrive.h).
#include "app/TDlgConnectDrive.h"

#include "platform/NetworkMounts.h"
#include "platform/TMessages.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The locations connected in this run, newest first, offered again in the combo.
QStringList& recentLocations()
{
    static QStringList locations;
    return locations;
}

constexpr int kMaxRecent = 10;

} // namespace

TDlgConnectDrive::TDlgConnectDrive(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("DlgConnectDrive"));
    setWindowTitle(tr("Connect drive"));
    setAccessibleName(tr("Connect drive"));
    auto* layout = new QVBoxLayout(this);

    auto* label = new QLabel(tr("&Location:"), this);
    label->setObjectName(QStringLiteral("LBLocation"));
    layout->addWidget(label);
    m_location = new QComboBox(this);
    m_location->setObjectName(QStringLiteral("CBLocation"));
    m_location->setAccessibleName(tr("Location"));
    m_location->setEditable(true);
    m_location->setInsertPolicy(QComboBox::NoInsert);
    m_location->addItems(recentLocations());
    m_location->setCurrentText(QString());
    m_location->lineEdit()->setPlaceholderText(QStringLiteral("smb://server/share"));
    m_location->setMinimumContentsLength(40);
    label->setBuddy(m_location);
    layout->addWidget(m_location);

    auto* examples = new QLabel(tr("For example smb://server/share, sftp://host/path, "
                                   "ftp://host/ or dav://host/path"),
                                this);
    examples->setObjectName(QStringLiteral("LBExamples"));
    layout->addWidget(examples);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("LBStatus"));
    m_status->hide();
    layout->addWidget(m_status);

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_buttons->setObjectName(QStringLiteral("Buttons"));
    connect(m_buttons, &QDialogButtonBox::accepted, this, &TDlgConnectDrive::connectClicked);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &TDlgConnectDrive::reject);
    layout->addWidget(m_buttons);

    m_run = new MountToolRun(this);
    connect(m_run, &MountToolRun::Finished, this, &TDlgConnectDrive::connectFinished);
}

bool TDlgConnectDrive::Connecting() const { return m_run->IsRunning(); }

void TDlgConnectDrive::reject()
{
    m_run->Cancel();
    setBusy(false);
    QDialog::reject();
}

void TDlgConnectDrive::setBusy(bool busy)
{
    m_location->setEnabled(!busy);
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(!busy);
    m_status->setText(busy ? tr("Connecting %1 ...").arg(m_connecting) : QString());
    m_status->setVisible(busy);
    if (busy)
        m_buttons->button(QDialogButtonBox::Cancel)->setFocus();
}

QString TDlgConnectDrive::Location() const { return m_location->currentText().trimmed(); }

void TDlgConnectDrive::SetLocation(const QString& location) { m_location->setCurrentText(location); }

void TDlgConnectDrive::connectClicked()
{
    if (m_run->IsRunning())
        return;
    m_connecting = Location();
    setBusy(true);
    m_run->StartMount(m_connecting);
}

void TDlgConnectDrive::connectFinished(const ToolResult& result)
{
    setBusy(false);
    if (!result.ok) {
        TMessages::Show(MsgKind::Error, result.errorText, MsgButtons::Ok, this);
        m_location->setFocus();
        return;
    }
    QStringList& recent = recentLocations();
    recent.removeAll(m_connecting);
    recent.prepend(m_connecting);
    while (recent.size() > kMaxRecent)
        recent.removeLast();
    accept();
}
