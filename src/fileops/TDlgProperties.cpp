#include "fileops/TDlgProperties.h"

#include "core/DateTexts.h"
#include "core/NumberFormat.h"
#include "fileops/DirSizeCounter.h"
#include "platform/FileNames.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QMimeDatabase>
#include <QThread>
#include <QVBoxLayout>
#include <atomic>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>

// Sums the sizes of the shown objects on its own thread: a folder may hold a whole
// disk. Lives on the UI thread; only run() works on the worker thread.
class PropertiesMeasurer final : public QThread {
    Q_OBJECT
public:
    explicit PropertiesMeasurer(const QStringList& paths)
        : m_paths(paths)
    {
        connect(this, &QThread::finished, this, &QObject::deleteLater);
    }
    void Stop() { m_stop = true; }

Q_SIGNALS:
    // Emitted on the worker thread; the queued connection carries it to the window,
    // and a window closed meanwhile is disconnected by Qt.
    void Measured(qint64 size, quint32 files, quint32 folders);

protected:
    void run() override
    {
        qint64 size = 0;
        quint32 files = 0;
        quint32 folders = 0;
        const bool several = m_paths.size() > 1;
        for (const QString& path : m_paths) {
            struct stat st;
            if (::stat(EncodeFileName(path).constData(), &st) != 0)
                continue;
            if (!S_ISDIR(st.st_mode)) {
                size += st.st_size;
                ++files;
                continue;
            }
            const std::optional<DirSizeResult> result = DirSizeCounter::Measure(path, m_stop);
            if (!result)
                return;   // stopped: the window is gone
            size += result->Size;
            files += result->FileCount;
            folders += result->DirCount + (several ? 1 : 0);
        }
        if (!m_stop)
            Q_EMIT Measured(size, files, folders);
    }

private:
    const QStringList m_paths;
    std::atomic<bool> m_stop{false};
};

namespace {

QString bytesText(qint64 size)
{
    return FormatFloat(QStringLiteral("###,##0"), double(size)) + TDlgProperties::tr(" bytes");
}

QString timeText(const struct timespec& when)
{
    const QDateTime t = QDateTime::fromMSecsSinceEpoch(qint64(when.tv_sec) * 1000 + when.tv_nsec / 1000000);
    return ShortDateText(t.date()) + QLatin1Char(' ') + t.time().toString(QStringLiteral("hh:mm:ss"));
}

QString userText(uid_t uid)
{
    if (const passwd* pw = ::getpwuid(uid))
        return QString::fromLocal8Bit(pw->pw_name);
    return QString::number(uid);
}

QString groupText(gid_t gid)
{
    if (const group* gr = ::getgrgid(gid))
        return QString::fromLocal8Bit(gr->gr_name);
    return QString::number(gid);
}

// "rwxr-x--- (750)", with s/S and t/T for the set-id and sticky bits as ls shows them.
QString permissionsText(mode_t mode)
{
    QString text = QStringLiteral("---------");
    const mode_t bits[9] = {S_IRUSR, S_IWUSR, S_IXUSR, S_IRGRP, S_IWGRP, S_IXGRP, S_IROTH, S_IWOTH, S_IXOTH};
    const char letters[] = "rwxrwxrwx";
    for (int i = 0; i < 9; ++i) {
        if (mode & bits[i])
            text[i] = QLatin1Char(letters[i]);
    }
    auto special = [&](int index, mode_t bit, char set) {
        if (mode & bit)
            text[index] = QLatin1Char((mode & bits[index]) ? set : char(set - 'a' + 'A'));
    };
    special(2, S_ISUID, 's');
    special(5, S_ISGID, 's');
    special(8, S_ISVTX, 't');
    const int octalDigits = (mode & 07000) ? 4 : 3;
    return text + QStringLiteral(" (%1)").arg(uint(mode & 07777), octalDigits, 8, QLatin1Char('0'));
}

QString parentFolder(const QString& path)
{
    const QFileInfo info(path);
    return info.absolutePath();
}

QString displayName(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    return name.isEmpty() ? path : name;
}

QString countText(quint32 count, const char* one, const char* many)
{
    return QStringLiteral("%1 ").arg(count)
           + QCoreApplication::translate("TDlgProperties", count == 1 ? one : many);
}

// Looked up when a dialog opens, not at start-up, so the text follows the installed translation.
QString calculatingText()
{
    return TDlgProperties::tr("Calculating...");
}

} // namespace

TDlgProperties::TDlgProperties(const QStringList& paths, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TDlgProperties"));
    setWindowTitle(tr("Properties"));
    setAccessibleName(windowTitle());
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);

    auto* layout = new QVBoxLayout(this);
    m_form = new QFormLayout;
    layout->addLayout(m_form);
    if (paths.size() == 1)
        addSinglePath(paths.front());
    else if (paths.size() > 1)
        addSeveralPaths(paths);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->setObjectName(QStringLiteral("Buttons"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    layout->addWidget(buttons);
}

TDlgProperties::~TDlgProperties()
{
    if (m_measurer)
        m_measurer->Stop();
}

QLabel* TDlgProperties::addRow(const QString& caption, const char* objectName, const QString& value)
{
    auto* label = new QLabel(value, this);
    label->setObjectName(QLatin1String(objectName));
    label->setAccessibleName(caption);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_form->addRow(caption + QLatin1Char(':'), label);
    return label;
}

void TDlgProperties::addSinglePath(const QString& path)
{
    const QByteArray native = EncodeFileName(path);
    struct stat st;
    // A dangling link still has properties of its own.
    const bool known = ::stat(native.constData(), &st) == 0 || ::lstat(native.constData(), &st) == 0;
    const bool folder = known && S_ISDIR(st.st_mode);

    addRow(tr("Name"), "LBName", displayName(path));
    addRow(tr("Type"), "LBType", QMimeDatabase().mimeTypeForFile(path).comment());
    addRow(tr("Location"), "LBLocation", parentFolder(path));
    if (!known) {
        addRow(tr("Size"), "LBSize", tr("unknown"));
        return;
    }
    if (folder) {
        m_size = addRow(tr("Size"), "LBSize", calculatingText());
        m_contains = addRow(tr("Contains"), "LBContains", calculatingText());
        measureInBackground({path});
    } else {
        m_size = addRow(tr("Size"), "LBSize", bytesText(st.st_size));
    }
    addRow(tr("Modified"), "LBModified", timeText(st.st_mtim));
    addRow(tr("Accessed"), "LBAccessed", timeText(st.st_atim));
    addRow(tr("Status changed"), "LBChanged", timeText(st.st_ctim));
    addRow(tr("Owner"), "LBOwner", userText(st.st_uid));
    addRow(tr("Group"), "LBGroup", groupText(st.st_gid));
    addRow(tr("Permissions"), "LBPermissions", permissionsText(st.st_mode));
}

void TDlgProperties::addSeveralPaths(const QStringList& paths)
{
    addRow(tr("Objects"), "LBObjects", tr("%1 items").arg(paths.size()));
    addRow(tr("Location"), "LBLocation", parentFolder(paths.front()));
    m_size = addRow(tr("Size"), "LBSize", calculatingText());
    m_contains = addRow(tr("Contains"), "LBContains", calculatingText());
    measureInBackground(paths);
}

void TDlgProperties::measureInBackground(const QStringList& paths)
{
    m_measurer = new PropertiesMeasurer(paths);
    connect(m_measurer.data(), &PropertiesMeasurer::Measured, this, &TDlgProperties::showMeasured);
    m_measurer->start(QThread::LowPriority);
}

void TDlgProperties::showMeasured(qint64 size, quint32 files, quint32 folders)
{
    if (m_size)
        m_size->setText(bytesText(size));
    if (m_contains)
        m_contains->setText(countText(files, QT_TR_NOOP("file"), QT_TR_NOOP("files")) + QStringLiteral(", ")
                            + countText(folders, QT_TR_NOOP("folder"), QT_TR_NOOP("folders")));
}

#include "TDlgProperties.moc"
