#include "fileops/DescriptionFile.h"

#include <gtest/gtest.h>

namespace {

void expectLine(const QByteArray& line, const QByteArray& name, const QByteArray& description)
{
    const DescriptionLine parsed = ParseDescriptionLine(line);
    EXPECT_EQ(parsed.name, name) << line.constData();
    EXPECT_EQ(parsed.description, description) << line.constData();
}

} // namespace

// A quoted line cut short must never be read past its end.
TEST(DescriptionsLine, oddAndTruncatedLinesSplitWithinTheirBounds)
{
    // The description begins two bytes after the closing quote, whatever the first is.
    expectLine("\"a b\"Xdesc", "a b", "desc");
    expectLine("mid\"quote x", "mid\"quote", "x");
    expectLine("nospace", "", "");
    expectLine(" leading", "", "leading");
    expectLine("\"", "", "");
    expectLine("\"no closing quote and spaces", "", "");
    expectLine("\"a b\"", "a b", "");
    expectLine("\"a b\" ", "a b", "");
    expectLine("\"\" empty name", "", "empty name");
    expectLine("", "", "");
}

TEST(DescriptionsLine, writtenLineReadsBackAsTheSameNameAndText)
{
    for (const QByteArray& name : {QByteArray("my file.txt"), QByteArray("x\"y"), QByteArray("caf\xe9")}) {
        ASSERT_TRUE(CanFormatDescriptionName(name));
        QByteArray line = FormatDescriptionLine(name, " two  spaces ");
        line.chop(2);
        expectLine(line, name, " two  spaces ");
    }
}

// Names the format cannot express would be written as some other name, or as two lines.
TEST(DescriptionsLine, namesThatCannotRoundTripAreRefused)
{
    EXPECT_FALSE(CanFormatDescriptionName(""));
    EXPECT_FALSE(CanFormatDescriptionName("\"quoted"));
    EXPECT_FALSE(CanFormatDescriptionName("a \"b\""));
    EXPECT_FALSE(CanFormatDescriptionName("two\nlines"));
    EXPECT_FALSE(CanFormatDescriptionName("cr\r"));
}

TEST(DescriptionsLine, namesMatchWithoutRegardToAsciiCaseOnly)
{
    EXPECT_TRUE(SameDescriptionName("ReadMe.TXT", "readme.txt"));
    EXPECT_FALSE(SameDescriptionName("readme.txt", "readme.tx"));
    // Only ASCII letters fold: é (Latin-1 0xE9) and É (0xC9) stay different bytes.
    EXPECT_FALSE(SameDescriptionName("caf\xe9", "CAF\xc9"));
    EXPECT_TRUE(SameDescriptionName("caf\xe9", "CAF\xe9"));
}

TEST(DescriptionsLine, textIsUtf8WhenValidElseLatin1AndTypedBreaksBecomeSpaces)
{
    EXPECT_EQ(DecodeDescriptionText("caf\xc3\xa9"), QStringLiteral("café"));
    EXPECT_EQ(DecodeDescriptionText("d\xe9j\xe0"), QStringLiteral("déjà"));
    EXPECT_EQ(DecodeDescriptionText("\xef\xbb\xbfx"), QString(QChar(0xFEFF)) + 'x') << "leading BOM bytes are text";
    EXPECT_EQ(EncodeDescriptionText(QStringLiteral("a\r\nb\tc é")), "a  b c \xc3\xa9");
}

// A line cut at the length limit must not leave half a character, which would turn
// the whole description into Latin-1 mojibake.
TEST(DescriptionsLine, cutLineLosesOnlyItsIncompleteLastCharacter)
{
    const QByteArray e("\xc3\xa9");
    QByteArray cut = e + e + "\xc3";
    TrimCutUtf8(cut);
    EXPECT_EQ(cut, e + e);
    QByteArray euro = "x\xe2\x82";
    TrimCutUtf8(euro);
    EXPECT_EQ(euro, "x");
    QByteArray whole = "x" + e;
    TrimCutUtf8(whole);
    EXPECT_EQ(whole, "x" + e);
    QByteArray latin = "d\xe9j\xe0";
    TrimCutUtf8(latin);
    EXPECT_EQ(latin, "d\xe9j\xe0") << "a Latin-1 text keeps its last letter";
}
