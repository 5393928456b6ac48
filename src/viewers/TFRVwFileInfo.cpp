#include "viewers/TFRVwFileInfo.h"

#include "core/NumberFormat.h"
#include "platform/FileNames.h"

#include <QDateTime>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QMimeDatabase>
#include <QVBoxLayout>

namespace {

QLabel* infoLabel(const QString& name, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setAccessibleName(name);
    label->setTextFormat(Qt::PlainText);      // names may hold "<"
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QString timeText(const QDateTime& time)
{
    return time.isValid() ? QLocale().toString(time, QLocale::LongFormat) : TFRVwFileInfo::tr("unknown");
}

QString permissionsText(QFile::Permissions p)
{
    const std::pair<QFile::Permission, char> bits[] = {
        {QFile::ReadOwner, 'r'}, {QFile::WriteOwner, 'w'}, {QFile::ExeOwner, 'x'},
        {QFile::ReadGroup, 'r'}, {QFile::WriteGroup, 'w'}, {QFile::ExeGroup, 'x'},
        {QFile::ReadOther, 'r'}, {QFile::WriteOther, 'w'}, {QFile::ExeOther, 'x'},
    };
    QString text;
    for (const auto& [bit, letter] : bits)
        text += p.testFlag(bit) ? QLatin1Char(letter) : QLatin1Char('-');
    return text;
}

} // namespace

TFRVwFileInfo::TFRVwFileInfo(QWidget* parent)
    : QWidget(parent)
    , m_fileDesc(infoLabel(QStringLiteral("VWFileDesc"), this))
    , m_info1(infoLabel(QStringLiteral("VWInfo1"), this))
    , m_info2(infoLabel(QStringLiteral("VWInfo2"), this))
{
    setObjectName(QStringLiteral("FRVwFileInfo"));
    QFont bold = m_fileDesc->font();
    bold.setBold(true);
    m_fileDesc->setFont(bold);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(12, 12, 12, 12);
    column->setSpacing(10);
    column->addWidget(m_fileDesc);
    column->addWidget(m_info1);
    column->addWidget(m_info2);
    column->addStretch(1);
}

void TFRVwFileInfo::ShowPath(const QString& path)
{
    const QFileInfo info(path);
    // Without following a link the frame tells what the entry itself is.
    const QMimeType type = QMimeDatabase().mimeTypeForFile(info, QMimeDatabase::MatchDefault);
    const QString name = info.fileName().isEmpty() ? path : info.fileName();
    m_fileDesc->setText(DisplayFileName(name) + QLatin1Char('\n') + type.comment());
    QStringList place;
    if (info.isSymLink())
        place << tr("Link to %1").arg(DisplayFileName(info.symLinkTarget()));
    if (info.isFile())
        place << tr("Size: %1 bytes").arg(FormatFloat(QStringLiteral(",0"), double(info.size())));
    place << tr("In %1").arg(DisplayFileName(info.absolutePath()));
    m_info1->setText(place.join(QLatin1Char('\n')));
    if (!info.exists() && !info.isSymLink()) {
        m_info2->setText(tr("It is not there any more."));
        return;
    }
    m_info2->setText(tr("Modified: %1\nAccessed: %2\nCreated: %3\nOwner: %4, group: %5\nPermissions: %6")
                         .arg(timeText(info.lastModified()), timeText(info.lastRead()), timeText(info.birthTime()),
                              info.owner(), info.group(), permissionsText(info.permissions())));
}
