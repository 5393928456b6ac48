// Listing a zip of 10,000 entries from its central directory, against Info-ZIP's
// `zipinfo -1` printing the names of the same archive. The archive is made once with
// Python's zipfile; ours runs in-process, theirs as the process a user would start.
#include "BenchSupport.h"

#include "zip/ZipDirectoryReader.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

namespace {

constexpr int kEntries = 10000;

bool makeArchive(const QString& path)
{
    const QString script = QStringLiteral("import sys, zipfile\n"
                                          "with zipfile.ZipFile(sys.argv[1], 'w', zipfile.ZIP_DEFLATED) as z:\n"
                                          "    for i in range(%1):\n"
                                          "        z.writestr(f'folder{i // 100}/file{i:05}.txt', f'entry {i}\\n')\n")
                               .arg(kEntries);
    return bench::runQuiet({QStringLiteral("python3"), QStringLiteral("-c"), script, path});
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/dorvane-bench-XXXXXX"));
    const QString path = dir.path() + QStringLiteral("/many.zip");
    if (!dir.isValid() || !makeArchive(path)) {
        std::fprintf(stderr, "cannot make a %d-entry zip under %s\n", kEntries, qPrintable(QDir::tempPath()));
        return 1;
    }
    size_t listed = 0;
    bench::compare(
        "zip_list_vs_zipinfo", 15,
        [&] { listed = ZipDirectoryReader::List(path, CodePageMode::Auto).Entries.size(); },
        [&] { bench::runQuiet({QStringLiteral("zipinfo"), QStringLiteral("-1"), path}); });
    return listed == size_t(kEntries) ? 0 : 1;
}
