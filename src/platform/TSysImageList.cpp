// The program-wide small-icon list (see TSysImageList.h). Icons come from the icon
// theme by MIME type; the style's standard icons stand in where the theme has none,
// so every index names a drawable icon even without a desktop (offscreen tests).
#include "TSysImageList.h"

#include "FileNames.h"

#include <QApplication>
#include <QDir>
#include <QMimeDatabase>
#include <QStyle>

#include <sys/stat.h>

namespace {

const QString kDirectoryType = QStringLiteral("inode/directory");
const QString kMountPointType = QStringLiteral("inode/mount-point");
const QString kFileType = QStringLiteral("application/octet-stream");

// The list's name for code that expects a handle; any non-zero value will do.
constexpr quintptr kHandle = 0x5D1C0;

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
    const QMimeType type = QMimeDatabase().mimeTypeForName(mimeType);
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
    // QMimeDatabase may be used from any thread. Names only: sniffing the contents of
    // every file in a folder would cost a read per file.
    const QByteArray native = EncodeFileName(path);
    if (path.endsWith(u'/'))
        return isMountPoint(native) ? kMountPointType : kDirectoryType;
    struct stat st;
    if (::stat(native.constData(), &st) == 0 && S_ISDIR(st.st_mode))
        return kDirectoryType;
    return QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchExtension).name();
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

int TSysImageList::FolderIndex() { return IndexForMimeType(kDirectoryType); }

int TSysImageList::FileIndex() { return IndexForMimeType(kFileType); }

int TSysImageList::DriveIndex() { return IndexForMimeType(kMountPointType); }

QIcon TSysImageList::Icon(int index) const { return m_icons.value(index); }

int TSysImageList::addIcon(const QIcon& icon)
{
    m_icons.append(icon);
    return int(m_icons.size() - 1);
}
