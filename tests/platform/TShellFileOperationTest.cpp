// The file operation with its windows: questions reach the UI thread whichever thread
// runs it, the dialogs end with the answers their buttons name, and a cancel during a
// question neither hangs nor lets a late answer through.
#include "platform/TShellFileOperation.h"

#include "platform/FileOpJob.h"
#include "platform/FileOpUiObserver.h"
#include "platform/TDlgFileError.h"
#include "platform/TDlgOverwrite.h"
#include "platform/TFileOpProgressWindow.h"
#include "platform/TMessages.h"

#include "FileOpTestSupport.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <functional>
#include <thread>
#include <utility>

namespace {

bool onUiThread() { return QThread::currentThread() == qApp->thread(); }

// Keeps the UI thread serving a worker's questions until `done` or a time-out.
bool serveUntil(const std::atomic<bool>& done, int msecs = 10000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done && timer.elapsed() < msecs)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    return done;
}

// Runs `atQuestion` on the UI thread just before the first call a worker hands to it
// once a progress window exists: with one operation running, its pending question.
class QuestionCatcher : public QObject {
public:
    explicit QuestionCatcher(std::function<void()> atQuestion) : m_atQuestion(std::move(atQuestion))
    {
        qApp->installEventFilter(this);
    }
    ~QuestionCatcher() override { qApp->removeEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (m_atQuestion && watched == qApp && event->type() == QEvent::MetaCall) {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (qobject_cast<TFileOpProgressWindow*>(w)) {
                    std::exchange(m_atQuestion, nullptr)();
                    break;
                }
        }
        return false;
    }

private:
    std::function<void()> m_atQuestion;
};

TShellFileOpRecord record(uint32_t function, const QStringList& sources, const QString& target)
{
    TShellFileOpRecord r;
    r.Function = function;
    r.Source = sources;
    r.Target = target;
    return r;
}

TEST(TShellFileOperation, overwriteDialogOnTheUiThreadDecidesTheCopy)
{
    TempDir t;
    const QString source = t.makeFile("src/a.txt", "new content");
    t.makeFile("dst/a.txt", "old");
    QStringList texts;
    bool askedOnUiThread = false;
    int answer = OverwriteNo;
    SetModalResponder([&](QDialog& dialog) {
        askedOnUiThread = onUiThread();
        EXPECT_EQ(dialog.objectName(), QStringLiteral("TDlgOverwrite"));
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Confirm file replace"));
        for (const QLabel* label : dialog.findChildren<QLabel*>())
            texts << label->text();
        dialog.done(answer);
        return dialog.result();
    });

    TShellFileOpRecord declined = record(FO_COPY, {source}, t.filePath("dst"));
    EXPECT_EQ(TShellFileOperation::Execute(declined), kFileOpAborted);
    EXPECT_TRUE(declined.AnyOperationsAborted);
    EXPECT_EQ(readAll(t.filePath("dst/a.txt")), "old");
    EXPECT_TRUE(askedOnUiThread);
    EXPECT_TRUE(texts.join('\n').contains(QStringLiteral("11 bytes")));
    EXPECT_TRUE(texts.join('\n').contains(QStringLiteral("3 bytes")));

    answer = OverwriteYes;
    TShellFileOpRecord accepted = record(FO_COPY, {source}, t.filePath("dst"));
    EXPECT_EQ(TShellFileOperation::Execute(accepted), kFileOpDone);
    SetModalResponder({});
    EXPECT_FALSE(accepted.AnyOperationsAborted);
    EXPECT_EQ(readAll(t.filePath("dst/a.txt")), "new content");
    EXPECT_EQ(TShellFileOperation::Running(), 0);
}

TEST(TShellFileOperation, refusedRequestShowsWhyAndFails)
{
    TempDir t;
    t.makeFile("folder/inside", "x");
    QStringList shown;
    TMessages::SetResponder([&](const MessageRequest& request) {
        shown << request.text;
        return MsgResult::Ok;
    });
    TShellFileOpRecord r = record(FO_MOVE, {t.filePath("folder")}, t.filePath("folder/sub"));
    EXPECT_EQ(TShellFileOperation::Execute(r), kFileOpFailed);
    TMessages::SetResponder({});
    EXPECT_TRUE(r.AnyOperationsAborted);
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].contains(QStringLiteral("sub-folder")));
    EXPECT_FALSE(QFile::exists(t.filePath("folder/sub")));
}

TEST(TShellFileOperation, workerRunAsksOnTheUiThreadAndCancelNeverHangs)
{
    TempDir t;
    const QString doomed = t.makeFile("doomed", "x");
    bool confirmedOnUiThread = false;
    TMessages::SetResponder([&](const MessageRequest&) {
        confirmedOnUiThread = onUiThread();
        return MsgResult::Yes;
    });
    std::atomic<bool> done{false};
    int code = -1;
    std::thread deleter([&] {
        TShellFileOpRecord r = record(FO_DELETE, {doomed}, {});
        code = TShellFileOperation::Execute(r);
        done = true;
    });
    EXPECT_TRUE(serveUntil(done));
    deleter.join();
    TMessages::SetResponder({});
    EXPECT_EQ(code, kFileOpDone);
    EXPECT_TRUE(confirmedOnUiThread);
    EXPECT_FALSE(QFile::exists(doomed));

    // A question waiting for a UI thread that is busy elsewhere: the cancel answers it,
    // and no window ever shows for it.
    const QString source = t.makeFile("src/a", "new");
    t.makeFile("dst/a", "old");
    int windowsShown = 0;
    SetModalResponder([&](QDialog& dialog) {
        ++windowsShown;
        dialog.done(OverwriteYes);
        return dialog.result();
    });
    QCoreApplication::sendPostedEvents();   // the delete's window goes now, not below
    // The run's first call to the UI thread makes its window; the next one is the
    // question. The UI thread takes the cancel before it runs that one.
    bool cancelledAtQuestion = false;
    QuestionCatcher catcher([&] {
        TShellFileOperation::CancelAll();
        cancelledAtQuestion = TShellFileOperation::WaitForAll(5000);
    });
    done = false;
    std::thread copier([&] {
        TShellFileOpRecord r = record(FO_COPY, {source}, t.filePath("dst"));
        code = TShellFileOperation::Execute(r);
        done = true;
    });
    EXPECT_TRUE(serveUntil(done));
    EXPECT_TRUE(cancelledAtQuestion);
    copier.join();
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();   // the stale question must not show now either
    EXPECT_EQ(windowsShown, 0);
    EXPECT_EQ(code, kFileOpAborted);
    EXPECT_EQ(readAll(t.filePath("dst/a")), "old");

    // A "yes" that comes after the cancel does not count.
    SetModalResponder([&](QDialog& dialog) {
        TShellFileOperation::CancelAll();
        return int(OverwriteYes);
    });
    TShellFileOpRecord late = record(FO_COPY, {source}, t.filePath("dst"));
    EXPECT_EQ(TShellFileOperation::Execute(late), kFileOpAborted);
    SetModalResponder({});
    EXPECT_EQ(readAll(t.filePath("dst/a")), "old");
    EXPECT_EQ(TShellFileOperation::Running(), 0);
}

TEST(TShellFileOperation, cancelClosesOnlyTheOperationsOwnQuestion)
{
    auto first = std::make_shared<FileOpJob>(FileOpKind::Delete);
    auto second = std::make_shared<FileOpJob>(FileOpKind::Delete);
    FileOpUiObserver askFirst(first, nullptr);
    FileOpUiObserver askSecond(second, nullptr);
    auto box = [](const QString& text) -> QMessageBox* {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* b = qobject_cast<QMessageBox*>(w); b && b->isVisible() && b->text() == text)
                return b;
        return nullptr;
    };
    bool checked = false;
    bool firstClosed = false;
    bool secondStillOpen = false;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, [&] {
        if (!box(QStringLiteral("First?")) || !box(QStringLiteral("Second?")))
            return;
        check.stop();
        first->Cancel = true;
        first->CloseQuestions();
        checked = true;
        firstClosed = !box(QStringLiteral("First?"));
        secondStillOpen = box(QStringLiteral("Second?")) != nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* b = qobject_cast<QMessageBox*>(w); b && b->isVisible())
                b->reject();
    });
    check.start(5);
    // The second operation's question opens while the first one's waits, on top of it.
    QMetaObject::invokeMethod(qApp, [&] { askSecond.Confirm(QStringLiteral("Second?")); }, Qt::QueuedConnection);
    EXPECT_FALSE(askFirst.Confirm(QStringLiteral("First?")));
    EXPECT_TRUE(checked);
    EXPECT_TRUE(firstClosed);
    EXPECT_TRUE(secondStillOpen);
}

TEST(TShellFileOperation, dialogButtonsEndWithTheAnswerTheyName)
{
    const struct {
        const char* Button;
        int Code;
        OverwriteChoice Choice;
    } overwrite[] = {
        {"BTNYes", OverwriteYes, OverwriteChoice::Yes},
        {"BTNYesToAll", OverwriteYesToAll, OverwriteChoice::YesToAll},
        {"BTNNo", OverwriteNo, OverwriteChoice::No},
        {"BTNNoToAll", OverwriteNoToAll, OverwriteChoice::NoToAll},
        {"BTNCancel", OverwriteCancel, OverwriteChoice::Cancel},
    };
    for (const auto& b : overwrite) {
        TDlgOverwrite dialog(FileOpConflict{});
        auto* button = dialog.findChild<QPushButton*>(QLatin1String(b.Button));
        ASSERT_NE(button, nullptr) << b.Button;
        EXPECT_EQ(button->accessibleName(), button->text().remove(QLatin1Char('&')));
        button->click();
        EXPECT_EQ(dialog.result(), b.Code) << b.Button;
        EXPECT_EQ(TDlgOverwrite::ChoiceOf(dialog.result()), b.Choice) << b.Button;
    }
    const struct {
        const char* Button;
        int Code;
        ErrorChoice Choice;
    } error[] = {
        {"BTNSkip", FileErrorSkip, ErrorChoice::Skip},
        {"BTNSkipAll", FileErrorSkipAll, ErrorChoice::SkipAll},
        {"BTNRetry", FileErrorRetry, ErrorChoice::Retry},
        {"BTNCancel", FileErrorCancel, ErrorChoice::Cancel},
    };
    for (const auto& b : error) {
        TDlgFileError dialog(QStringLiteral("Cannot write \"/x\": No space left on device"));
        EXPECT_EQ(dialog.objectName(), QStringLiteral("TDlgFileError"));
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("File operation error"));
        auto* button = dialog.findChild<QPushButton*>(QLatin1String(b.Button));
        ASSERT_NE(button, nullptr) << b.Button;
        if (b.Choice == ErrorChoice::SkipAll) {
            EXPECT_EQ(button->text(), QStringLiteral("Skip all"));
        }
        button->click();
        EXPECT_EQ(TDlgFileError::ChoiceOf(dialog.result()), b.Choice) << b.Button;
    }
    // Escape or the close box is never taken as "yes" or "skip".
    TDlgOverwrite closed(FileOpConflict{});
    closed.reject();
    EXPECT_EQ(TDlgOverwrite::ChoiceOf(closed.result()), OverwriteChoice::Cancel);
    TDlgFileError dismissed(QStringLiteral("x"));
    dismissed.reject();
    EXPECT_EQ(TDlgFileError::ChoiceOf(dismissed.result()), ErrorChoice::Cancel);
}

TEST(TShellFileOperation, timeLeftFollowsTheWorkDoneSoFar)
{
    FileOpProgress p;
    p.BytesTotal = 1000;
    p.BytesDone = 250;
    p.ElapsedMs = 30'000;
    EXPECT_EQ(TFileOpProgressWindow::TimeLeftText(p), QStringLiteral("Time left: 1:30"));
    p.BytesDone = 1;   // too little done to say
    EXPECT_EQ(TFileOpProgressWindow::TimeLeftText(p), QString());
    p.BytesTotal = 0;   // nothing but items to count
    p.FilesTotal = 4;
    p.FilesDone = 1;
    p.ElapsedMs = 1'300'000;
    EXPECT_EQ(TFileOpProgressWindow::TimeLeftText(p), QStringLiteral("Time left: 1:05:00"));
}

} // namespace
