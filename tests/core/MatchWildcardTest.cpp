// Wildcard matching: the cases filters and hide rules rely on, and the masks that
// make naive backtracking explode.
#include "core/MatchWildcard.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>

TEST(MatchWildcard, starMatchesAnyRunIncludingNone)
{
    EXPECT_TRUE(MatchWildcard("*", ""));
    EXPECT_TRUE(MatchWildcard("*", "anything.at.all"));
    EXPECT_TRUE(MatchWildcard("*.txt", ".txt"));
    EXPECT_TRUE(MatchWildcard("a*b*c", "abc"));
    EXPECT_TRUE(MatchWildcard("a*b*c", "axxbyyc"));
    EXPECT_TRUE(MatchWildcard("**x**", "x"));
    EXPECT_TRUE(MatchWildcard("*.tar.gz", "a.tar.tar.gz"));   // needs the star to retry
    EXPECT_FALSE(MatchWildcard("a*b*c", "axxbyy"));
}

TEST(MatchWildcard, questionMarkTakesExactlyOneCharacter)
{
    EXPECT_TRUE(MatchWildcard("?.c", "a.c"));
    EXPECT_FALSE(MatchWildcard("?.c", ".c"));
    EXPECT_FALSE(MatchWildcard("?.c", "ab.c"));
    EXPECT_TRUE(MatchWildcard("*?", "x"));
    EXPECT_FALSE(MatchWildcard("*?", ""));
    // A character outside the BMP is one character, not two UTF-16 units.
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
    EXPECT_TRUE(MatchWildcard("?", emoji));
    EXPECT_TRUE(MatchWildcard("a?b", "a" + emoji + "b"));
    EXPECT_FALSE(MatchWildcard("??", emoji));
    EXPECT_TRUE(MatchWildcard("*?b", emoji + emoji + "b"));
}

TEST(MatchWildcard, asciiLettersIgnoreCaseOthersExact)
{
    EXPECT_TRUE(MatchWildcard("*.TXT", "readme.txt"));
    EXPECT_TRUE(MatchWildcard("ReadMe", "README"));
    EXPECT_TRUE(MatchWildcard(QString::fromUtf8("\xC3\xA4*"), QString::fromUtf8("\xC3\xA4x")));
    // Only ASCII is folded: ä and Ä stay different.
    EXPECT_FALSE(MatchWildcard(QString::fromUtf8("\xC3\xA4"), QString::fromUtf8("\xC3\x84")));
    // '[' (0x5B) is not '{' (0x7B) even though they differ by the case bit.
    EXPECT_FALSE(MatchWildcard("[", "{"));
    EXPECT_FALSE(MatchWildcard("@", "`"));
}

TEST(MatchWildcard, wholeNameMustBeConsumed)
{
    EXPECT_FALSE(MatchWildcard("*.txt", "README"));
    EXPECT_FALSE(MatchWildcard("*.txt", "notes.txt.bak"));
    EXPECT_FALSE(MatchWildcard("abc", "abcd"));
    EXPECT_FALSE(MatchWildcard("abcd", "abc"));
    EXPECT_TRUE(MatchWildcard("", ""));
    EXPECT_FALSE(MatchWildcard("", "a"));
}

TEST(MatchWildcard, pathologicalMaskStaysFast)
{
    const QString name(20000, QLatin1Char('a'));
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(MatchWildcard("*a*a*a*a*a*a*a*a*b", name));
    EXPECT_TRUE(MatchWildcard("*a*a*a*a*a*a*a*a*a", name));
    // Exponential backtracking would not finish; O(n*m) takes a few milliseconds.
    EXPECT_LT(timer.elapsed(), 2000);
}
