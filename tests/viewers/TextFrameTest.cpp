// The text frame's tools: the search window's results and what a click on one shows,
// printing the selected lines to a PDF with page numbers, and editing a file that
// holds control bytes.
#include "platform/TMessages.h"
#include "support/EventWait.h"
#include "support/TempDir.h"
#include "viewers/TFRVwText.h"
#include "viewers/text/TSearchwin.h"
#include "viewers/text/TTextView.h"
#include "viewers/text/Teditorform.h"
#include "viewers/text/TextPrinter.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QToolButton>
#include <sys/resource.h>

namespace {

struct LoadedFrame {
    TFRVwText frame;
    explicit LoadedFrame(const QString& path)
    {
        frame.resize(500, 300);
        frame.show();
        int loads = 0;
        QObject::connect(frame.View(), &TTextView::Loaded, [&loads] { ++loads; });
        frame.SetFileName(path);
        runEventsUntil([&] { return loads > 0; }, 30000);
    }
};

TEST(TSearchwin, overlappingHitsMissingOrClickShowsAnotherPlace)
{
    TempDir dir;
    const QString file = dir.makeFile("a.txt", "first line\n\txaaaa\nAA\n");
    LoadedFrame f(file);
    f.frame.View()->SetLastSearchText("aa");
    TSearchwin* search = TSearchwin::Open(f.frame.View());
    ASSERT_NE(search, nullptr);
    EXPECT_EQ(TSearchwin::Open(f.frame.View()), nullptr);        // one window only
    ASSERT_TRUE(runEventsUntil([&] { return !search->Status()->text().startsWith("Searching"); }));
    EXPECT_EQ(search->Status()->text(), "4 matches..");
    QStringList rows;
    for (int i = 0; i < search->ListBox1()->model()->rowCount(); ++i)
        rows << search->ListBox1()->model()->index(i, 0).data().toString();
    EXPECT_EQ(rows, (QStringList{"1,10", "1,11", "1,12", "2,1"}));   // a tab before them: columns from 9
    search->ShowResult(1);
    EXPECT_EQ(f.frame.View()->lineaora(), 1);
    EXPECT_EQ(f.frame.View()->SelectionStart().Line, 1);

    search->Edit1()->setText("zz");
    Q_EMIT search->Edit1()->textEdited("zz");
    EXPECT_EQ(search->ListBox1()->model()->rowCount(), 0);
    EXPECT_EQ(search->Status()->text(), "Enter to search!");
    EXPECT_EQ(f.frame.View()->LastSearchText(), "zz");
    search->close();
}

TEST(TSearchwin, tensOfMillionsOfHitsStayCompactAndTheWindowAnswers)
{
    TempDir dir;
    const QString path = dir.filePath("e.txt");
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        const QByteArray line = QByteArray(63, 'e') + '\n';
        const QByteArray block = line.repeated(16384);   // 1 MiB
        for (int i = 0; i < 32; ++i)
            ASSERT_EQ(file.write(block), block.size());
    }
    LoadedFrame f(path);
    f.frame.View()->SetLastSearchText("e");
    struct rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    const long before = usage.ru_maxrss;
    TSearchwin* search = TSearchwin::Open(f.frame.View());
    ASSERT_NE(search, nullptr);
    bool finished = false;
    QObject::connect(search, &TSearchwin::Finished, [&] { finished = true; });
    ASSERT_TRUE(runEventsUntil([&] { return finished; }, 120000));
    const qint64 hits = 32LL * 16384 * 63;
    EXPECT_EQ(search->Status()->text(), QString::number(hits) + " matches..");
    EXPECT_EQ(search->ListBox1()->model()->index(int(hits - 1), 0).data().toString(), "524287,63");

    bool answered = false;
    QTimer::singleShot(0, search, [&] { answered = true; });
    EXPECT_TRUE(runEventsUntil([&] { return answered; }));
    ::getrusage(RUSAGE_SELF, &usage);
    // A hit is 8 bytes; the rest is the file's pages and the allocator's slack, which
    // vary with the machine's load. A list item per hit cost about 270.
    EXPECT_LT(double(usage.ru_maxrss - before) * 1024 / double(hits), 48.0) << "bytes per hit";
    search->close();
}

TEST(TSearchwin, anUnreadableFileIsAnErrorNotNoMatches)
{
    TempDir dir;
    const QString file = dir.makeFile("gone.txt", "some text\n");
    LoadedFrame f(file);
    ASSERT_TRUE(QFile::remove(file));
    f.frame.View()->SetLastSearchText("text");
    TSearchwin* search = TSearchwin::Open(f.frame.View());
    ASSERT_NE(search, nullptr);
    ASSERT_TRUE(runEventsUntil([&] { return !search->Status()->text().startsWith("Searching"); }));
    EXPECT_TRUE(search->Status()->text().contains("gone.txt")) << qPrintable(search->Status()->text());
    search->close();
}

TEST(TextPrinter, pagesLackNumbersOrLinesPerPage)
{
    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    if (pdftotext.isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is needed to read the printed pages";
    TempDir dir;
    QByteArray text;
    for (int i = 1; i <= 200; ++i)
        text += "line " + QByteArray::number(i) + "\n";
    LoadedFrame f(dir.makeFile("long.txt", text));
    TTextView* view = f.frame.View();
    view->SetPrintPageNum(true);
    view->SetSelection({0, 0}, {3, 199});
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("out.pdf"));
    ASSERT_TRUE(TextPrinter::Print(*view, printer));
    QProcess reader;
    reader.start(pdftotext, {"-layout", dir.filePath("out.pdf"), "-"});
    ASSERT_TRUE(reader.waitForFinished(30000));
    const QString pages = QString::fromUtf8(reader.readAllStandardOutput());
    const QStringList perPage = pages.split('\f', Qt::SkipEmptyParts);
    ASSERT_GE(perPage.size(), 3);
    EXPECT_TRUE(perPage[0].contains("Page : 1"));
    EXPECT_TRUE(perPage[1].contains("Page : 2"));
    EXPECT_TRUE(perPage[0].contains("line 1\n") || perPage[0].contains("line 1 "));
    EXPECT_TRUE(pages.contains("line 200"));
    // Every page but the last holds the same number of lines.
    EXPECT_EQ(perPage[0].count("line "), perPage[1].count("line "));
}

} // namespace

namespace {

TEST(TFRVwText, modeButtonsLeaveTheViewAsItWas)
{
    TempDir dir;
    LoadedFrame f(dir.makeFile("a.txt", QByteArray(30, 'a') + " " + QByteArray(200, 'b') + "\n"));
    TTextView* view = f.frame.View();
    f.frame.findChild<QToolButton*>("VWTextHex")->click();
    ASSERT_TRUE(runEventsUntil([&] { return !view->IsLoading() && view->LineCount() == 15; }));
    EXPECT_TRUE(view->VisibleLines().value(0).startsWith("$00000000 61 61")) << view->VisibleLines().value(0).toStdString();
    f.frame.findChild<QToolButton*>("VWTextWrapped")->click();
    ASSERT_TRUE(runEventsUntil([&] { return !view->IsLoading() && view->ViewMode() == TextViewMode::WordWrap; }));
    EXPECT_GT(view->LineCount(), 1);                              // 231 characters in a narrower pane
}

TEST(TFRVwText, controlByteEditsWithoutAskingOrFilterLost)
{
    TempDir dir;
    const QString file = dir.makeFile("bell.txt", "ring\x07 here\r\n");
    LoadedFrame f(file);
    ASSERT_FALSE(f.frame.View()->IsPlainText());
    std::vector<QString> asked;
    TMessages::SetResponder([&](const MessageRequest& r) {
        asked.push_back(r.text);
        return MsgResult::Yes;                                  // filter
    });
    QString memo;
    SetModalResponder([&](QDialog& dialog) {
        if (auto* editor = qobject_cast<Teditorform*>(&dialog))
            memo = editor->Memo()->toPlainText();
        return int(QDialog::Rejected);
    });
    f.frame.EditText();
    SetModalResponder({});
    TMessages::SetResponder({});
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_TRUE(asked[0].endsWith("Wish to filter before editing?"));
    EXPECT_EQ(memo, "ring  here");                              // the bell shown as a space
    EXPECT_TRUE(f.frame.View()->Active());                      // the view opens the file again
}

} // namespace
