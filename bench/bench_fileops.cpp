// Copying against `cp`: one large file against `cp FILE DIR`, and a tree of many small
// files against `cp -r TREE DIR`. Every run writes to a new destination folder (a
// delete followed by new files measures the file system's cleanup, not the copy);
// everything is removed at the end. DV_BENCH_SMALL=1 shrinks the sizes for a quick
// run; DV_BENCH_DIR chooses where the files go (default: the temporary folder).
#include "BenchSupport.h"

#include "platform/FileOperationEngine.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Answers nothing and never cancels: the engine alone is timed.
class SilentObserver : public FileOpObserver {
public:
    void Progress(const FileOpProgress&) override {}
    bool CancelRequested() override { return false; }
    OverwriteChoice AskOverwrite(const FileOpConflict&) override { return OverwriteChoice::Cancel; }
    ErrorChoice AskError(const QString& text) override
    {
        std::fprintf(stderr, "error: %s\n", qPrintable(text));
        return ErrorChoice::Cancel;
    }
    bool Confirm(const QString&) override { return false; }
    void Inform(const QString& text) override { std::fprintf(stderr, "refused: %s\n", qPrintable(text)); }
};

bool writeFile(const QByteArray& path, const QByteArray& block, int64_t size)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return false;
    bool ok = true;
    for (int64_t done = 0; ok && done < size;) {
        const size_t n = size_t(std::min<int64_t>(block.size(), size - done));
        ok = ::write(fd, block.constData(), n) == ssize_t(n);
        done += int64_t(n);
    }
    return ::close(fd) == 0 && ok;
}

// Data that no file system can store as holes or compress away.
QByteArray noise(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    uint64_t x = 0x9E3779B97F4A7C15ull;
    for (int i = 0; i < size; ++i) {
        x ^= x << 13;
        x ^= x >> 7;
        x ^= x << 17;
        bytes[i] = char(x);
    }
    return bytes;
}

bool makeTree(const QString& root, int files)
{
    const QByteArray block = noise(4096);
    constexpr int kPerFolder = 1000;
    for (int i = 0; i < files; ++i) {
        const QString folder = root + QStringLiteral("/d%1").arg(i / kPerFolder, 3, 10, QLatin1Char('0'));
        if (i % kPerFolder == 0 && !QDir().mkpath(folder))
            return false;
        const QByteArray path = QFile::encodeName(folder + QStringLiteral("/file_%1.txt").arg(i));
        if (!writeFile(path, block.left(200 + (i * 37) % 3800), 200 + (i * 37) % 3800))
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const bool small = qEnvironmentVariableIntValue("DV_BENCH_SMALL") != 0;
    const int64_t fileSize = small ? (64ll << 20) : (1ll << 30);
    const int treeFiles = small ? 5000 : 100000;
    const int rounds = small ? 3 : 5;
    const QString base = qEnvironmentVariableIsSet("DV_BENCH_DIR") ? qEnvironmentVariable("DV_BENCH_DIR") : QDir::tempPath();
    QTemporaryDir dir(base + QStringLiteral("/dorvane-bench-fileops-XXXXXX"));
    if (!dir.isValid())
        return 1;
    const QString bigFile = dir.filePath(QStringLiteral("big.bin"));
    const QString tree = dir.filePath(QStringLiteral("tree"));
    if (!writeFile(QFile::encodeName(bigFile), noise(1 << 20), fileSize) || !makeTree(tree, treeFiles))
        return 1;
    ::sync();

    int serial = 0;
    auto freshFolder = [&](const char* side) {
        const QString folder = dir.filePath(QStringLiteral("%1-%2").arg(QLatin1String(side)).arg(++serial));
        QDir().mkpath(folder);
        return folder;
    };
    auto ours = [&](const QString& source) {
        const QString target = freshFolder("ours");
        SilentObserver observer;
        FileOperationEngine engine(observer);
        FileOpRequest request;
        request.Kind = FileOpKind::Copy;
        request.Sources = {source};
        request.Target = target;
        if (engine.Run(request) != FileOpResult::Done)
            std::fprintf(stderr, "copy into %s did not finish\n", qPrintable(target));
    };

    bench::compare("copy_file_vs_cp", rounds, [&] { ours(bigFile); },
                   [&] { bench::runQuiet({QStringLiteral("cp"), bigFile, freshFolder("cp")}); });
    bench::compare("copy_tree_vs_cp", rounds, [&] { ours(tree); },
                   [&] { bench::runQuiet({QStringLiteral("cp"), QStringLiteral("-r"), tree, freshFolder("cp")}); });
    return 0;
}
