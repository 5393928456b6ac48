#include "app/TDlgConnectDrive.h"

#include "platform/NetworkMounts.h"
#include "platform/TMessages.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
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
    setWindowTitle(QStringLiteral("Connect drive"));
    setAccessibleName(QStringLiteral("Connect drive"));
    auto* layout = new QVBoxLayout(this);

    auto* label = new QLabel(QStringLiteral("&Location:"), this);
    label->setObjectName(QStringLiteral("LBLocation"));
    layout->addWidget(label);
    m_location = new QComboBox(this);
    m_location->setObjectName(QStringLiteral("CBLocation"));
    m_location->setAccessibleName(QStringLiteral("Location"));
    m_location->setEditable(true);
    m_location->setInsertPolicy(QComboBox::NoInsert);
    m_location->addItems(recentLocations());
    m_location->setCurrentText(QString());
    m_location->lineEdit()->setPlaceholderText(QStringLiteral("smb://server/share"));
    m_location->setMinimumContentsLength(40);
    label->setBuddy(m_location);
    layout->addWidget(m_location);

    auto* examples = new QLabel(QStringLiteral("For example smb://server/share, sftp://host/path, "
                                               "ftp://host/ or dav://host/path"),
                                this);
    examples->setObjectName(QStringLiteral("LBExamples"));
    layout->addWidget(examples);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("Buttons"));
    connect(buttons, &QDialogButtonBox::accepted, this, &TDlgConnectDrive::connectClicked);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

QString TDlgConnectDrive::Location() const { return m_location->currentText().trimmed(); }

void TDlgConnectDrive::SetLocation(const QString& location) { m_location->setCurrentText(location); }

void TDlgConnectDrive::connectClicked()
{
    const QString location = Location();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const ToolResult result = MountLocation(location);
    QApplication::restoreOverrideCursor();
    if (!result.ok) {
        TMessages::Show(MsgKind::Error, result.errorText, MsgButtons::Ok, this);
        return;
    }
    QStringList& recent = recentLocations();
    recent.removeAll(location);
    recent.prepend(location);
    while (recent.size() > kMaxRecent)
        recent.removeLast();
    accept();
}
