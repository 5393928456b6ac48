// The text viewer's mask matcher, link finder and file search: every mask element,
// malformed masks, masks that backtracking would never finish; link words and the mail
// check, the schemes a link may open; overlapping hits, hits across a block's end,
// case folding in the OEM and UTF-8 sets, stopping and unreadable files.
#include "support/TempDir.h"
#include "viewers/text/LinkFinder.h"
#include "viewers/text/TextSearch.h"
#include "viewers/text/TmyMask.h"

#include <gtest/gtest.h>

#include <QFile>

namespace {

bool matches(const char* mask, const char* text)
{
    return TmyMask(QString::fromUtf8(mask)).Matches(QString::fromUtf8(text));
}

std::vector<qint64> findIn(const QByteArray& content, const QString& pattern, bool caseInsensitive = false,
                           bool oem = false)
{
    TempDir dir;
    return TextSearch::FindAll(dir.makeFile(QStringLiteral("t.txt"), content), pattern, caseInsensitive, oem);
}

using Hits = std::vector<qint64>;

} // namespace

TEST(TmyMask, elementsAcceptOnlyTheirCharacters)
{
    EXPECT_TRUE(matches("abc", "abc"));
    EXPECT_FALSE(matches("abc", "ABC"));
    EXPECT_FALSE(matches("abc", "abcd"));
    EXPECT_TRUE(matches("a?c", "abc"));
    EXPECT_FALSE(matches("a?c", "ac"));
    EXPECT_TRUE(matches("a*c", "ac"));
    EXPECT_TRUE(matches("a*c", "abbc"));
    EXPECT_FALSE(matches("a*c", "abcd"));
    EXPECT_TRUE(matches("a!bc", "aac"));
    EXPECT_FALSE(matches("a!bc", "abc"));
    EXPECT_TRUE(matches("a#*", "a*"));
    EXPECT_FALSE(matches("a#*", "ab"));
    EXPECT_TRUE(matches("a[b-d]", "ac"));
    EXPECT_FALSE(matches("a[b-d]", "ae"));
    EXPECT_TRUE(matches("a[!b-d]", "ae"));
    EXPECT_FALSE(matches("a[!b-d]", "ac"));
    EXPECT_TRUE(matches("(xyz)1", "y1"));
    EXPECT_FALSE(matches("(xyz)1", "a1"));
    EXPECT_TRUE(matches("(!xyz)1", "a1"));
    EXPECT_FALSE(matches("(!xyz)1", "z1"));
    EXPECT_TRUE(matches("?é", "aé"));   // one character, not one UTF-16 unit or byte
}

TEST(TmyMask, starsNeitherOverlapNorBacktrackForever)
{
    EXPECT_FALSE(matches("*ab*b", "ab"));
    EXPECT_TRUE(matches("*ab*abc", "ababc"));
    EXPECT_TRUE(matches("x*", "x"));
    const QString as(100000, u'a');
    const TmyMask many(QStringLiteral("*a*a*a*a*a*a*b"));
    EXPECT_FALSE(many.Matches(as));
    EXPECT_TRUE(many.Matches(as + u'b'));
}

TEST(TmyMask, malformedOrLongMasksRaiseError)
{
    for (const char* bad : {"[a-", "[a-b", "[ab]", "(abc", "()", "x!", "x#", "a?a?a?a?a?a?a?a?"}) {
        try {
            TmyMask mask{QString::fromUtf8(bad)};
            ADD_FAILURE() << bad;
        } catch (const EMaskError& e) {
            EXPECT_STREQ(e.what(), "Error");
        }
    }
    EXPECT_NO_THROW(TmyMask(QStringLiteral("a?a?a?a?a?a?a?a")));
}

TEST(LinkFinder, findsLinkWordsOfFourTo250Characters)
{
    const QString longHost(240, u'x');
    const QString line = QStringLiteral("go http://x.org\tWWW.Example.com\r\nftp://a.b a@. a@.b plain ") +
                         QStringLiteral("http://") + longHost + QStringLiteral(".com http://") + longHost +
                         QStringLiteral(".co");
    const std::vector<FoundLink> links = LinkFinder().Find(line);
    ASSERT_EQ(links.size(), 5u);
    EXPECT_EQ(links[0].Start, 3);
    EXPECT_EQ(links[0].Length, 12);
    EXPECT_EQ(links[1].Text, QStringLiteral("WWW.Example.com"));
    EXPECT_EQ(links[2].Text, QStringLiteral("ftp://a.b"));
    EXPECT_TRUE(links[3].Mail);
    EXPECT_EQ(links[3].Text, QStringLiteral("a@.b"));
    EXPECT_EQ(links[4].Length, 250);
    EXPECT_FALSE(links[4].Mail);
}

TEST(LinkFinder, mailCheckRefusesLongOrNonLetterDomains)
{
    EXPECT_TRUE(LinkFinder::MailCheck(QStringLiteral("a@b.c")));
    EXPECT_TRUE(LinkFinder::MailCheck(QStringLiteral("a@") + QString(26, u'd') + QStringLiteral(".com")));
    EXPECT_FALSE(LinkFinder::MailCheck(QStringLiteral("a@") + QString(27, u'd') + QStringLiteral(".com")));
    EXPECT_FALSE(LinkFinder::MailCheck(QStringLiteral("a@b.info")));
    EXPECT_FALSE(LinkFinder::MailCheck(QStringLiteral("a@b2.com")));
    EXPECT_FALSE(LinkFinder::MailCheck(QStringLiteral("@b.com")));
    EXPECT_FALSE(LinkFinder::MailCheck(QStringLiteral("a@bcom")));
    EXPECT_TRUE(LinkFinder().Find(QStringLiteral("me@x1.com")).empty());
}

TEST(LinkFinder, urlOfOpensOnlyWebAndMailSchemes)
{
    auto urlOf = [](const char* text, bool mail = false) {
        return LinkFinder::UrlOf({0, 0, mail, QString::fromUtf8(text)}).toString();
    };
    EXPECT_EQ(urlOf("www.example.com"), QStringLiteral("http://www.example.com"));
    EXPECT_EQ(urlOf("a@b.c", true), QStringLiteral("mailto:a@b.c"));
    EXPECT_EQ(urlOf("https://x.org/p"), QStringLiteral("https://x.org/p"));
    EXPECT_EQ(urlOf("ftp://a.b"), QStringLiteral("ftp://a.b"));
    EXPECT_TRUE(urlOf("file:///etc/passwd").isEmpty());
    EXPECT_TRUE(urlOf("javascript:alert(1)").isEmpty());
}

TEST(TextSearch, overlappingHitsAreAllFound)
{
    EXPECT_EQ(findIn("aaaa", QStringLiteral("aa")), (Hits{0, 1, 2}));
    EXPECT_EQ(findIn("xabababx", QStringLiteral("aba")), (Hits{1, 3}));
}

TEST(TextSearch, hitsAcrossBlockEndsAreFound)
{
    QByteArray content(4 * 65536, 'x');
    for (int at : {65533, 131066, 196605})
        content.replace(at, 6, "needle");
    EXPECT_EQ(findIn(content, QStringLiteral("needle")), (Hits{65533, 131066, 196605}));
    content.replace(65535, 6, "\xc3\xa9t\xc3\xa9");   // "été", its first byte ending the block
    EXPECT_EQ(findIn(content, QStringLiteral("ÉTÉ"), true), (Hits{65535}));
}

TEST(TextSearch, caseInsensitiveFoldsOemAndUtf8Letters)
{
    const QByteArray oem("\x80" "A \x87" "a");   // "ÇA ça" in code page 437
    EXPECT_EQ(findIn(oem, QStringLiteral("ça"), false, true), (Hits{3}));
    EXPECT_EQ(findIn(oem, QStringLiteral("ça"), true, true), (Hits{0, 3}));
    EXPECT_EQ(findIn(oem, QStringLiteral("ÇA"), true, true), (Hits{0, 3}));
    const QByteArray utf8 = QStringLiteral("ÉTÉ été ÊTE").toUtf8();
    EXPECT_EQ(findIn(utf8, QStringLiteral("été"), false), (Hits{6}));
    EXPECT_EQ(findIn(utf8, QStringLiteral("été"), true), (Hits{0, 6}));
    EXPECT_EQ(findIn("K \xe2\x84\xaa", QStringLiteral("k"), true), (Hits{0}));   // not the Kelvin sign
}

TEST(TextSearch, stopKeepsEarlyHitsAndUnreadableFilesFail)
{
    TempDir dir;
    QByteArray content(4 * 65536, 'x');
    content.replace(10, 3, "hit");
    content.replace(3 * 65536, 3, "hit");
    const QString path = dir.makeFile(QStringLiteral("big.txt"), content);
    std::atomic<bool> stop{false};
    int lastPercent = 0;
    const Hits hits = TextSearch::FindAll(path, QStringLiteral("hit"), false, false, &stop, [&](int percent) {
        lastPercent = percent;
        stop = true;
    });
    EXPECT_EQ(hits, (Hits{10}));
    EXPECT_EQ(lastPercent, 25);

    for (const QString& bad : {dir.path(), dir.filePath(QStringLiteral("missing"))}) {
        QString error;
        EXPECT_TRUE(TextSearch::FindAll(bad, QStringLiteral("x"), false, false, nullptr, {}, &error).empty());
        EXPECT_TRUE(error.contains(bad)) << qPrintable(error);
    }
}

TEST(TextSearch, aFileCutShortDuringTheSearchIsAnError)
{
    TempDir dir;
    const QString path = dir.makeFile(QStringLiteral("shrinking.txt"), QByteArray(4 * 65536, 'x'));
    QString error;
    TextSearch::FindAll(path, QStringLiteral("x"), false, false, nullptr, [&](int) { QFile::resize(path, 100); },
                        &error);
    EXPECT_TRUE(error.contains(path)) << qPrintable(error);
}
