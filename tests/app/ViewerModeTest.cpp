// The viewer in the running window: which pane's place it takes, the mirrored row for
// the right pane's files, the keys and button that leave it, following the current
// row, files handed to the desktop, and the item hint.
#include "AppTestSupport.h"
#include "FormTestSupport.h"
#include "app/PaneListModel.h"
#include "support/EventWait.h"
#include "support/TempDir.h"
#include "viewers/ItemHintWindow.h"
#include "viewers/TFRVwFileInfo.h"
#include "viewers/TFRVwText.h"
#include "viewers/ViewerHost.h"
#include "viewers/image/TFRVwImage.h"
#include "viewers/text/TTextView.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QHelpEvent>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QToolButton>

namespace {

struct ViewerForm {
    IsolatedConfig config;
    TempDir dir;
    std::unique_ptr<TForm1> window;
    TForm1& form;

    ViewerForm()
        : window(StartForm())
        , form(*window)
    {
        dir.makeDir("l/sub");
        dir.makeDir("r");
        QImage(40, 30, QImage::Format_RGB32).save(dir.filePath("l/pic.bmp"));
        dir.makeFile("l/notes.txt", "hello");
        dir.makeFile("l/photo.jpeg", "not really a picture");
        QImage(16, 8, QImage::Format_RGB32).save(dir.filePath("r/wide.bmp"));
        form.MoveTo(form.Left(), dir.filePath("l"), true);
        form.MoveTo(form.Right(), dir.filePath("r"), true);
        form.ActivatePane(form.Left());
    }
    void setCurrent(TDirData& pane, const QString& name)
    {
        for (int i = 0; i < pane.Count; ++i)
            if (pane.Item(i)->Name == name)
                pane.FileList->setCurrentIndex(pane.Model->index(i));
    }
    QWidget* widget(const char* name) { return form.findChild<QWidget*>(QLatin1String(name)); }
    // A key goes where the keyboard is, as the user's would.
    void press(int key)
    {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QWidget* focus = QApplication::focusWidget();
        QCoreApplication::sendEvent(focus ? focus : form.ActivePane().FileList, &event);
    }
};

TEST(ViewerMode, viewerTakesTheWrongPlaceOrStaysAfterEscape)
{
    ViewerForm f;
    f.setCurrent(f.form.Left(), "pic.bmp");
    f.form.View1Click();
    ViewerHost& viewer = f.form.Viewer();
    ASSERT_TRUE(viewer.IsShown());
    EXPECT_EQ(viewer.Views()->parentWidget(), f.widget("PanRViewer"));
    EXPECT_TRUE(viewer.ImageFrame()->isVisible());
    EXPECT_EQ(viewer.ImageFrame()->Hint(), "40x30 pixel");
    EXPECT_TRUE(f.widget("PanCenter")->isHidden());
    EXPECT_TRUE(f.form.findChild<QToolButton*>("SBViewer")->isChecked());
    EXPECT_TRUE(f.form.windowTitle().endsWith(
        "Viewer mode activated. Press Esc or F7 to exit or F6 to toggle full screen mode"))
        << f.form.windowTitle().toStdString();

    f.press(Qt::Key_Escape);
    EXPECT_FALSE(viewer.IsShown());
    EXPECT_FALSE(f.widget("PanCenter")->isHidden());
    EXPECT_FALSE(f.form.findChild<QToolButton*>("SBViewer")->isChecked());
    EXPECT_FALSE(f.form.windowTitle().contains("Viewer mode"));
    EXPECT_TRUE(f.form.isVisible());                      // Escape left the viewer, not the program

    f.press(Qt::Key_F7);                                  // on as text, off again
    EXPECT_TRUE(viewer.TextFrame()->isVisible());
    f.press(Qt::Key_F7);
    EXPECT_FALSE(viewer.IsShown());
}

TEST(ViewerMode, rightPaneFileNotMirroredOrFollowingNothing)
{
    ViewerForm f;
    f.form.ActivatePane(f.form.Right());
    f.setCurrent(f.form.Right(), "wide.bmp");
    f.form.View1Click();
    ViewerHost& viewer = f.form.Viewer();
    ASSERT_TRUE(viewer.IsShown());
    EXPECT_EQ(viewer.Views()->parentWidget(), f.widget("PanLViewer"));
    QWidget* left = f.widget("PanLeft");
    QWidget* right = f.widget("PanRight");
    f.form.resize(f.form.width() + 200, f.form.height());
    QCoreApplication::processEvents();
    EXPECT_LT(left->x(), right->x());                     // the file's pane stays at the right edge
    EXPECT_LE(std::abs(left->width() - right->width()), 4);
    EXPECT_TRUE(f.form.Right().FileList->isVisible());

    // Keys move the current row; the viewer catches up once they pause.
    f.form.ActivatePane(f.form.Left());
    f.form.SetViewerMode(f.form.Left(), false);
    f.setCurrent(f.form.Left(), "pic.bmp");
    f.form.View1Click();
    f.setCurrent(f.form.Left(), "notes.txt");
    ASSERT_TRUE(runEventsUntil([&] { return viewer.TextFrame()->isVisible(); }));
    EXPECT_EQ(viewer.TextFrame()->FileName(), f.dir.filePath("l/notes.txt"));
    f.setCurrent(f.form.Left(), "sub");
    ASSERT_TRUE(runEventsUntil([&] { return viewer.InfoFrame()->isVisible(); }));
    EXPECT_TRUE(viewer.InfoFrame()->FileDesc()->text().startsWith("sub\n"));
}

TEST(ViewerMode, unviewableFileNotHandedToTheDesktopOrLost)
{
    ViewerForm f;
    // A desktop whose only application for text writes down what it was given.
    const QString marker = f.dir.filePath("opened");
    f.dir.makeDir("data/applications");
    // Written aside and renamed, so the test never reads a half-written marker.
    const QString script = f.dir.makeFile(
        "record.sh", "#!/bin/sh\necho \"$1\" > '" + marker.toUtf8() + ".new' && mv '" + marker.toUtf8() + ".new' '" +
                         marker.toUtf8() + "'\n");
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    f.dir.makeFile("data/applications/recorder.desktop",
                   "[Desktop Entry]\nType=Application\nName=Recorder\nExec=" + script.toUtf8() + " %f\n");
    f.dir.makeFile("config/mimeapps.list", "[Default Applications]\ntext/plain=recorder.desktop\n");
    qputenv("XDG_DATA_HOME", QFile::encodeName(f.dir.filePath("data")));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(f.dir.filePath("config")));
    // No system-wide applications: this machine's picture viewer must not answer.
    qputenv("XDG_DATA_DIRS", QFile::encodeName(f.dir.makeDir("no-system-data")));

    f.form.Viewers().Find(".TXT")->Enabled = false;       // a disabled row: View goes to the desktop
    f.setCurrent(f.form.Left(), "notes.txt");
    f.form.View1Click();
    ASSERT_TRUE(runEventsUntil([&] { return QFile::exists(marker); }));
    QFile written(marker);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll().trimmed(), f.dir.filePath("l/notes.txt").toUtf8());
    EXPECT_FALSE(f.form.Viewer().IsShown());

    // ".JPEG" is not in the table: View hands it to the desktop, which has nothing for
    // it here, so it falls back to the internal viewer as text.
    f.setCurrent(f.form.Left(), "photo.jpeg");
    f.form.View1Click();
    EXPECT_TRUE(f.form.Viewer().TextFrame()->isVisible());
}

TEST(ViewerMode, hintMissingOrNotTheRowsLines)
{
    ViewerForm f;
    TDirData& pane = f.form.Left();
    int row = -1;
    for (int i = 0; i < pane.Count; ++i)
        if (pane.Item(i)->Name == "notes.txt")
            row = i;
    ASSERT_GE(row, 0);
    const QPoint at = pane.FileList->visualRect(pane.Model->index(row)).center();
    QHelpEvent help(QEvent::ToolTip, at, pane.FileList->viewport()->mapToGlobal(at));
    QCoreApplication::sendEvent(pane.FileList->viewport(), &help);
    ItemHintWindow* hint = ItemHintWindow::Current();
    ASSERT_NE(hint, nullptr);
    const QStringList lines = hint->accessibleName().split('\r');
    EXPECT_EQ(lines.value(0), "notes.txt");
    EXPECT_EQ(lines.value(2), "Size : 5 bytes");
    EXPECT_EQ(lines.value(3), "Supported");
    ItemHintWindow::Hide();
}

} // namespace

namespace {

TEST(ViewerMode, fullScreenKeysMissTheTextView)
{
    ViewerForm f;
    QByteArray lines;
    for (int i = 0; i < 500; ++i)
        lines += "line " + QByteArray::number(i) + "\n";
    f.dir.makeFile("l/long.txt", lines);
    f.form.ReadDirectory(f.form.Left());
    f.setCurrent(f.form.Left(), "long.txt");
    f.form.View1Click();
    TTextView* view = f.form.Viewer().TextFrame()->View();
    ASSERT_TRUE(runEventsUntil([&] { return !view->IsLoading() && view->LineCount() == 500; }));
    f.press(Qt::Key_F6);
    ASSERT_TRUE(f.form.InFullScreenViewer());
    f.press(Qt::Key_PageDown);                            // the hidden list must not take it
    EXPECT_GT(view->lineaora(), 0);
    f.press(Qt::Key_F6);
    EXPECT_FALSE(f.form.InFullScreenViewer());
}

} // namespace
