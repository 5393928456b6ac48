// The main window on the offscreen platform: start-up listings, keys in the lists,
// header clicks, the close rules, settings written at shutdown, and results that
// background work hands to the panes.
#include "app/TForm1.h"

#include "AppTestSupport.h"
#include "FormTestSupport.h"
#include "app/CellTexts.h"
#include "app/CloseRules.h"
#include "app/PaneListModel.h"
#include "app/PaneSelection.h"
#include "app/PaneSorter.h"
#include "fileops/TAsyncShellThread.h"
#include "platform/TFileOpProgressWindow.h"
#include "platform/TMessages.h"
#include "support/EventWait.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QComboBox>
#include <QLineEdit>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

// A started window with a settings folder of its own (the window goes first, so its
// settings land there) and a folder "..", d1, d2, f1 (30 bytes), f2 (20), f3 (10).
struct StartedForm {
    IsolatedConfig config;
    ScriptedServices services;
    TForm1 form{QStringList{}, &services};
    TempDir dir;

    StartedForm()
    {
        form.show();
        form.Startup();
        QCoreApplication::processEvents();
        dir.makeDir("d1");
        dir.makeDir("d2");
        for (int i = 1; i <= 3; ++i)
            dir.makeFile(QStringLiteral("f%1").arg(i), QByteArray(40 - 10 * i, 'x'));
    }
    TDirData& listTree(TDirData& pane)
    {
        pane.Path = dir.path() + QLatin1Char('/');
        form.ReadDirectory(pane);
        return pane;
    }
    void activate()
    {
        form.activateWindow();
        QApplication::setActiveWindow(&form);
        QCoreApplication::processEvents();
    }
};

void press(QObject* target, int key, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QKeyEvent event(QEvent::KeyPress, key, mods);
    QCoreApplication::sendEvent(target, &event);
}

QList<int> selectedRows(const TDirData& pane)
{
    QList<int> rows;
    for (const QModelIndex& i : pane.FileList->selectionModel()->selectedIndexes())
        rows << i.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

TEST(TForm1, startupListsAnotherFolderOrUnsorted)
{
    StartedForm f;
    const QString root = VolumeRootOf(QDir::currentPath(), ListVolumes());
    const QString expected = root.endsWith('/') ? root : root + '/';
    QStringList volumes;
    for (const TVolume& v : f.form.Volumes())
        volumes << v.mountPoint;
    EXPECT_TRUE(f.form.StartupDone());
    EXPECT_TRUE(f.form.LeftIsActive());
    for (TDirData* pane : {&f.form.Left(), &f.form.Right()}) {
        SCOPED_TRACE(pane->PaneId);
        EXPECT_EQ(pane->Path, expected);
        ASSERT_GT(pane->Count, 0);
        EXPECT_EQ(pane->Model->rowCount(), pane->Count);
        const int firstDir = expected == "/" ? 0 : 1;
        EXPECT_EQ(pane->Item(0)->Name == "..", firstDir == 1);
        for (int i = firstDir + 1; i < pane->DirCount; ++i)
            EXPECT_LE(PaneSorter::CompareDirectories(SortByName, *pane->Item(i - 1), *pane->Item(i)), 0);
        for (int i = pane->DirCount + 1; i < pane->DirCount + pane->FileCount; ++i)
            EXPECT_LE(PaneSorter::CompareFiles(SortByName, *pane->Item(i - 1), *pane->Item(i)), 0);
        EXPECT_EQ(EntryNames(*pane).mid(pane->DirCount + pane->FileCount), volumes);
    }
}

TEST(TForm1, tabActivatesTheOtherPaneOrModifiedDeleteDeletes)
{
    StartedForm f;
    f.activate();
    ASSERT_TRUE(f.form.isActiveWindow());
    f.form.Left().FileList->setFocus();
    press(f.form.Left().FileList, Qt::Key_Tab);
    EXPECT_TRUE(f.form.Right().FileList->hasFocus());
    EXPECT_TRUE(f.form.LeftIsActive());

    const auto deletes = CountTriggers(f.form, QStringLiteral("Delete1"));
    press(f.form.Left().FileList, Qt::Key_Delete, Qt::ShiftModifier);
    press(f.form.Right().FileList, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(*deletes, 0);
}

TEST(TForm1, keyboardNotInActiveListAfterStartOrRestore)
{
    // Down and Enter must work at once, without a click into a list first.
    StartedForm f;
    f.activate();
    EXPECT_EQ(QApplication::focusWidget(), f.form.Left().FileList);

    f.form.Left().FilterCombo->setFocus();
    f.form.MinimizeApplication();
    ASSERT_TRUE(runEventsUntil([&] { return f.form.IsMinimizedToTray(); }));
    f.form.RestoreApplication();
    f.activate();
    EXPECT_EQ(QApplication::focusWidget(), f.form.Left().FileList);
}

TEST(TForm1, keyPressRunsAgainForEveryWidgetItPasses)
{
    StartedForm f;
    f.activate();
    f.form.Left().FileList->setFocus();
    const auto deletes = CountTriggers(f.form, QStringLiteral("Delete1"));
    press(f.form.Left().FileList, Qt::Key_Delete);
    EXPECT_EQ(*deletes, 1);

    auto* viewer = f.form.findChild<QToolButton*>(QStringLiteral("SBViewer"));
    ASSERT_NE(viewer, nullptr);
    int toggles = 0;
    QObject::connect(viewer, &QToolButton::toggled, [&] { ++toggles; });
    press(f.form.Left().FileList, Qt::Key_F7);
    EXPECT_EQ(toggles, 1);
    // A key the list leaves alone travels up to the window: still one toggle.
    f.form.Left().FilterCombo->setFocus();
    press(f.form.Left().FilterCombo->lineEdit(), Qt::Key_F7);
    EXPECT_EQ(toggles, 2);
}

TEST(TForm1, headerClickSortsWrongOrActivatesWrongPane)
{
    StartedForm f;
    TDirData& left = f.listTree(f.form.Left());
    const QStringList drives = EntryNames(left).mid(6);
    EXPECT_EQ(EntryNames(left).mid(0, 6), (QStringList{"..", "d1", "d2", "f1", "f2", "f3"}));
    Q_EMIT left.Header->sectionClicked(0);          // already by name: the direction flips
    EXPECT_EQ(left.Ascending, 0);
    EXPECT_EQ(EntryNames(left), (QStringList{"..", "d2", "d1", "f3", "f2", "f1"} + drives));
    Q_EMIT left.Header->sectionClicked(0);
    EXPECT_EQ(left.Ascending, 1);
    Q_EMIT left.Header->sectionClicked(1);          // another column keeps the direction
    EXPECT_EQ(left.SortMode(), SortBySize);
    EXPECT_EQ(left.Ascending, 1);
    EXPECT_EQ(EntryNames(left).mid(3, 3), (QStringList{"f3", "f2", "f1"}));
    Q_EMIT left.Header->sectionClicked(2);
    EXPECT_EQ(left.SortMode(), SortByTime);
    Q_EMIT left.Header->sectionClicked(3);
    EXPECT_EQ(left.SortMode(), SortByDesc);

    Q_EMIT f.form.Right().Header->sectionClicked(1);
    EXPECT_FALSE(f.form.LeftIsActive());
    EXPECT_EQ(f.form.Right().SortMode(), SortBySize);
    EXPECT_EQ(left.SortMode(), SortByDesc);
}

TEST(TForm1, closeIgnoresQuitSetting)
{
    StartedForm f;
    int asked = 0;
    int answer = CloseNo;
    f.services.CloseAnswer = [&] { ++asked; return answer; };
    f.form.Settings().QuitType = 1;                 // never quit, never ask
    EXPECT_FALSE(f.form.close());
    f.form.Settings().QuitType = 3;                 // minimize instead
    EXPECT_FALSE(f.form.close());
    EXPECT_TRUE(f.form.isVisible());
    EXPECT_EQ(asked, 0);
    QCoreApplication::processEvents();
    EXPECT_TRUE(f.form.IsMinimizedToTray());
    f.form.RestoreApplication();

    f.form.Settings().QuitType = 0;
    EXPECT_FALSE(f.form.close());                   // "No!"
    answer = CloseAlwaysQuit;
    EXPECT_TRUE(f.form.close());
    EXPECT_FALSE(f.form.isVisible());
    EXPECT_EQ(f.form.Settings().QuitType, 2);
    EXPECT_EQ(asked, 2);

    f.form.show();
    f.form.Settings().QuitType = 1;
    f.form.Terminate();
    EXPECT_FALSE(f.form.isVisible());
}

// A copy's progress window refuses to close while the copy works, and Qt gives up a
// quit that a window refuses; the tray's "Shut down" must still end the program, not
// only hide it, with a copy in the foreground or in the background.
TEST(TForm1, shutDownDuringACopyEndsTheProgram)
{
    for (bool background : {false, true}) {
        SCOPED_TRACE(background ? "background copy" : "foreground copy");
        StartedForm f;
        TShellFileOpRecord copy;
        copy.Source = {f.dir.makeFile("src/a", "new")};
        copy.Target = f.dir.filePath("dst");
        f.dir.makeFile("dst/a", "old");
        auto* shutDown = f.form.findChild<QAction*>(QStringLiteral("Shutdown1"));
        ASSERT_NE(shutDown, nullptr);
        // Its question comes with its progress window up, as in a long copy, and the
        // person picks "Shut down" instead of answering.
        SetModalResponder([&](QDialog& question) {
            for (QWidget* widget : QApplication::allWidgets())
                if (auto* window = qobject_cast<TFileOpProgressWindow*>(widget))
                    window->show();
            shutDown->trigger();
            return question.result();
        });
        QTimer::singleShot(0, &f.form, [&] {
            if (background) {
                new TAsyncShellThread(copy, &f.form, 1, {});
            } else {
                copy.Owner = &f.form;
                TShellFileOperation::Execute(copy);
            }
        });
        QTimer giveUp;
        giveUp.setSingleShot(true);
        QObject::connect(&giveUp, &QTimer::timeout, [] { QCoreApplication::exit(1); });
        giveUp.start(10000);
        EXPECT_EQ(QApplication::exec(), 0);
        SetModalResponder({});
        EXPECT_TRUE(TShellFileOperation::WaitForAll(5000));
        QFile kept(f.dir.filePath("dst/a"));
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
        EXPECT_EQ(kept.readAll(), "old");
    }
}

TEST(TForm1, settingsWrittenBeforeStartupEnded)
{
    {
        IsolatedConfig config;
        { TForm1 form(QStringList{}); }
        EXPECT_FALSE(QFile::exists(config.HiveFile()));
    }
    IsolatedConfig config;
    {
        TForm1 form(QStringList{});
        form.show();
        form.Startup();
        form.Settings().QuitType = 3;
    }
    TRegistry::ReloadAll();
    AppSettings saved;
    ASSERT_TRUE(saved.Load());
    EXPECT_EQ(saved.QuitType, 3);
}

TEST(TForm1, selectGroupOrCopiedPathTakesWrongRows)
{
    StartedForm f;
    TDirData& left = f.listTree(f.form.Left());
    f.form.SelectGroup(left, SelectDirectories);
    EXPECT_EQ(selectedRows(left), (QList<int>{1, 2}));
    f.form.SelectGroup(left, SelectFiles);
    EXPECT_EQ(selectedRows(left), (QList<int>{3, 4, 5}));
    EXPECT_EQ(f.form.SelectionSummary(left), "Selected : 0 dirs and 3 files (60 bytes)");
    f.form.SelectGroup(left, SelectBoth);
    EXPECT_EQ(selectedRows(left), (QList<int>{1, 2, 3, 4, 5}));

    const QString path = f.dir.path() + '/';
    QItemSelectionModel* sel = left.FileList->selectionModel();
    sel->setCurrentIndex(left.Model->index(4), QItemSelectionModel::ClearAndSelect);   // a click on f2
    EXPECT_EQ(f.form.CopyPathText(), path + "f2");
    sel->clearSelection();
    EXPECT_EQ(f.form.CopyPathText(), path);
    sel->setCurrentIndex(left.Model->index(left.Count - 1), QItemSelectionModel::ClearAndSelect);
    EXPECT_EQ(f.form.CopyPathText(), path);
    f.form.ActivatePane(f.form.Right());
    EXPECT_EQ(f.form.CopyPathText(), f.form.Right().Path);
}

TEST(TForm1, deliveredResultsReachWrongRowOrCrash)
{
    StartedForm f;
    f.listTree(f.form.Left());
    TDirData& right = f.listTree(f.form.Right());
    f.form.DirSizeFound(f.dir.filePath("d1"), 3, 1, 8192, 1234);
    f.form.DirSizeFound(f.dir.filePath("d2") + '/', 0, 0, 0, 0);
    f.form.DirSizeFound(f.dir.filePath("elsewhere/d1"), 9, 9, 9, 9);
    for (TDirData* pane : {&f.form.Left(), &right}) {
        const TFileData& d1 = *pane->Item(1);
        EXPECT_EQ(std::make_tuple(d1.Size, d1.AllocatedSize, d1.FileCount, d1.DirCount, d1.SizeKnown),
                  std::make_tuple(int64_t(1234), int64_t(8192), 3u, 1u, uint8_t(1)));
        EXPECT_EQ(pane->Item(2)->Size, 0);
        EXPECT_EQ(pane->Item(2)->SizeKnown, 1);
        EXPECT_EQ(pane->Item(0)->SizeKnown, 0);     // ".."
    }

    for (auto [paneId, index] : {std::pair{3, 1}, {0, 1}, {2, -1}, {2, right.Count}})
        f.form.NewIconFound(paneId, index, 42, 9);
    for (int i = 0; i < right.Count; ++i)
        EXPECT_EQ(right.Item(i)->SysImageList, quintptr(0)) << i;
    f.form.NewIconFound(2, 3, 42, 9);
    EXPECT_EQ(right.Item(3)->SysIconIndex, 42);
    EXPECT_EQ(right.Item(3)->SysImageList, quintptr(9));
    EXPECT_EQ(f.form.Left().Item(3)->SysImageList, quintptr(0));
}

TEST(TForm1, freshStartCutsDatesAndSizesOrKeepsStoredWidths)
{
    {
        StartedForm f;                              // nothing stored: fitted to the listing
        for (TDirData* pane : {&f.form.Left(), &f.form.Right()}) {
            SCOPED_TRACE(pane->PaneId);
            const QFontMetrics fm(pane->FileList->font());
            EXPECT_GE(pane->Header->sectionSize(1), fm.horizontalAdvance(CellTexts::SizeText(999'999'999)) + 3);
            EXPECT_GE(pane->Header->sectionSize(2), fm.horizontalAdvance(EntryTexts::Time(*pane->Item(0))) + 3);
            EXPECT_EQ(pane->Header->sectionSize(2), pane->ColumnWidths[2]);
        }
    }
    IsolatedConfig config;
    SettingsStore::SaveHeaderWidths(QStringLiteral("LeftHeader"), {120, 41, 61, 900});
    TForm1 form{QStringList{}};
    form.show();
    form.Startup();
    EXPECT_EQ(form.Left().Header->sectionSize(1), 41);
    EXPECT_EQ(form.Left().Header->sectionSize(2), 61);
}

TEST(TForm1, wideDesktopFontLeavesTheWindowAtItsOldPixelSize)
{
    IsolatedConfig config;
    const QFont old = QApplication::font();
    QFont wide = old;
    wide.setPixelSize(20);
    QApplication::setFont(wide);
    const int average = QFontMetrics(wide).averageCharWidth();
    TForm1 form{QStringList{}};
    QApplication::setFont(old);
    ASSERT_GT(average, 5);
    EXPECT_GE(form.width(), 593 * average / 5 - 1);
    EXPECT_GE(form.height(), 455 * average / 5 - 1);
}

TEST(TForm1, autoSizeWidensNamesToVolumePaths)
{
    StartedForm f;
    TDirData pane(1);
    pane.FileList = f.form.Left().FileList;
    AddEntry(pane, fkFile, "short.txt");
    const QString longMount = "/media/someone/a-removable-disk-with-a-really-long-label-0123456789";
    AddEntry(pane, fkDrive, longMount);
    f.form.ComputeColumnWidths(pane);
    const QFontMetrics fm(pane.FileList->font());
    EXPECT_LT(pane.ColumnWidths[0], fm.horizontalAdvance(longMount));
    EXPECT_GE(pane.ColumnWidths[0], fm.horizontalAdvance("short.txt") + 18);
}

TEST(TForm1, listingNoticeMissingOrHiddenByHints)
{
    StartedForm f;
    auto* notice = f.form.findChild<QLabel*>(QStringLiteral("ListingNotice"));
    ASSERT_NE(notice, nullptr);
    EXPECT_FALSE(notice->isVisibleTo(&f.form));

    TDirData& left = f.form.Left();
    left.Path = f.dir.filePath("gone") + '/';     // removed while shown
    f.form.ReadDirectory(left);
    EXPECT_TRUE(notice->isVisibleTo(&f.form));
    EXPECT_EQ(notice->text(), "Cannot read " + left.Path + ": " + QString::fromLocal8Bit(std::strerror(ENOENT)) + ".");

    TempDir huge;
    for (int i = 0; i < kMaxPaneItems; ++i) {     // with "..", one entry too many
        const QByteArray name = QFile::encodeName(huge.filePath(QString::number(i)));
        const int fd = ::open(name.constData(), O_CREAT | O_WRONLY, 0644);
        ASSERT_GE(fd, 0);
        ::close(fd);
    }
    TDirData& right = f.form.Right();
    right.Path = huge.path() + '/';
    f.form.ReadDirectory(right);
    EXPECT_TRUE(notice->text().contains(QStringLiteral("Cannot read ")));
    EXPECT_TRUE(notice->text().contains(huge.path() + QStringLiteral("/ holds more than 16384 entries")));

    // Moving the mouse over a list shows the list's hint, in the same status bar.
    QStatusTipEvent hint(QStringLiteral("Selected : 0 dirs and 1 files (3 bytes)"));
    QCoreApplication::sendEvent(right.FileList, &hint);
    EXPECT_EQ(f.form.statusBar()->currentMessage(), hint.tip());
    EXPECT_TRUE(notice->isVisibleTo(&f.form));
    EXPECT_TRUE(notice->text().contains(QStringLiteral("holds more than")));

    f.listTree(left);
    f.listTree(right);
    EXPECT_FALSE(notice->isVisibleTo(&f.form));
}

} // namespace
