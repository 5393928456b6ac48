#include "app/QuickDirMenu.h"

#include "app/PaneMoves.h"
#include "platform/DriveList.h"
#include "platform/FileAttributes.h"

#include <QMenu>
#include <algorithm>

namespace {

QMenu* folderMenu(QMenu* parent, const QString& caption, const QString& folder, const QuickDirMenu::Go& go)
{
    QMenu* sub = parent->addMenu(caption);
    sub->menuAction()->setStatusTip(folder);
    sub->menuAction()->setData(folder);
    QAction* here = sub->addAction(QStringLiteral("-> ") + caption);
    here->setStatusTip(folder);
    QObject::connect(here, &QAction::triggered, sub, [go, folder] { go(folder); });
    QObject::connect(sub, &QMenu::aboutToShow, sub, [sub, folder, go] { QuickDirMenu::Expand(sub, folder, go); });
    return sub;
}

} // namespace

void QuickDirMenu::Build(QMenu* menu, const QVector<TVolume>& volumes, const Go& go)
{
    menu->clear();
    for (const TVolume& v : volumes) {
        QMenu* sub = folderMenu(menu, v.mountPoint, v.mountPoint, go);
        sub->setObjectName(QStringLiteral("PopMyItem%1").arg(menu->actions().size()));
        sub->actions().first()->setText(QStringLiteral("-> ") + PaneMoves::WithTrailingSlash(v.mountPoint));
    }
}

void QuickDirMenu::Expand(QMenu* menu, const QString& folder, const Go& go)
{
    const QList<QAction*> actions = menu->actions();
    for (int i = 1; i < actions.size(); ++i) {
        menu->removeAction(actions.at(i));
        if (QMenu* sub = actions.at(i)->menu())
            sub->deleteLater();
        else
            actions.at(i)->deleteLater();
    }
    const QString base = PaneMoves::WithTrailingSlash(folder);
    for (const QString& name : SubFolders(folder)) {
        const QString path = base + name;
        if (HasSubFolder(path)) {
            folderMenu(menu, name, path, go);
        } else {
            QAction* a = menu->addAction(name);
            a->setStatusTip(path);
            QObject::connect(a, &QAction::triggered, menu, [go, path] { go(path); });
        }
    }
}

QStringList QuickDirMenu::SubFolders(const QString& folder)
{
    QStringList names;
    TDirectorySearch search(folder);
    TSearchRec rec;
    while (search.Next(rec))
        if ((rec.Attr & faDirectory) && rec.Name != QLatin1String(".."))
            names << rec.Name;
    std::sort(names.begin(), names.end(),
              [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    return names;
}

bool QuickDirMenu::HasSubFolder(const QString& folder)
{
    TDirectorySearch search(folder);
    TSearchRec rec;
    while (search.Next(rec))
        if ((rec.Attr & faDirectory) && rec.Name != QLatin1String(".."))
            return true;
    return false;
}
