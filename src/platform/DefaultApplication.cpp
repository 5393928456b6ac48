// Default applications of MIME types (see DefaultApplication.h). Everything is read
// anew on each question: the user may have changed the default a moment ago, and a
// file is opened far too seldom for a cache to pay.
#include "platform/DefaultApplication.h"
#include "platform/DesktopEntry.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QSet>

namespace {

QStringList absoluteFolders(const QString& colonList)
{
    QStringList folders;
    for (const QString& folder : colonList.split(u':', Qt::SkipEmptyParts)) {
        if (QDir::isAbsolutePath(folder))
            folders << QDir::cleanPath(folder);
    }
    return folders;
}

// The XDG Base Directory variables; a relative path in them is not to be used.
QStringList xdgFolders(const char* variable, const QString& fallback)
{
    const QStringList folders = absoluteFolders(qEnvironmentVariable(variable));
    return folders.isEmpty() ? absoluteFolders(fallback) : folders;
}

QStringList configFolders()
{
    return xdgFolders("XDG_CONFIG_HOME", QDir::homePath() + QStringLiteral("/.config"))
        + xdgFolders("XDG_CONFIG_DIRS", QStringLiteral("/etc/xdg"));
}

QStringList applicationFolders()
{
    QStringList folders = xdgFolders("XDG_DATA_HOME", QDir::homePath() + QStringLiteral("/.local/share"))
        + xdgFolders("XDG_DATA_DIRS", QStringLiteral("/usr/local/share:/usr/share"));
    for (QString& folder : folders)
        folder += QStringLiteral("/applications");
    return folders;
}

QStringList currentDesktops()
{
    return qEnvironmentVariable("XDG_CURRENT_DESKTOP").toLower().split(u':', Qt::SkipEmptyParts);
}

struct AssociationFile {
    KeyFileGroups Groups;
    bool DesktopSpecific = false;   // such a file may only name defaults
};

QList<AssociationFile> readMimeappsLists()
{
    QList<AssociationFile> files;
    const QStringList desktops = currentDesktops();
    for (const QString& folder : configFolders() + applicationFolders()) {
        for (const QString& desktop : desktops)
            files.append({ReadKeyFile(folder + u'/' + desktop + QStringLiteral("-mimeapps.list")), true});
        files.append({ReadKeyFile(folder + QStringLiteral("/mimeapps.list")), false});
    }
    return files;
}

QStringList idsIn(const KeyFileGroups& groups, const QString& group, const QStringList& typeNames)
{
    QStringList ids;
    const QHash<QString, QString> keys = groups.value(group);
    for (const QString& name : typeNames) {
        for (const QString& id : keys.value(name).split(u';', Qt::SkipEmptyParts)) {
            if (!id.trimmed().isEmpty())
                ids << id.trimmed();
        }
    }
    return ids;
}

bool isInstalled(const QString& id)
{
    const QString file = DefaultApplication::LocateEntry(id);
    const std::optional<DesktopEntry> entry = file.isEmpty() ? std::nullopt : DesktopEntry::Load(file);
    return entry && !entry->Hidden && (entry->Type.isEmpty() || entry->Type == QLatin1String("Application"));
}

// mimeapps.list and mimeinfo.cache may name a type by any of its aliases.
QStringList namesOf(const QMimeType& type, const QString& requested)
{
    QStringList names{requested};
    if (type.isValid())
        names << type.name() << type.aliases();
    names.removeDuplicates();
    return names;
}

class Associations {
public:
    Associations()
        : m_lists(readMimeappsLists())
    {
        for (const QString& folder : applicationFolders())
            m_caches << ReadKeyFile(folder + QStringLiteral("/mimeinfo.cache"));
    }

    QStringList idsFor(const QStringList& typeNames) const
    {
        QStringList defaults;
        QStringList associated;
        QSet<QString> removed;
        for (const AssociationFile& list : m_lists) {
            defaults << idsIn(list.Groups, QStringLiteral("Default Applications"), typeNames);
            if (list.DesktopSpecific)
                continue;
            // A removal only hides what the same or a later file offers.
            for (const QString& id : idsIn(list.Groups, QStringLiteral("Added Associations"), typeNames)) {
                if (!removed.contains(id))
                    associated << id;
            }
            for (const QString& id : idsIn(list.Groups, QStringLiteral("Removed Associations"), typeNames))
                removed.insert(id);
        }
        for (const KeyFileGroups& cache : m_caches) {
            for (const QString& id : idsIn(cache, QStringLiteral("MIME Cache"), typeNames)) {
                if (!removed.contains(id))
                    associated << id;
            }
        }
        return defaults + associated;
    }

private:
    QList<AssociationFile> m_lists;
    QList<KeyFileGroups> m_caches;
};

QString findInFolder(const QString& folder, const QString& name)
{
    if (QFileInfo(folder + u'/' + name).isFile())
        return folder + u'/' + name;
    for (qsizetype dash = name.indexOf(u'-'); dash > 0; dash = name.indexOf(u'-', dash + 1)) {
        const QString sub = name.left(dash);
        if (sub == QLatin1String(".") || sub == QLatin1String("..") || !QFileInfo(folder + u'/' + sub).isDir())
            continue;
        const QString found = findInFolder(folder + u'/' + sub, name.mid(dash + 1));
        if (!found.isEmpty())
            return found;
    }
    return {};
}

} // namespace

QStringList DefaultApplication::Candidates(const QString& mimeType)
{
    const QMimeDatabase database;
    const QMimeType type = database.mimeTypeForName(mimeType);
    const Associations associations;
    QStringList ids = associations.idsFor(namesOf(type, mimeType));
    for (const QString& ancestor : type.allAncestors()) {
        if (ancestor != QLatin1String("application/octet-stream"))
            ids << associations.idsFor(namesOf(database.mimeTypeForName(ancestor), ancestor));
    }
    ids.removeDuplicates();
    QStringList installed;
    for (const QString& id : std::as_const(ids)) {
        if (isInstalled(id))
            installed << id;
    }
    return installed;
}

QString DefaultApplication::For(const QString& mimeType) { return Candidates(mimeType).value(0); }

QString DefaultApplication::LocateEntry(const QString& id)
{
    if (id.isEmpty() || id.contains(u'/'))
        return {};
    for (const QString& folder : applicationFolders()) {
        const QString file = findInFolder(folder, id);
        if (!file.isEmpty())
            return file;
    }
    return {};
}
