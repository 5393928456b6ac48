// Indexing the lines of a 1 GiB text file (lines of 20 to 120 bytes) in standard mode,
// against `wc -l` on the same file. The file is written once under the temporary folder
// and both sides read it warm from the page cache. Also prints the index's memory per
// line. DV_BENCH_SMALL=1 makes the file 128 MiB.
#include "BenchSupport.h"

#include "viewers/text/TextIndex.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

namespace {

// Printable lines of varying length with an occasional TAB, as source code or logs.
QByteArray textBlock()
{
    QByteArray block;
    uint32_t x = 2463534242u;
    while (block.size() < (1 << 20)) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        const int length = 20 + int(x % 101);
        for (int i = 0; i < length; ++i)
            block += i == 4 && x % 7 == 0 ? '\t' : char('a' + (x >> (i % 24)) % 26);
        block += '\n';
    }
    return block;
}

bool writeTextFile(const QString& path, qint64 size)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray block = textBlock();
    for (qint64 done = 0; done < size; done += block.size()) {
        if (file.write(block) != block.size())
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const bool small = qEnvironmentVariableIntValue("DV_BENCH_SMALL") == 1;
    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/dorvane-bench-XXXXXX"));
    const QString path = dir.path() + QStringLiteral("/big.txt");
    if (!dir.isValid() || !writeTextFile(path, small ? (qint64(128) << 20) : (qint64(1) << 30))) {
        std::fprintf(stderr, "cannot write the text file under %s\n", qPrintable(QDir::tempPath()));
        return 1;
    }
    TextIndex index;
    bool built = true;
    bench::compare(
        "text_index_vs_wc_l", small ? 9 : 5, [&] { built = built && index.Build(path, {}); },
        [&] { bench::runQuiet({QStringLiteral("wc"), QStringLiteral("-l"), path}); });
    std::printf("text_index_bytes_per_line %.2f\n", double(index.MemoryBytes()) / double(index.LineCount()));
    return built && !index.Aborted() ? 0 : 1;
}
