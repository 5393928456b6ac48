// The quick-go menus: one entry per volume, each a sub-menu of its folders that is
// filled when it opens. A folder with sub-folders is a sub-menu whose first entry
// ("-> name") goes there; a folder without is an entry that goes there at once.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QMenu;
struct TVolume;

class QuickDirMenu {
public:
    using Go = std::function<void(const QString& folder)>;

    // Replaces the menu's entries with the volumes.
    static void Build(QMenu* menu, const QVector<TVolume>& volumes, const Go& go);
    // Refills a folder's sub-menu (all but its first entry) with the folder's sub-folders.
    static void Expand(QMenu* menu, const QString& folder, const Go& go);

    // Names of the sub-folders, sorted without regard to case.
    static QStringList SubFolders(const QString& folder);
    static bool HasSubFolder(const QString& folder);
};
