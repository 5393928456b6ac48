// Searching a 1 GiB text file (lines of words, a rare word a few times) for the rare
// word, case-sensitive, against `grep -c WORD FILE` on the same file. Both read it from
// the page cache after the first round. DV_BENCH_SMALL=1 makes it 128 MiB.
#include "BenchSupport.h"

#include "viewers/text/TextSearch.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstring>
#include <iterator>

namespace {

const char* const kRareWord = "zymurgical";
constexpr int kRareCount = 5;
constexpr int kChunkSize = 4 << 20;

// Lines of common words in a pseudo-random order, so that no byte pattern repeats short.
QByteArray wordLines(int size)
{
    static const char* const words[] = {"the", "of", "and", "to", "in", "viewer", "line", "text", "search",
                                        "file", "window", "zebra", "quality", "measure", "lazy", "fox"};
    QByteArray out;
    out.reserve(size + 64);
    uint32_t x = 2463534242u;
    int column = 0;
    while (out.size() < size) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        const QByteArray word(words[x % std::size(words)]);
        column += int(word.size()) + 1;
        out += word;
        out += column > 70 ? '\n' : ' ';
        column = column > 70 ? 0 : column;
    }
    out.truncate(size);
    return out;
}

bool makeText(const QString& path, qint64 size)
{
    const QByteArray chunk = wordLines(kChunkSize);
    QByteArray rare = chunk;
    rare.replace(kChunkSize / 2, qsizetype(std::strlen(kRareWord)), kRareWord);
    const qint64 chunks = size / kChunkSize;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    for (qint64 i = 0; i < chunks; ++i) {
        const bool withRare = i % (chunks / kRareCount) == 0 && i / (chunks / kRareCount) < kRareCount;
        if (file.write(withRare ? rare : chunk) != kChunkSize)
            return false;
    }
    return true;
}

// grep -c with its output on /dev/null stops at the first hit, as -q does; a file
// keeps it counting through the whole text, as a user watching the count sees it.
bool grepCount(const QString& word, const QString& path, const QByteArray& output)
{
    const QByteArray wordBytes = word.toLocal8Bit();
    const QByteArray pathBytes = QFile::encodeName(path);
    const char* argv[] = {"grep", "-c", wordBytes.constData(), pathBytes.constData(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, output.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    const int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, const_cast<char**>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    return rc == 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const bool small = qEnvironmentVariableIntValue("DV_BENCH_SMALL") == 1;
    const qint64 size = small ? qint64(128) << 20 : qint64(1) << 30;
    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/dorvane-bench-XXXXXX"));
    const QString path = dir.filePath(QStringLiteral("big.txt"));
    if (!dir.isValid() || !makeText(path, size)) {
        std::fprintf(stderr, "cannot write a %lld byte text under %s\n", qlonglong(size), qPrintable(QDir::tempPath()));
        return 1;
    }
    const QString word = QString::fromLatin1(kRareWord);
    const QByteArray grepOutput = QFile::encodeName(dir.filePath(QStringLiteral("grep.out")));
    size_t hits = 0;
    bench::compare(
        "text_search_vs_grep", small ? 9 : 5, [&] { hits = TextSearch::FindAll(path, word, false, false).size(); },
        [&] { grepCount(word, path, grepOutput); });
    return hits == size_t(kRareCount) ? 0 : 1;
}
