// What closing the main window does for each quit setting and each answer of the
// close question, and that only the question's buttons answer it.
#include "app/CloseRules.h"
#include "app/TDlgCloseQuery.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

struct Expected {
    int answer;
    bool close;
    bool minimize;
    int quitType;
};

TEST(CloseRules, answerOfTheQuestionIsMisread)
{
    const Expected cases[] = {
        {CloseYes, true, false, 0},          {CloseNo, false, false, 0},
        {CloseMinimize, false, true, 0},     {CloseAlwaysQuit, true, false, 2},
        {CloseNeverQuit, false, false, 1},   {CloseAlwaysMinimize, false, true, 3},
        {0, true, false, 0},                 {-1, true, false, 0},   // the window closed otherwise
    };
    for (const Expected& c : cases) {
        int asked = 0;
        const CloseDecision d = CloseRules::Decide(0, [&] { ++asked; return c.answer; });
        SCOPED_TRACE(c.answer);
        EXPECT_EQ(asked, 1);
        EXPECT_EQ(d.close, c.close);
        EXPECT_EQ(d.minimize, c.minimize);
        EXPECT_EQ(d.quitType, c.quitType);
    }
}

TEST(CloseRules, storedQuitTypeStillAsks)
{
    const Expected cases[] = {
        {1, false, false, 1}, {2, true, false, 2}, {3, false, true, 3},
        {4, true, false, 4},  {-7, true, false, -7},
    };
    for (const Expected& c : cases) {
        bool asked = false;
        const CloseDecision d = CloseRules::Decide(c.answer, [&] { asked = true; return int(CloseNo); });
        SCOPED_TRACE(c.answer);
        EXPECT_FALSE(asked);
        EXPECT_EQ(d.close, c.close);
        EXPECT_EQ(d.minimize, c.minimize);
        EXPECT_EQ(d.quitType, c.quitType);
    }
}

} // namespace

TEST(CloseRules, escapeOrCloseBoxAnswersTheQuestionWithQuit)
{
    // Any result but a button's lets the window close, so Escape and the window
    // manager's close request must not end the question at all.
    TDlgCloseQuery dialog;
    bool openAfterEscape = false;
    bool openAfterClose = false;
    QTimer::singleShot(0, &dialog, [&] {
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(&dialog, &escape);
        openAfterEscape = dialog.isVisible();
        dialog.close();
        openAfterClose = dialog.isVisible();
        dialog.findChild<QPushButton*>(QStringLiteral("BitBtn1"))->click();
    });
    EXPECT_EQ(dialog.exec(), CloseNo);
    EXPECT_TRUE(openAfterEscape);
    EXPECT_TRUE(openAfterClose);
    EXPECT_FALSE(dialog.windowFlags().testFlag(Qt::WindowCloseButtonHint));
}
