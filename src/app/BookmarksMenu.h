// The bookmark items of the Bookmarks menu, after its own commands: one item per
// folder, named bkmkNN by its place in the menu, the folder as its hint.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QMenu;

class BookmarksMenu {
public:
    // `chosen` runs with the folder of the item the user picks.
    BookmarksMenu(QMenu* menu, std::function<void(const QString& folder)> chosen);

    void Add(const QString& folder);
    // The items replaced by `folders`, in that order.
    void Replace(const QStringList& folders);
    QStringList Folders() const;

private:
    QMenu* m_menu;
    std::function<void(const QString&)> m_chosen;
};
