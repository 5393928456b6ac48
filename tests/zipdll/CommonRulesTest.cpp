// The shared rules both libraries lean on: wildcard patterns and member paths.
#include "MemberPath.h"
#include "Wildcard.h"

#include <gtest/gtest.h>

namespace {

TEST(Wildcard, StarDotStarTakesEveryNameAndStarsCrossFoldersOnlyWhenAsked)
{
    EXPECT_TRUE(Wildcard::Match("*.*", "noext", false));
    EXPECT_TRUE(Wildcard::Match("docs/*.*", "docs/deep/er.txt", true));
    EXPECT_TRUE(Wildcard::Match("docs/*.*", "docs/", true));
    EXPECT_FALSE(Wildcard::Match("docs/*.*", "docsx/a", true));
    EXPECT_FALSE(Wildcard::Match("*.txt", "a/b.txt", false));
    EXPECT_TRUE(Wildcard::Match("?.txt", "\xc3\xa9.txt", false));   // one character, two bytes
    EXPECT_TRUE(Wildcard::Match("a*b*c", "aXbYbZc", false));
}

TEST(MemberPath, RefusesNamesAndLinksThatLeave)
{
    EXPECT_FALSE(MemberPath::Relative("a/../../b", true));
    EXPECT_FALSE(MemberPath::Relative("..\\b", true));
    EXPECT_FALSE(MemberPath::Relative("./", true));
    EXPECT_EQ(MemberPath::Relative("./a//b", true), "a/b");
    EXPECT_TRUE(MemberPath::LinkStaysInside("a/l", "../b"));
    EXPECT_FALSE(MemberPath::LinkStaysInside("l", ".."));
    EXPECT_FALSE(MemberPath::LinkStaysInside("a/l", "b/../../x"));
}

} // namespace
