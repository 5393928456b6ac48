// The links in a line of text: words (cut at TAB, LF, CR and space) of 4 to 250
// characters that match "http://*.*", "www.*.*", "ftp://*.*" or, passing the mail
// check, "*@*.*", compared in lower case.
#pragma once

#include "viewers/text/TmyMask.h"

#include <QString>
#include <QUrl>
#include <vector>

struct FoundLink {
    int Start = 0;         // character position in the line
    int Length = 0;
    bool Mail = false;
    QString Text;          // at most 250 characters
};

class LinkFinder {
public:
    LinkFinder();                                  // compiles the four masks once
    std::vector<FoundLink> Find(const QString& line) const;
    // Part after "@" before the last dot at most 26, after it at most 3, letters, "."
    // and "-" only; a non-empty part before "@".
    static bool MailCheck(const QString& word);
    // What opening the link hands to the desktop: "www." gets "http://", mail
    // "mailto:"; only http, https, ftp and mailto ever come out (else an invalid URL).
    static QUrl UrlOf(const FoundLink& link);

private:
    static constexpr int kMinWord = 4;
    static constexpr int kMaxWord = 250;

    // Whether the lower-cased word is a link, and which kind.
    bool IsLink(const QString& lowered, bool* mail) const;

    std::vector<TmyMask> m_webMasks;
    TmyMask m_mailMask;
};
