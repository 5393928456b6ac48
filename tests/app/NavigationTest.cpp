// Moving the panes of a started main window over real folders: rows, parent, root,
// history buttons, the other pane's folder, and the bookmarks menu with its dialog.
#include "AppTestSupport.h"
#include "FormTestSupport.h"
#include "app/PaneListModel.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialog>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>

namespace {

// A started window with its own settings and the tree a/, b/inner/, c/, b/x.txt,
// f.txt, g.dat.
struct NavForm {
    IsolatedConfig config;
    TempDir dir;
    std::unique_ptr<TForm1> window = StartForm();
    TForm1& form = *window;

    NavForm()
    {
        dir.makeDir("a");
        dir.makeDir("b/inner");
        dir.makeDir("c");
        for (const char* file : {"b/x.txt", "f.txt", "g.dat"})
            dir.makeFile(file);
    }
    QString at(const QString& relative = {}) const
    {
        return relative.isEmpty() ? dir.path() + '/' : dir.filePath(relative) + '/';
    }
    void go(TDirData& pane, const QString& relative = {}) { form.MoveTo(pane, at(relative), true); }
};

int rowOf(const TDirData& pane, const QString& name)
{
    for (int i = 0; i < pane.DirCount + pane.FileCount; ++i)
        if (pane.Item(i)->Name == name)
            return i;
    return -1;
}

void setCurrent(TDirData& pane, const QString& name)
{
    const int row = rowOf(pane, name);
    ASSERT_GE(row, 0) << name.toStdString();
    pane.FileList->selectionModel()->setCurrentIndex(pane.Model->index(row), QItemSelectionModel::ClearAndSelect);
}

int currentRow(const TDirData& pane) { return pane.FileList->currentIndex().row(); }

QStringList listedNames(const TDirData& pane) { return EntryNames(pane).mid(0, pane.DirCount + pane.FileCount); }

TEST(Navigation, activatingFolderKeepsFilterOrEntersWrongFolder)
{
    NavForm f;
    TDirData& left = f.form.Left();
    f.go(left);
    left.FilterCombo->setEditText("*.dat");
    f.form.ReadDirectory(left);
    ASSERT_EQ(listedNames(left), (QStringList{"..", "a", "b", "c", "g.dat"}));
    f.form.ActivatePane(f.form.Right());
    setCurrent(left, "b");
    f.form.ActivateItem(left);
    EXPECT_TRUE(f.form.LeftIsActive());
    EXPECT_EQ(left.Path, f.at("b"));
    EXPECT_EQ(left.FilterCombo->currentText(), "*");
    EXPECT_EQ(listedNames(left), (QStringList{"..", "inner", "x.txt"}));
}

TEST(Navigation, parentLosesRememberedRow)
{
    NavForm f;
    TDirData& left = f.form.Left();
    f.go(left);
    setCurrent(left, "c");
    const int k = currentRow(left);
    ASSERT_EQ(k, 3);
    f.form.ActivateItem(left);
    ASSERT_EQ(left.Path, f.at("c"));
    setCurrent(left, "..");
    f.form.ActivateItem(left);
    EXPECT_EQ(left.Path, f.at());
    EXPECT_EQ(currentRow(left), k);

    setCurrent(left, "b");
    f.form.ActivateItem(left);
    ASSERT_EQ(left.Path, f.at("b"));
    f.form.GoParentButton(left);
    EXPECT_EQ(left.Path, f.at());
    EXPECT_EQ(currentRow(left), rowOf(left, "b"));
}

TEST(Navigation, parentButtonActivatesItsPane)
{
    NavForm f;
    f.go(f.form.Left(), "b/inner");
    f.go(f.form.Right(), "c");
    f.form.ActivatePane(f.form.Right());
    f.form.GoParentButton(f.form.Left());
    EXPECT_EQ(f.form.Left().Path, f.at("b"));
    EXPECT_EQ(listedNames(f.form.Left()), (QStringList{"..", "inner", "x.txt"}));
    EXPECT_FALSE(f.form.LeftIsActive());
    EXPECT_EQ(f.form.Right().Path, f.at("c"));
}

TEST(Navigation, historyButtonsOutOfStepWithPane)
{
    NavForm f;
    auto* back = f.form.findChild<QToolButton*>(QStringLiteral("NavBack"));
    auto* forward = f.form.findChild<QToolButton*>(QStringLiteral("NavForward"));
    ASSERT_TRUE(back && forward);
    TDirData& left = f.form.Left();
    const QString start = left.Path;
    EXPECT_FALSE(back->isEnabled());
    EXPECT_FALSE(forward->isEnabled());
    f.go(left);
    f.go(left, "b");
    EXPECT_TRUE(back->isEnabled());
    EXPECT_FALSE(forward->isEnabled());

    back->click();
    EXPECT_EQ(left.Path, f.at());
    EXPECT_EQ(rowOf(left, "g.dat"), 5);             // listed again, not only renamed
    EXPECT_TRUE(back->isEnabled());
    EXPECT_TRUE(forward->isEnabled());
    f.form.NavBackClick();
    EXPECT_EQ(left.Path, start);
    EXPECT_FALSE(back->isEnabled());
    f.form.NavBackClick();                           // nothing further back
    EXPECT_EQ(left.Path, start);

    forward->click();
    f.form.NavForwardClick();
    EXPECT_EQ(left.Path, f.at("b"));
    EXPECT_EQ(listedNames(left), (QStringList{"..", "inner", "x.txt"}));
    EXPECT_FALSE(forward->isEnabled());

    f.form.ActivatePane(f.form.Right());             // the buttons follow the active pane
    EXPECT_FALSE(back->isEnabled());
    f.form.ActivatePane(left);
    f.form.NavBackClick();
    f.go(left, "c");                                 // a new move drops the way forward
    EXPECT_FALSE(forward->isEnabled());
    f.form.NavBackClick();
    EXPECT_EQ(left.Path, f.at());
}

TEST(Navigation, synchronizeCopiesWrongWay)
{
    NavForm f;
    f.go(f.form.Left(), "a");
    f.go(f.form.Right(), "b");
    f.form.ActivatePane(f.form.Right());
    f.form.Synchronize1Click();
    EXPECT_EQ(f.form.Right().Path, f.at("a"));
    EXPECT_EQ(f.form.Left().Path, f.at("a"));
    EXPECT_EQ(listedNames(f.form.Right()), QStringList{".."});
    f.form.NavBackClick();
    EXPECT_EQ(f.form.Right().Path, f.at("b"));
}

TEST(Navigation, rootLeavesVolumeOrSlashGetsParent)
{
    NavForm f;
    TDirData& left = f.form.Left();
    f.go(left, "b/inner");
    QString root = VolumeRootOf(f.dir.path(), f.form.Volumes());
    if (!root.endsWith('/'))
        root += '/';
    f.form.NavRootClick();
    EXPECT_EQ(left.Path, root);
    f.form.NavBackClick();
    EXPECT_EQ(left.Path, f.at("b/inner"));

    f.form.MoveTo(left, "/", true);
    ASSERT_GT(left.Count, 0);
    EXPECT_NE(left.Item(0)->Name, "..");
    const qsizetype entries = left.History.size();
    f.form.GoParentButton(left);
    EXPECT_EQ(left.Path, "/");
    EXPECT_EQ(left.History.size(), entries);
    EXPECT_NE(left.Item(0)->Name, "..");
}

TEST(Navigation, archiveParentLandsInWrongFolder)
{
    NavForm f;
    f.dir.makeFile("b/pack.ZIP");
    TDirData& left = f.form.Left();
    f.go(left, "b");
    CapturedMessages messages;                       // the empty file is no zip: the component says so
    setCurrent(left, "pack.ZIP");
    f.form.ActivateItem(left);                       // a zip opens as a folder
    EXPECT_EQ(std::make_tuple(left.Path, left.ArchiveDepth), std::make_tuple(f.at("b/pack.ZIP"), 1));

    left.Path = f.at("b/pack.ZIP");                  // as if entered two folders inside the zip
    left.ArchiveDepth = 1;
    left.ArchivePath = "docs/sub/";
    f.form.GoParentButton(left);
    EXPECT_EQ(std::make_tuple(left.Path, left.ArchivePath, left.ArchiveDepth),
              std::make_tuple(f.at("b/pack.ZIP"), QString("docs/"), 1));
    f.form.GoParentButton(left);
    f.form.GoParentButton(left);                     // the archive's top level: out to its folder
    EXPECT_EQ(std::make_tuple(left.Path, left.ArchivePath, left.ArchiveDepth),
              std::make_tuple(f.at("b"), QString(), 0));
    EXPECT_EQ(listedNames(left), (QStringList{"..", "inner", "pack.ZIP", "x.txt"}));
}

TEST(Bookmarks, misnamedOrAddedInsideArchive)
{
    NavForm f;
    f.go(f.form.Left(), "a");
    f.form.AddbookmarkClick();
    f.go(f.form.Left(), "b");
    f.form.AddbookmarkClick();
    f.form.AddbookmarkClick();                       // duplicates are allowed
    EXPECT_EQ(BookmarkItems(f.form),
              (QStringList{"bkmk03=" + f.at("a"), "bkmk04=" + f.at("b"), "bkmk05=" + f.at("b")}));

    {
        CapturedMessages messages;
        f.form.Left().ArchiveDepth = 1;
        f.form.AddbookmarkClick();
        f.form.Left().ArchiveDepth = 0;
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text, "You can't bookmark a compressed file (yet).");
        EXPECT_EQ(messages.shown[0].kind, MsgKind::Information);
    }
    EXPECT_EQ(BookmarkItems(f.form).size(), 3);

    f.form.ActivatePane(f.form.Right());             // a bookmark moves the active pane
    auto* first = f.form.findChild<QMenu*>(QStringLiteral("Bookmarks"))->findChild<QAction*>("bkmk03");
    ASSERT_NE(first, nullptr);
    first->trigger();
    EXPECT_EQ(f.form.Right().Path, f.at("a"));
    EXPECT_EQ(f.form.Left().Path, f.at("b"));
}

TEST(Bookmarks, editedBookmarksNotRenumberedOrCancelChanges)
{
    NavForm f;
    for (const char* sub : {"a", "b", "c"}) {
        f.go(f.form.Left(), sub);
        f.form.AddbookmarkClick();
    }
    const QStringList before = BookmarkItems(f.form);
    QStringList offered;
    auto deleteRow = [&](int row, int result) {
        return [&offered, row, result](QDialog& dialog) {
            auto* list = dialog.findChild<QListWidget*>(QStringLiteral("elenco"));
            auto* del = dialog.findChild<QPushButton*>(QStringLiteral("BTNDelete"));
            if (!list || !del)
                return int(QDialog::Rejected);
            offered.clear();
            for (int i = 0; i < list->count(); ++i)
                offered << list->item(i)->text();
            list->clearSelection();
            del->click();                            // nothing selected: nothing deleted
            list->setCurrentRow(row);
            del->click();
            return result;
        };
    };
    {
        ScriptedDialogs script(deleteRow(0, QDialog::Rejected));
        f.form.Editbookmarks1Click();
    }
    EXPECT_EQ(offered, (QStringList{f.at("a"), f.at("b"), f.at("c")}));
    EXPECT_EQ(BookmarkItems(f.form), before);
    {
        ScriptedDialogs script(deleteRow(1, QDialog::Accepted));
        f.form.Editbookmarks1Click();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(BookmarkItems(f.form), (QStringList{"bkmk03=" + f.at("a"), "bkmk04=" + f.at("c")}));
    f.form.AddbookmarkClick();
    EXPECT_EQ(BookmarkItems(f.form).last(), "bkmk05=" + f.at("c"));
}

} // namespace
