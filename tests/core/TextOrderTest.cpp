// The text order used for sorting and look-ups, and the ASCII-only case mapping.
#include "core/TextOrder.h"

#include <gtest/gtest.h>

TEST(TextOrder, asciiCaseIsIgnored)
{
    EXPECT_EQ(CompareText("readme", "README"), 0);
    EXPECT_EQ(CompareText("Apple", "banana"), -1);
    EXPECT_EQ(CompareText("apple", "Banana"), -1);
    EXPECT_EQ(CompareText("Banana", "apple"), 1);
}

TEST(TextOrder, underscoreSortsAfterLettersOnceUpperCased)
{
    // '_' (0x5F) lies between 'Z' (0x5A) and 'a' (0x61): letters compare upper-cased,
    // so '_' follows every letter of either case.
    EXPECT_EQ(CompareText("_x", "zz"), 1);
    EXPECT_EQ(CompareText("a_", "aZ"), 1);
    EXPECT_EQ(CompareText("[", "a"), 1);     // 0x5B after 'A'
    EXPECT_EQ(CompareText("@", "a"), -1);    // 0x40 before 'A'
}

TEST(TextOrder, shorterPrefixComesFirst)
{
    EXPECT_EQ(CompareText("abc", "abcd"), -1);
    EXPECT_EQ(CompareText("ABCD", "abc"), 1);
    EXPECT_EQ(CompareText("", "a"), -1);
    EXPECT_EQ(CompareText("", ""), 0);
}

TEST(TextOrder, nonAsciiIsComparedByUnitWithoutFolding)
{
    const QString aUmlaut = QString::fromUtf8("\xC3\xA4");   // U+00E4
    const QString AUmlaut = QString::fromUtf8("\xC3\x84");   // U+00C4
    EXPECT_EQ(CompareText(aUmlaut, AUmlaut), 1);
    EXPECT_EQ(CompareText("z", aUmlaut), -1);
    // UTF-16 unit order: a surrogate (0xD83D) sorts before U+FF21.
    EXPECT_EQ(CompareText(QString::fromUtf8("\xF0\x9F\x98\x80"), QString::fromUtf8("\xEF\xBC\xA1")), -1);
}

TEST(TextOrder, caseMappingTouchesAsciiLettersOnly)
{
    EXPECT_EQ(AsciiUpper(QString::fromUtf8("abc_\xC3\xA4z")), QString::fromUtf8("ABC_\xC3\xA4Z"));
    EXPECT_EQ(AsciiLower(QString::fromUtf8("ABC@\xC3\x84Z")), QString::fromUtf8("abc@\xC3\x84z"));
    EXPECT_EQ(AsciiUpper("ALREADY"), "ALREADY");
    EXPECT_EQ(AsciiLower(""), "");
}
