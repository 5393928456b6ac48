#include "viewers/text/LinkFinder.h"

#include <QStringList>
#include <algorithm>

namespace {

bool isWordBreak(QChar c)
{
    return c == u'\t' || c == u'\n' || c == u'\r' || c == u' ';
}

bool isDomainChar(QChar c)
{
    return c.isLetter() || c == u'.' || c == u'-';
}

} // namespace

LinkFinder::LinkFinder()
    : m_webMasks{TmyMask(QStringLiteral("http://*.*")), TmyMask(QStringLiteral("www.*.*")),
                 TmyMask(QStringLiteral("ftp://*.*"))}
    , m_mailMask(QStringLiteral("*@*.*"))
{
}

std::vector<FoundLink> LinkFinder::Find(const QString& line) const
{
    std::vector<FoundLink> links;
    const int n = int(line.size());
    for (int start = 0; start < n;) {
        int end = start;
        while (end < n && !isWordBreak(line[end]))
            ++end;
        const int length = end - start;
        bool mail = false;
        if (length >= kMinWord && length <= kMaxWord && IsLink(line.mid(start, length).toLower(), &mail))
            links.push_back({start, length, mail, line.mid(start, length)});
        start = end + 1;
    }
    return links;
}

bool LinkFinder::IsLink(const QString& lowered, bool* mail) const
{
    for (const TmyMask& mask : m_webMasks) {
        if (mask.Matches(lowered))
            return true;
    }
    *mail = m_mailMask.Matches(lowered) && MailCheck(lowered);
    return *mail;
}

bool LinkFinder::MailCheck(const QString& word)
{
    const qsizetype at = word.indexOf(u'@');
    if (at <= 0)
        return false;
    const QStringView domain = QStringView(word).mid(at + 1);
    const qsizetype dot = domain.lastIndexOf(u'.');
    if (dot < 0 || dot > 26 || domain.size() - dot - 1 > 3)
        return false;
    return std::all_of(domain.begin(), domain.end(), isDomainChar);
}

QUrl LinkFinder::UrlOf(const FoundLink& link)
{
    QString text = link.Text;
    if (link.Mail)
        text.prepend(QStringLiteral("mailto:"));
    else if (text.startsWith(QStringLiteral("www."), Qt::CaseInsensitive))
        text.prepend(QStringLiteral("http://"));
    // Only what a browser or mail program opens: a file: or javascript: link in a
    // viewed text must not run anything.
    static const QStringList allowed{QStringLiteral("http"), QStringLiteral("https"), QStringLiteral("ftp"),
                                     QStringLiteral("mailto")};
    const QUrl url(text);
    if (!url.isValid() || !allowed.contains(url.scheme().toLower()))
        return {};
    if (url.scheme().compare(QStringLiteral("mailto"), Qt::CaseInsensitive) != 0 && url.host().isEmpty())
        return {};
    return url;
}
