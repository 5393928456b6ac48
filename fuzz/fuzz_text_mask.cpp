// Feeds arbitrary bytes to the link masks and the file search. The input is a mask, a
// newline, and a text: compiling may only fail with EMaskError, matching must finish;
// the links found in the text must lie inside it, be 4 to 250 characters long, and
// open only web or mail URLs. The search of the text's bytes for the mask's bytes must
// find exactly what a plain byte-by-byte search finds, and folding case never loses a hit.
#include "viewers/text/LinkFinder.h"
#include "viewers/text/TextSearch.h"
#include "viewers/text/TmyMask.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

QString scratchFile()
{
    // On tmpfs, writing the text for every input costs little.
    static const std::unique_ptr<QTemporaryDir> folder = [] {
        auto dir = std::make_unique<QTemporaryDir>(QStringLiteral("/dev/shm/fuzz-text-mask-XXXXXX"));
        return dir->isValid() ? std::move(dir) : std::make_unique<QTemporaryDir>();
    }();
    return folder->filePath(QStringLiteral("text"));
}

void checkLinks(const QString& text)
{
    static const LinkFinder finder;
    for (const FoundLink& link : finder.Find(text)) {
        if (link.Start < 0 || link.Length < 4 || link.Length > 250 || link.Start + link.Length > text.size() ||
            link.Text != text.mid(link.Start, link.Length))
            std::abort();
        const QUrl url = LinkFinder::UrlOf(link);
        const QString scheme = url.scheme();
        if (url.isValid() && scheme != u"http" && scheme != u"https" && scheme != u"ftp" && scheme != u"mailto")
            std::abort();
    }
}

std::vector<qint64> plainSearch(const QByteArray& text, const QByteArray& pattern)
{
    std::vector<qint64> hits;
    for (qsizetype at = text.indexOf(pattern); at >= 0; at = text.indexOf(pattern, at + 1))
        hits.push_back(at);
    return hits;
}

void checkSearch(const QByteArray& text, const QString& pattern, const QByteArray& patternBytes)
{
    const QString path = scratchFile();
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) != text.size())
        std::abort();
    file.close();
    const std::vector<qint64> exact = TextSearch::FindAll(path, pattern, false, false);
    if (!pattern.isEmpty() && exact != plainSearch(text, patternBytes))
        std::abort();
    const std::vector<qint64> folded = TextSearch::FindAll(path, pattern, true, false);
    if (!std::includes(folded.begin(), folded.end(), exact.begin(), exact.end()))
        std::abort();
    (void)TextSearch::FindAll(path, pattern, true, true);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype cut = input.indexOf('\n');
    const QByteArray maskBytes = cut < 0 ? input : input.left(cut);
    const QByteArray textBytes = cut < 0 ? QByteArray() : input.mid(cut + 1);
    const QString mask = QString::fromUtf8(maskBytes);
    const QString text = QString::fromUtf8(textBytes);
    try {
        (void)TmyMask(mask).Matches(text);
    } catch (const EMaskError&) {
    }
    checkLinks(text);
    // Only a pattern that is its own UTF-8 has the input's bytes as its bytes.
    if (mask.toUtf8() == maskBytes)
        checkSearch(textBytes, mask, maskBytes);
    return 0;
}
