// The text viewer's line index, line formatting and file reader: line-end runs, tabs,
// word wrap, the plain-text and OEM flags across chunk and block edges, hex lines,
// files past 4 GiB, abort, FIFOs, and the two character sets.
#include "support/TempDir.h"
#include "viewers/text/TextFileReader.h"
#include "viewers/text/TextIndex.h"
#include "viewers/text/TextLineFormat.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <climits>
#include <sys/stat.h>

namespace {

QList<QByteArray> linesOf(const QByteArray& bytes, TextIndexOptions options = {}, TextIndex* out = nullptr)
{
    TempDir dir;
    TextIndex index;
    EXPECT_TRUE(index.Build(dir.makeFile("t.txt", bytes), options));
    QList<QByteArray> lines;
    for (qint64 i = 0; i < index.LineCount(); ++i) {
        const QByteArray raw = bytes.mid(index.LineStart(i), index.LineStart(i + 1) - index.LineStart(i));
        lines += TextLineFormat::Text(raw, options.TabSize);
    }
    if (out)
        *out = index;
    return lines;
}

TEST(TextIndex, lineEndRunsEndTheWrongNumberOfLines)
{
    using Lines = QList<QByteArray>;
    EXPECT_EQ(linesOf("a\r\n\r\nb"), (Lines{"a", "", "b"}));
    EXPECT_EQ(linesOf("a\n\n\rb"), (Lines{"a", "b"}));
    EXPECT_EQ(linesOf("a\r\rb"), (Lines{"a", "", "b"}));
    EXPECT_EQ(linesOf("abc\n\n\n"), (Lines{"abc"}));
    EXPECT_EQ(linesOf("x\ny"), (Lines{"x", "y"}));
    EXPECT_EQ(linesOf(""), (Lines{""}));
    // A CR LF pair split by the 64 KiB read block still ends one line.
    TextIndex index;
    EXPECT_EQ(linesOf(QByteArray(65535, 'x') + "\r\ny", {}, &index).size(), 2);
    EXPECT_EQ(index.LineStart(1), 65537);
    EXPECT_EQ(index.MaxWidth(), 65535);
}

TEST(TextIndex, tabsAndWrapGiveWrongColumns)
{
    TextIndex index;
    EXPECT_EQ(linesOf("\tab\tc\x01|", {}, &index), QList<QByteArray>{"        ab      c |"});
    EXPECT_EQ(index.MaxWidth(), 19);
    EXPECT_EQ(linesOf("\tab\tc", {TextViewMode::Standard, 4}, &index), QList<QByteArray>{"    ab  c"});
    EXPECT_EQ(index.MaxWidth(), 9);
    EXPECT_EQ(TextLineFormat::ColumnOf("\tab\tc\r\n", 4, 8), 17);

    const TextIndexOptions wrap{TextViewMode::WordWrap, 8, 5};
    EXPECT_EQ(linesOf("abcdefghij\nk", wrap), (QList<QByteArray>{"abcd", "efgh", "ij", "k"}));
    EXPECT_EQ(linesOf("abcdefgh", wrap), (QList<QByteArray>{"abcd", "efgh"}));
    EXPECT_EQ(linesOf("ab\tcd", wrap), (QList<QByteArray>{"ab      ", "cd"}));
}

TEST(TextIndex, controlAndHighBytesSetTheWrongFlags)
{
    TextIndex index;
    linesOf(QByteArray(100, 'a') + "\f\tb\r\n", {}, &index);
    EXPECT_TRUE(index.IsPlainText());
    linesOf(QByteArray(100, 'a') + "\x07", {}, &index);
    EXPECT_FALSE(index.IsPlainText());
    linesOf("a\x07", {TextViewMode::WordWrap}, &index);
    EXPECT_FALSE(index.IsPlainText());

    linesOf("\xb0\xb1\xb2 \xb3\xb0\xb1\n\xb2", {}, &index);
    EXPECT_FALSE(index.OemDetected());
    // Four in a row across the edge of the 64-byte chunks the scan classifies.
    linesOf(QByteArray(62, 'a') + "\xb0\xb1\xb2\xb3", {}, &index);
    EXPECT_TRUE(index.OemDetected());
    linesOf("\xb0\xb1\xb2\xb3", {TextViewMode::WordWrap}, &index);
    EXPECT_TRUE(index.OemDetected());
}

TEST(TextIndex, hexLinesAreWrong)
{
    TempDir dir;
    TextIndex index;
    ASSERT_TRUE(index.Build(dir.makeFile("h.bin", "0123456789abcde\nZ"), {TextViewMode::Hex}));
    EXPECT_EQ(index.LineCount(), 2);
    EXPECT_EQ(index.MaxWidth(), 73);
    EXPECT_EQ(index.LineOfOffset(16), 1);
    EXPECT_EQ(TextLineFormat::Hex(0, "0123456789abcde\n", 8),
              "$00000000 30 31 32 33 34 35 36 37 38 39 61 62 63 64 65 0a 0123456789abcde.");
    EXPECT_EQ(TextLineFormat::Hex(16, "Z", 8), "$00000010 5a" + QByteArray(45, ' ') + " Z" + QByteArray(15, ' '));
}

TEST(TextIndex, fileBeyondFourGiBLosesLines)
{
    TempDir dir;
    const qint64 size = (qint64(4) << 30) + (1 << 20);
    const QString path = dir.makeSizedFile("big.txt", size);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.write("first\n");
    ASSERT_TRUE(file.seek(size - 13));
    file.write("\nnear the end");
    file.close();

    TextIndex index;
    ASSERT_TRUE(index.Build(path, {}));
    ASSERT_EQ(index.LineCount(), 3);
    EXPECT_EQ(index.LineStart(1), 6);
    EXPECT_EQ(index.LineStart(2), size - 12);
    EXPECT_EQ(index.LineStart(3), size);
    EXPECT_EQ(index.LineOfOffset(size - 5), 2);
    EXPECT_EQ(index.MaxWidth(), INT_MAX);
    TextFileReader reader;
    ASSERT_TRUE(reader.Open(path));
    EXPECT_EQ(reader.Read(index.LineStart(2), 100), "near the end");

    ASSERT_TRUE(index.Build(path, {TextViewMode::Hex}));
    EXPECT_EQ(index.LineCount(), size / 16);
    EXPECT_EQ(TextLineFormat::HexOffsetDigits(size), 9);
    EXPECT_EQ(index.MaxWidth(), 74);
    EXPECT_EQ(TextLineFormat::Hex(size - 16, "abc", 9).left(16), "$1000ffff0 61 62");
    EXPECT_EQ(TextLineFormat::HexOffsetDigits(qint64(1) << 32), 8);
}

TEST(TextIndex, abortLosesTheLinesSoFar)
{
    TempDir dir;
    const QString path = dir.makeFile("long.txt", (QByteArray(99, 'x') + '\n').repeated(2000));
    TextIndex index;
    int calls = 0;
    auto count = [&](int, qint64) { return ++calls > 0; };
    ASSERT_TRUE(index.Build(path, {}, count));
    EXPECT_EQ(calls, 0);   // a quick load shows no progress
    EXPECT_EQ(index.LineCount(), 2000);

    TextIndexOptions now;
    now.ProgressAfterMs = 0;
    qint64 linesSeen = 0;
    ASSERT_TRUE(index.Build(path, now, [&](int percent, qint64 lines) {
        linesSeen = lines;
        return percent > 50;
    }));
    EXPECT_TRUE(index.Aborted());
    EXPECT_EQ(linesSeen, 655);   // the 64 KiB block holds 655 whole lines
    EXPECT_EQ(index.LineCount(), 655);
    EXPECT_EQ(index.LineStart(655), 65500);
}

TEST(TextIndex, fifoHangsOrIsRead)
{
    TempDir dir;
    const QString path = dir.filePath("pipe.txt");
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    QElapsedTimer timer;
    timer.start();
    TextIndex index;
    EXPECT_FALSE(index.Build(path, {}));
    EXPECT_FALSE(index.Error().isEmpty());
    TextFileReader reader;
    EXPECT_FALSE(reader.Open(path));
    EXPECT_LT(timer.elapsed(), 5000);
}

TEST(TextLineFormat, charactersDecodeWrongly)
{
    EXPECT_EQ(TextLineFormat::Ansi("a\xC3\xA9\xE9\xC0\xAF\xF0\x9F\x98\x80"),
              QStringLiteral("a\u00E9\u00E9\u00C0\u00AF\U0001F600"));
    EXPECT_EQ(TextLineFormat::Ansi("\xED\xA0\x80"), QStringLiteral("\u00ED\u00A0\u0080"));   // a surrogate
    EXPECT_EQ(TextLineFormat::Oem("\xB0\x82 \xFF"), QStringLiteral("\u2591\u00E9 \u00A0"));
    EXPECT_EQ(TextLineFormat::FromText(QStringLiteral("\u00E9\u2591x\u20AC"), true), "\x82\xB0x?");
    EXPECT_EQ(TextLineFormat::FromText(QStringLiteral("\u00E9"), false), "\xC3\xA9");
}

} // namespace
