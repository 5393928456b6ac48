// The program-wide small-icon list (see TSysImageList.h). Icons come from the icon
// theme by MIME type; the style's standard icons stand in where the theme has none,
// so every index names a drawable icon even without a desktop (offscreen tests).
#include "TSysImageList.h"

#include "FileNames.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMimeDatabase>
#include <QMutex>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStyle>

#include <sys/stat.h>

namespace {

const QString kDirectoryType = QStringLiteral("inode/directory");
const QString kMountPointType = QStringLiteral("inode/mount-point");
const QString kFileType = QStringLiteral("application/octet-stream");

// The list's name for code that expects a handle; any non-zero value will do.
constexpr quintptr kHandle = 0x5D1C0;

// One database for the whole program: QMimeDatabase is thread-safe, and making one per
// lookup cost more than the lookup itself on a folder of thousands of files.
const QMimeDatabase& mimeDatabase()
{
    static const QMimeDatabase database;
    return database;
}

// Qt 6.4 matches every name against each glob that is not a plain suffix ("README*",
// "Makefile.*", "*~") on every lookup: 4 us a name, 65 ms for a full folder. For all
// other names the type depends only on the text from the first dot on, so it is kept
// per that text. Which names those other globs might match comes from the globs2 files
// the database itself is compiled from; without them nothing is kept.
class TypesByTail {
public:
    TypesByTail()
    {
        const QStringList files = QStandardPaths::locateAll(QStandardPaths::GenericDataLocation,
                                                            QStringLiteral("mime/globs2"));
        for (const QString& name : files) {
            QFile file(name);
            if (!file.open(QIODevice::ReadOnly))
                return;
            while (!file.atEnd()) {
                const QList<QByteArray> fields = file.readLine().trimmed().split(':');
                if (fields.size() < 3 || fields[0].startsWith('#') || fields[2].startsWith("*."))
                    continue;
                // Lower case: a name only might match, so erring towards a match is safe.
                const QString glob = QString::fromUtf8(fields[2]).toLower();
                const qsizetype first = glob.indexOf(QRegularExpression(QStringLiteral("[*?\\[]")));
                const qsizetype last = glob.lastIndexOf(QRegularExpression(QStringLiteral("[*?\\]]")));
                m_otherGlobs.push_back({first < 0 ? glob : glob.left(first), last < 0 ? glob : glob.mid(last + 1)});
            }
        }
        m_usable = !files.isEmpty();
    }

    // The text the type of `fileName` depends on, or an empty string when that is the
    // whole name.
    QString tailOf(const QString& fileName) const
    {
        const qsizetype dot = fileName.indexOf(u'.');
        if (!m_usable || dot <= 0)   // no extension, or a hidden file: the whole name counts
            return {};
        const QString lower = fileName.toLower();
        for (const Bounds& glob : m_otherGlobs)
            if (lower.startsWith(glob.Lead) && lower.endsWith(glob.Trail))
                return {};
        return fileName.mid(dot);
    }

    QString find(const QString& tail)
    {
        QMutexLocker locker(&m_lock);
        return m_byTail.value(tail);
    }

    void insert(const QString& tail, const QString& mimeType)
    {
        QMutexLocker locker(&m_lock);
        if (m_byTail.size() >= kMostTails)   // a folder of unique extensions must not grow it forever
            m_byTail.clear();
        m_byTail.insert(tail, mimeType);
    }

private:
    static constexpr qsizetype kMostTails = 4096;
    struct Bounds {
        QString Lead;    // what a matching name starts with
        QString Trail;   // and ends with
    };
    QVector<Bounds> m_otherGlobs;   // set in the constructor only
    bool m_usable = false;
    QMutex m_lock;
    QHash<QString, QString> m_byTail;   // guarded by m_lock
};

TypesByTail& typesByTail()
{
    static TypesByTail types;
    return types;
}

bool isMountPoint(const QByteArray& folder)
{
    struct stat self, parent;
    if (::stat(folder.constData(), &self) != 0 || ::stat(QByteArray(folder + "/..").constData(), &parent) != 0)
        return false;
    // Either another file system begins here, or this is "/" (its own parent).
    return self.st_dev != parent.st_dev || self.st_ino == parent.st_ino;
}

// Desktops without a theme setting (and the offscreen platform) leave the theme name
// empty, and then QIcon::fromTheme finds nothing at all.
void ensureIconTheme()
{
    if (!QIcon::themeName().isEmpty())
        return;
    QIcon::setThemeName(QDir(QStringLiteral("/usr/share/icons/Adwaita")).exists()
                            ? QStringLiteral("Adwaita") : QStringLiteral("hicolor"));
}

QStyle::StandardPixmap fallbackPixmapOf(const QString& mimeType)
{
    if (mimeType == kDirectoryType)
        return QStyle::SP_DirIcon;
    if (mimeType == kMountPointType)
        return QStyle::SP_DriveHDIcon;
    return QStyle::SP_FileIcon;
}

QIcon themeIconOf(const QString& mimeType)
{
    if (mimeType == kMountPointType)   // not in the shared MIME database
        return QIcon::fromTheme(QStringLiteral("drive-harddisk"));
    const QMimeType type = mimeDatabase().mimeTypeForName(mimeType);
    if (!type.isValid())
        return {};
    QIcon icon = QIcon::fromTheme(type.iconName());
    if (icon.isNull())
        icon = QIcon::fromTheme(type.genericIconName());
    return icon;
}

} // namespace

TSysImageList& TSysImageList::Instance()
{
    static TSysImageList list;
    return list;
}

TSysImageList::TSysImageList() { ensureIconTheme(); }

quintptr TSysImageList::Handle() const { return kHandle; }

QString TSysImageList::MimeTypeOf(const QString& path)
{
    if (path.endsWith(u'/'))
        return isMountPoint(EncodeFileName(path)) ? kMountPointType : kDirectoryType;
    struct stat st;
    if (::stat(EncodeFileName(path).constData(), &st) == 0 && S_ISDIR(st.st_mode))
        return kDirectoryType;
    return MimeTypeOfFile(path);
}

QString TSysImageList::MimeTypeOfFile(const QString& path)
{
    // The name decides wherever it says anything: reading the first bytes of every
    // file in a folder would cost an open and a read per file. Only names the globs
    // do not know ("run", "configure") are worth that read.
    const QString fileName = path.mid(path.lastIndexOf(u'/') + 1);
    TypesByTail& types = typesByTail();
    const QString tail = types.tailOf(fileName);
    if (!tail.isEmpty()) {
        QString known = types.find(tail);
        if (known.isEmpty()) {
            known = mimeDatabase().mimeTypeForFile(fileName, QMimeDatabase::MatchExtension).name();
            types.insert(tail, known);
        }
        return known;
    }
    const QMimeType byName = mimeDatabase().mimeTypeForFile(fileName, QMimeDatabase::MatchExtension);
    // A name with an extension nobody knows still says "data"; one without says nothing.
    if (!byName.isDefault() || fileName.lastIndexOf(u'.') > 0)
        return byName.name();
    const QMimeType byContent = mimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchContent);
    return byContent.isValid() ? byContent.name() : byName.name();
}

QString TSysImageList::MimeTypeOfName(const QString& fileName)
{
    const QString name = fileName.mid(fileName.lastIndexOf(u'/') + 1);
    TypesByTail& types = typesByTail();
    const QString tail = types.tailOf(name);
    if (tail.isEmpty())
        return mimeDatabase().mimeTypeForFile(name, QMimeDatabase::MatchExtension).name();
    QString known = types.find(tail);
    if (known.isEmpty()) {
        known = mimeDatabase().mimeTypeForFile(name, QMimeDatabase::MatchExtension).name();
        types.insert(tail, known);
    }
    return known;
}

int TSysImageList::IndexForMimeType(const QString& mimeType)
{
    const auto found = m_byMime.constFind(mimeType);
    if (found != m_byMime.cend())
        return found.value();
    QIcon icon = themeIconOf(mimeType);
    if (icon.isNull())
        icon = QApplication::style()->standardIcon(fallbackPixmapOf(mimeType));
    const int index = addIcon(icon);
    m_byMime.insert(mimeType, index);
    return index;
}

int TSysImageList::IndexForPath(const QString& path) { return IndexForMimeType(MimeTypeOf(path)); }

int TSysImageList::IndexForFileName(const QString& fileName) { return IndexForMimeType(MimeTypeOfName(fileName)); }

int TSysImageList::FolderIndex() { return IndexForMimeType(kDirectoryType); }

int TSysImageList::FileIndex() { return IndexForMimeType(kFileType); }

int TSysImageList::DriveIndex() { return IndexForMimeType(kMountPointType); }

QIcon TSysImageList::Icon(int index) const { return m_icons.value(index); }

int TSysImageList::addIcon(const QIcon& icon)
{
    m_icons.append(icon);
    return int(m_icons.size() - 1);
}
