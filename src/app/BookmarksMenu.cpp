#include "app/BookmarksMenu.h"

#include <QAction>
#include <QMenu>

namespace {

bool isBookmark(const QAction* item)
{
    return item->objectName().startsWith(QLatin1String("bkmk"));
}

} // namespace

BookmarksMenu::BookmarksMenu(QMenu* menu, std::function<void(const QString&)> chosen)
    : m_menu(menu)
    , m_chosen(std::move(chosen))
{
}

void BookmarksMenu::Add(const QString& folder)
{
    const QString name = QStringLiteral("bkmk%1").arg(m_menu->actions().size(), 2, 10, QLatin1Char('0'));
    QAction* item = m_menu->addAction(folder);
    item->setObjectName(name);
    item->setStatusTip(folder);
    item->setToolTip(folder);
    QObject::connect(item, &QAction::triggered, m_menu, [chosen = m_chosen, folder] { chosen(folder); });
}

void BookmarksMenu::Replace(const QStringList& folders)
{
    QList<QAction*> items = m_menu->actions();
    while (!items.isEmpty() && isBookmark(items.last())) {
        m_menu->removeAction(items.last());
        items.last()->deleteLater();
        items.removeLast();
    }
    for (const QString& folder : folders)
        Add(folder);
}

QStringList BookmarksMenu::Folders() const
{
    QStringList folders;
    for (const QAction* item : m_menu->actions())
        if (isBookmark(item))
            folders << item->statusTip();
    return folders;
}
