#include "fileops/TDlgDescription.h"

#include "support/EventWait.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

void press(QWidget* target, Qt::Key key, const QString& text = {}, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QKeyEvent down(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(target, &down);
    QKeyEvent up(QEvent::KeyRelease, key, mods, text);
    QApplication::sendEvent(target, &up);
}

} // namespace

TEST(DescriptionsDialog, returnConfirmsInsteadOfBreakingTheLine)
{
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        TDlgDescription dialog;
        auto* memo = dialog.findChild<QPlainTextEdit*>("desc");
        ASSERT_NE(memo, nullptr);
        dialog.SetText("old");
        dialog.show();
        memo->moveCursor(QTextCursor::End);
        press(memo, Qt::Key_A, "a");
        EXPECT_EQ(dialog.Text(), "olda") << "ordinary keys still type";
        press(memo, key, "\r");
        EXPECT_EQ(dialog.Text(), "olda");
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_FALSE(dialog.isVisible());
    }
}

TEST(DescriptionsDialog, pasteMakesClipboardTextOneLineAndAppendsIt)
{
    TDlgDescription dialog;
    auto* paste = dialog.findChild<QPushButton*>("PasteClip");
    auto* memo = dialog.findChild<QPlainTextEdit*>("desc");
    ASSERT_NE(paste, nullptr);
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(paste->accessibleName(), "Paste from clipboard");
    QApplication::clipboard()->setText("two\r\nlines\tand tab");

    dialog.SetText("start ");
    dialog.SelectAll();
    paste->click();
    EXPECT_EQ(dialog.Text(), "start two  lines and tab") << "appended, not replacing the selection";

    // Ctrl+V in the memo goes the same way, at the cursor.
    dialog.SetText("x");
    memo->moveCursor(QTextCursor::End);
    memo->paste();
    EXPECT_EQ(dialog.Text(), "xtwo  lines and tab");
    EXPECT_EQ(dialog.Text().count('\n'), 0);
}

TEST(DescriptionsDialog, controlsCarryTheirNamesForScreenReaders)
{
    TDlgDescription dialog;
    EXPECT_EQ(dialog.objectName(), "TDlgDescription");
    EXPECT_EQ(dialog.windowTitle(), "Description");
    for (const char* name : {"BTNOk", "BTNCancel"})
        ASSERT_NE(dialog.findChild<QPushButton*>(name), nullptr) << name;
    EXPECT_EQ(dialog.findChild<QPushButton*>("BTNOk")->accessibleName(), "OK");
    EXPECT_EQ(dialog.findChild<QPushButton*>("BTNCancel")->accessibleName(), "Cancel");
    dialog.show();
    dialog.findChild<QPushButton*>("BTNCancel")->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST(DescriptionsDialog, nextEntryStartsWithTheFocusOffTheText)
{
    // The describe command shows one dialog for entry after entry. A click on OK leaves
    // the focus on OK; what the user types at the next entry must still land in the
    // text, replacing it.
    TDlgDescription dialog;
    auto* memo = dialog.findChild<QPlainTextEdit*>("desc");
    auto* ok = dialog.findChild<QPushButton*>("BTNOk");
    ASSERT_NE(memo, nullptr);
    ASSERT_NE(ok, nullptr);
    for (const QString old : {"first", "second"}) {
        dialog.SetText(old);
        dialog.SelectAll();
        QWidget* focused = nullptr;
        QString selected;
        QTimer::singleShot(0, &dialog, [&] {
            runEventsUntil([&] {
                QWidget* w = QApplication::focusWidget();
                return w && w->window() == &dialog;
            }, 2000);
            focused = QApplication::focusWidget();
            selected = memo->textCursor().selectedText();
            if (focused)
                press(focused, Qt::Key_N, "n");
            ok->setFocus(Qt::MouseFocusReason);   // as a click on it does
            ok->click();
        });
        EXPECT_EQ(dialog.exec(), QDialog::Accepted) << old.toStdString();
        EXPECT_EQ(focused, memo) << old.toStdString();
        EXPECT_EQ(selected, old);
        EXPECT_EQ(dialog.Text(), "n");
    }
}
