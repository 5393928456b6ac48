// Summing a folder tree of 100,000 small files (1000 folders of 100) against `du -s`
// of the same tree. DV_BENCH_SMALL=1 makes it 100 folders for a quick run.
#include "BenchSupport.h"

#include "fileops/DirSizeCounter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool makeTree(const QString& root, int folders, int filesPerFolder)
{
    for (int d = 0; d < folders; ++d) {
        const QByteArray folder = QFile::encodeName(root + QStringLiteral("/group%1/folder%2").arg(d / 50).arg(d));
        if (!QDir().mkpath(QFile::decodeName(folder)))
            return false;
        const int dirFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY);
        if (dirFd < 0)
            return false;
        for (int f = 0; f < filesPerFolder; ++f) {
            const QByteArray name = "file" + QByteArray::number(f) + (f % 4 ? ".txt" : ".dat");
            const int fd = ::openat(dirFd, name.constData(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
            if (fd < 0) {
                ::close(dirFd);
                return false;
            }
            // A few hundred bytes, varying, so sizes are not all alike.
            const QByteArray bytes((f * 37 + d) % 700, 'x');
            (void)::write(fd, bytes.constData(), size_t(bytes.size()));
            ::close(fd);
        }
        ::close(dirFd);
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const bool small = qEnvironmentVariableIntValue("DV_BENCH_SMALL") == 1;
    const int folders = small ? 100 : 1000;
    const int filesPerFolder = 100;
    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/dorvane-bench-XXXXXX"));
    if (!dir.isValid() || !makeTree(dir.path(), folders, filesPerFolder)) {
        std::fprintf(stderr, "cannot build the tree under %s\n", qPrintable(QDir::tempPath()));
        return 1;
    }
    const std::atomic<bool> noStop{false};
    std::optional<DirSizeResult> last;
    bench::compare("dirsize_vs_du", small ? 15 : 11, [&] { last = DirSizeCounter::Measure(dir.path(), noStop); },
                   [&] { bench::runQuiet({QStringLiteral("du"), QStringLiteral("-s"), dir.path()}); });
    return last && last->FileCount == uint32_t(folders * filesPerFolder) ? 0 : 1;
}
