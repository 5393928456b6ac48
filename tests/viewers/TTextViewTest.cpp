// The text view: what it shows of a file in each mode, keys and positions at the ends,
// selection and copy, links, the tab size, re-indexing, and long loads that are aborted.
#include "platform/TMessages.h"
#include "support/EventWait.h"
#include "support/TempDir.h"
#include "viewers/text/TTextView.h"
#include "viewers/text/Tabortform.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>

namespace {

struct Position {
    qint64 x = -1, y = -1, maxX = -1, maxY = -1;
};

class ShownView {
public:
    explicit ShownView(const QString& path, TextViewMode mode = TextViewMode::Standard, QSize size = {400, 300})
    {
        view.resize(size);
        view.show();
        view.SetViewMode(mode);
        view.SetFilename(path);
        QObject::connect(&view, &TTextView::Loaded, [this] { ++loads; });
        QObject::connect(&view, &TTextView::ScrollXY,
                         [this](qint64 x, qint64 y, qint64 maxX, qint64 maxY) { last = {x, y, maxX, maxY}; });
        view.SetActive(true);
        WaitLoaded(1);
    }

    bool WaitLoaded(int count) { return runEventsUntil([&] { return loads >= count; }, 30000); }

    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(&view, &event);
    }

    void Mouse(QEvent::Type type, qint64 column, qint64 line)
    {
        const QFontMetrics metrics(view.font());
        const int lineHeight = metrics.size(Qt::TextSingleLine, QStringLiteral("Xy")).height();
        const QPointF at(column * QFontMetricsF(view.font()).horizontalAdvance(QLatin1Char('X')) + 1,
                         line * lineHeight + 1);
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, at, view.viewport()->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(view.viewport(), &event);
    }

    TTextView view;
    int loads = 0;
    Position last;
};

QByteArray numberedLines(int count)
{
    QByteArray text;
    for (int i = 0; i < count; ++i)
        text += "line " + QByteArray::number(i) + '\n';
    return text;
}

TEST(TTextViewShow, textAndHexLinesAsFormattedWithoutProgressWindow)
{
    TempDir dir;
    ShownView text(dir.makeFile("a.txt", "alpha\nbe\tx\r\ngamma"));
    EXPECT_EQ(text.view.VisibleLines(), QStringList({"alpha", "be      x", "gamma"}));
    EXPECT_EQ(text.view.findChild<Tabortform*>(), nullptr);   // a fast load stays quiet
    text.view.Setlineaorax(3);
    EXPECT_EQ(text.view.VisibleLines(), QStringList({"ha", "     x", "ma"}));

    ShownView hex(dir.makeFile("b.bin", QByteArray(16, 'A') + 'B'), TextViewMode::Hex);
    const QStringList lines = hex.view.VisibleLines();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[1].startsWith("$00000010 42")) << lines[1].toStdString();
    EXPECT_TRUE(lines[1].endsWith("B" + QString(15, ' ')));
}

TEST(TTextViewShow, shrunkFileReportsTheLineOnce)
{
    TempDir dir;
    const QString path = dir.makeFile("a.txt", "aaa\nbbb\nccc\n");
    ShownView shown(path);
    QStringList messages;
    TMessages::SetResponder([&](const MessageRequest& request) {
        messages << request.text;
        return MsgResult::Ok;
    });
    QFile(path).resize(5);
    EXPECT_EQ(shown.view.VisibleLines(), QStringList({"aaa"}));
    shown.view.grab();
    runEventsUntil([&] { return !messages.isEmpty(); }, 2000);
    shown.view.grab();
    QApplication::processEvents();
    EXPECT_EQ(messages, QStringList({"error while reading line #2"}));
    TMessages::SetResponder({});
}

TEST(TTextViewShow, deactivationOrFailedOpenLeavesTheViewEmpty)
{
    TempDir dir;
    ShownView shown(dir.makeFile("a.txt", "alpha\n"));
    shown.view.SetActive(false);
    EXPECT_FALSE(shown.view.Active());
    EXPECT_TRUE(shown.view.VisibleLines().isEmpty());
    EXPECT_EQ(shown.view.LineCount(), 0);
    const QImage image = shown.view.viewport()->grab().toImage();
    EXPECT_EQ(image.pixelColor(image.width() / 2, image.height() / 2), shown.view.palette().color(QPalette::Button));

    shown.view.SetFilename(dir.filePath("missing.txt"));
    shown.view.SetActive(true);
    EXPECT_FALSE(shown.view.Active());
}

TEST(TTextViewKeys, keysStopAtTheEndsAndReportThePosition)
{
    TempDir dir;
    ShownView shown(dir.makeFile("a.txt", numberedLines(100)));
    TTextView& view = shown.view;
    const int rows = view.VisibleRows();
    ASSERT_GT(rows, 2);
    ASSERT_LT(rows, 100);
    shown.Key(Qt::Key_End);
    EXPECT_EQ(view.lineaora(), 100 - rows);
    EXPECT_EQ(shown.last.x, 100 - rows);
    EXPECT_EQ(shown.last.maxX, 100);
    EXPECT_EQ(shown.last.maxY, 7);   // "line 99"
    shown.Key(Qt::Key_PageDown);
    shown.Key(Qt::Key_PageDown);
    EXPECT_EQ(view.lineaora(), 99);
    shown.Key(Qt::Key_Home);
    shown.Key(Qt::Key_Up);
    shown.Key(Qt::Key_PageUp);
    EXPECT_EQ(view.lineaora(), 0);
    shown.Key(Qt::Key_PageDown);
    shown.Key(Qt::Key_Down);
    EXPECT_EQ(view.lineaora(), rows + 1);
    shown.Key(Qt::Key_Left);
    EXPECT_EQ(view.lineaorax(), 0);
    for (int i = 0; i < 10; ++i)
        shown.Key(Qt::Key_Right);
    EXPECT_EQ(view.lineaorax(), 7);
    EXPECT_EQ(shown.last.y, 7);
}

TEST(TTextViewKeys, tabSizeOutsideOneToTwentyIsRefused)
{
    QStringList messages;
    TMessages::SetResponder([&](const MessageRequest& request) {
        messages << request.text;
        return MsgResult::Ok;
    });
    TTextView view;
    view.SetTabSize(21);
    view.SetTabSize(0);
    EXPECT_EQ(view.TabSize(), 8);
    EXPECT_EQ(messages, QStringList({"Invalid tab value", "Invalid tab value"}));
    view.SetTabSize(20);
    EXPECT_EQ(view.TabSize(), 20);
    TMessages::SetResponder({});
}

TEST(TTextViewCopy, backwardDragCopiesCutLinesJoinedWithCrLf)
{
    TempDir dir;
    ShownView shown(dir.makeFile("a.txt", "first line\nsecond\nthird line\nfourth\n"));
    shown.Mouse(QEvent::MouseButtonPress, 5, 2);
    shown.Mouse(QEvent::MouseMove, 6, 0);
    shown.Mouse(QEvent::MouseButtonRelease, 6, 0);
    EXPECT_EQ(shown.view.SelectionStart(), (TTextView::Cell{6, 0}));
    EXPECT_EQ(shown.view.SelectionEnd(), (TTextView::Cell{5, 2}));
    shown.Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "line\r\nsecond\r\nthird");

    // A drag below the last line ends on it.
    shown.Mouse(QEvent::MouseButtonPress, 0, 1);
    shown.Mouse(QEvent::MouseButtonRelease, 2, 9);
    EXPECT_EQ(shown.view.SelectionEnd(), (TTextView::Cell{2, 3}));

    // An empty selection leaves the clipboard alone.
    QApplication::clipboard()->setText("kept");
    shown.Mouse(QEvent::MouseButtonPress, 3, 1);
    shown.Mouse(QEvent::MouseButtonRelease, 3, 1);
    shown.view.Copy();
    EXPECT_EQ(QApplication::clipboard()->text(), "kept");
}

TEST(TTextViewCopy, searchHitBeyondTheScreenScrollsTwentyColumnsBeforeIt)
{
    TempDir dir;
    ShownView shown(dir.makeFile("a.txt", "x\n" + QByteArray(300, 'a') + "\nshort\n"), TextViewMode::Standard,
                    {200, 200});
    shown.view.SelectAndShow(1, 150, 3);
    EXPECT_EQ(shown.view.lineaora(), 1);
    EXPECT_EQ(shown.view.lineaorax(), 129);
    EXPECT_EQ(shown.view.SelectionStart(), (TTextView::Cell{149, 1}));
    EXPECT_EQ(shown.view.SelectionEnd(), (TTextView::Cell{152, 1}));
    shown.view.SelectAndShow(2, 2, 3);
    EXPECT_EQ(shown.view.lineaorax(), 0);
}

TEST(TTextViewLinks, webAddressIsALinkAndFileUrlIsNot)
{
    TempDir dir;
    ShownView shown(dir.makeFile("a.txt", "see www.example.com and file:///etc/passwd\n"));
    shown.view.grab();
    const auto& links = shown.view.Links();
    ASSERT_EQ(links.size(), 1u);
    EXPECT_EQ(links[0].Link.Text, "www.example.com");
    // Cells are as wide as the font's "X", fractions of a pixel included.
    const qreal width = QFontMetricsF(shown.view.font()).horizontalAdvance(QLatin1Char('X'));
    EXPECT_EQ(links[0].Rect.left(), int(4 * width));
    EXPECT_EQ(links[0].Rect.width(), int(15 * width + 0.5));
    EXPECT_EQ(links[0].Rect.top(), 0);
}

TEST(TTextViewIndex, wrapWidthChangeReindexesOnceAndModeChangeKeepsTheLine)
{
    TempDir dir;
    ShownView shown(dir.makeFile("a.txt", QByteArray(400, 'a') + '\n' + numberedLines(200)), TextViewMode::WordWrap,
                    {200, 200});
    const qint64 narrowLines = shown.view.LineCount();
    for (int width = 210; width <= 600; width += 30)
        shown.view.resize(width, 200);
    ASSERT_TRUE(shown.WaitLoaded(2));
    QApplication::processEvents();
    EXPECT_EQ(shown.loads, 2);
    EXPECT_LT(shown.view.LineCount(), narrowLines);

    shown.view.Setlineaora(50);
    shown.view.Setlineaorax(2);
    shown.view.SetViewMode(TextViewMode::Hex);
    ASSERT_TRUE(shown.WaitLoaded(3));
    EXPECT_EQ(shown.view.lineaora(), 50);
    EXPECT_EQ(shown.view.lineaorax(), 0);
    EXPECT_TRUE(shown.view.VisibleLines().first().startsWith("$00000320"));
}

// A file whose index takes well over a second: mostly holes, a line every 64 MiB.
QString longFile(TempDir& dir)
{
    const qint64 size = 64LL << 30;
    const QString path = dir.makeSizedFile("big.txt", size);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadWrite));
    for (qint64 at = (64LL << 20) - 1; at < size; at += 64LL << 20) {
        file.seek(at);
        file.write("\n");
    }
    return path;
}

TEST(TTextViewLoad, abortButtonOfTheProgressWindowKeepsWhatWasIndexed)
{
    TempDir dir;
    const QString path = longFile(dir);
    TTextView view;
    view.resize(400, 300);
    view.SetQuietLoadMsecs(0);                            // every load counts as long
    bool loaded = false;
    int reports = 0;
    QObject::connect(&view, &TTextView::Loaded, [&] { loaded = true; });
    // The window comes with the first report; the user presses its button before the next.
    QObject::connect(&view, &TTextView::LenghtyLoad, [&](int, qint64, bool*) {
        if (++reports == 2)
            view.findChild<Tabortform*>("abortform")->findChild<QPushButton*>()->click();
    });
    view.SetFilename(path);
    view.SetActive(true);
    ASSERT_TRUE(runEventsUntil([&] { return loaded; }, 30000));
    EXPECT_GE(reports, 2);
    EXPECT_TRUE(view.LoadAborted());
    EXPECT_GT(view.LineCount(), 0);
    EXPECT_FALSE(view.VisibleLines().isEmpty());
    EXPECT_EQ(view.findChild<Tabortform*>(), nullptr);
}

TEST(TTextViewLoad, lengthyLoadHandlerAbortsWithoutWindow)
{
    TempDir dir;
    TTextView view;
    view.SetAbortWindow(false);
    view.SetQuietLoadMsecs(0);
    bool loaded = false;
    int reports = 0;
    QObject::connect(&view, &TTextView::Loaded, [&] { loaded = true; });
    QObject::connect(&view, &TTextView::LenghtyLoad, [&](int, qint64, bool* abort) {
        ++reports;
        *abort = true;
    });
    view.SetFilename(longFile(dir));
    view.SetActive(true);
    ASSERT_TRUE(runEventsUntil([&] { return loaded; }, 30000));
    EXPECT_EQ(reports, 1);
    EXPECT_TRUE(view.LoadAborted());
    EXPECT_EQ(view.findChild<Tabortform*>(), nullptr);
    EXPECT_EQ(Tabortform::TimeLeft(25, 3000), "0:00:09");
}

} // namespace
