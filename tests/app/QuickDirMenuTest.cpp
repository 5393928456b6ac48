// The quick-go menus on real folders: which names are offered and in what order,
// where each entry goes, and re-opening a sub-menu.
#include "app/QuickDirMenu.h"

#include "AppTestSupport.h"
#include "platform/DriveList.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QMenu>

namespace {

QStringList texts(const QMenu* menu)
{
    QStringList list;
    for (const QAction* a : menu->actions())
        list << a->text();
    return list;
}

TEST(QuickDirMenu, subFoldersUnsortedOrFilesOffered)
{
    TempDir dir;
    for (const char* name : {"b", "A", "c"})
        dir.makeDir(name);
    dir.makeFile("B.txt");
    dir.makeFile("c/only-a-file");
    EXPECT_EQ(QuickDirMenu::SubFolders(dir.path()), (QStringList{"A", "b", "c"}));
    EXPECT_TRUE(QuickDirMenu::HasSubFolder(dir.path()));
    EXPECT_FALSE(QuickDirMenu::HasSubFolder(dir.filePath("b")));
    EXPECT_FALSE(QuickDirMenu::HasSubFolder(dir.filePath("c")));
    EXPECT_TRUE(QuickDirMenu::SubFolders(dir.filePath("missing")).isEmpty());
}

TEST(QuickDirMenu, volumeEntryGoesWrongPlace)
{
    QMenu menu;
    QStringList went;
    const auto go = [&](const QString& folder) { went << folder; };
    QVector<TVolume> volumes(2);
    volumes[0].mountPoint = "/";
    volumes[1].mountPoint = "/media/usb";
    QuickDirMenu::Build(&menu, volumes, go);
    ASSERT_EQ(menu.actions().size(), 2);
    EXPECT_EQ(texts(&menu), (QStringList{"/", "/media/usb"}));
    for (int i = 0; i < 2; ++i) {
        QMenu* sub = menu.actions().at(i)->menu();
        ASSERT_NE(sub, nullptr);
        ASSERT_FALSE(sub->actions().isEmpty());
        EXPECT_EQ(sub->actions().first()->text(), i == 0 ? "-> /" : "-> /media/usb/");
        sub->actions().first()->trigger();
    }
    EXPECT_EQ(went, (QStringList{"/", "/media/usb"}));

    QuickDirMenu::Build(&menu, volumes.mid(1), go);     // rebuilt, not appended
    EXPECT_EQ(texts(&menu), QStringList{"/media/usb"});
}

TEST(QuickDirMenu, expandDuplicatesOrMisplacesFolders)
{
    TempDir dir;
    dir.makeDir("x/z");
    dir.makeDir("y");
    dir.makeFile("f");
    QMenu menu;
    QStringList went;
    QVector<TVolume> volumes(1);
    volumes[0].mountPoint = dir.path();
    QuickDirMenu::Build(&menu, volumes, [&](const QString& folder) { went << folder; });
    QMenu* top = menu.actions().at(0)->menu();
    ASSERT_NE(top, nullptr);
    Q_EMIT top->aboutToShow();
    Q_EMIT top->aboutToShow();                           // opened a second time
    QCoreApplication::processEvents();
    EXPECT_EQ(texts(top), (QStringList{"-> " + dir.path() + "/", "x", "y"}));
    ASSERT_EQ(top->actions().size(), 3);
    QMenu* x = top->actions().at(1)->menu();
    ASSERT_NE(x, nullptr);
    EXPECT_EQ(top->actions().at(2)->menu(), nullptr);

    top->actions().at(2)->trigger();                     // "y" has no sub-folder: goes at once
    ASSERT_EQ(x->actions().size(), 1);
    EXPECT_EQ(x->actions().first()->text(), "-> x");
    x->actions().first()->trigger();
    Q_EMIT x->aboutToShow();
    EXPECT_EQ(texts(x), (QStringList{"-> x", "z"}));
    x->actions().at(1)->trigger();
    EXPECT_EQ(went, (QStringList{dir.filePath("y"), dir.filePath("x"), dir.filePath("x/z")}));
}

} // namespace
