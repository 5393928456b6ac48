// Moving a tree to another file system against `mv`: the program flushes the copies
// to the disk before it removes the sources, `mv` does not, and this measures what that
// safety costs. The other file system is an ext4 image mounted through a loop device
// where this process may mount one, else a tmpfs; without mount rights nothing is
// measured. DV_BENCH_SMALL=1 shrinks the tree; DV_BENCH_DIR chooses where the
// sources and the image go (default: the temporary folder).
#include "BenchFiles.h"
#include "BenchSupport.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <sys/mount.h>

namespace {

// The second file system, unmounted again when the benchmark ends.
class OtherVolume {
public:
    explicit OtherVolume(const QString& folder) : m_at(folder + QStringLiteral("/volume"))
    {
        QDir().mkpath(m_at);
        const QString image = folder + QStringLiteral("/volume.img");
        if (bench::runQuiet({QStringLiteral("truncate"), QStringLiteral("-s"), QStringLiteral("2G"), image})
            && bench::runQuiet({QStringLiteral("mkfs.ext4"), QStringLiteral("-q"), QStringLiteral("-F"),
                                QStringLiteral("-N"), QStringLiteral("400000"), image})
            && bench::runQuiet({QStringLiteral("mount"), QStringLiteral("-o"), QStringLiteral("loop"), image, m_at})) {
            Kind = "ext4 image";
        } else if (::mount("tmpfs", QFile::encodeName(m_at).constData(), "tmpfs", 0, "size=2g,nr_inodes=400000") == 0) {
            Kind = "tmpfs";
        }
    }
    ~OtherVolume()
    {
        if (Kind)
            ::umount2(QFile::encodeName(m_at).constData(), MNT_DETACH);
    }
    QString Path() const { return m_at; }
    const char* Kind = nullptr;

private:
    QString m_at;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const bool small = qEnvironmentVariableIntValue("DV_BENCH_SMALL") != 0;
    const int treeFiles = small ? 2000 : 10000;
    const int rounds = small ? 3 : 5;
    const QString base = qEnvironmentVariableIsSet("DV_BENCH_DIR") ? qEnvironmentVariable("DV_BENCH_DIR") : QDir::tempPath();
    QTemporaryDir dir(base + QStringLiteral("/dorvane-bench-move-XXXXXX"));
    if (!dir.isValid())
        return 1;
    OtherVolume volume(dir.path());
    if (!volume.Kind) {
        std::printf("move_across_fs_vs_mv: skipped, no rights to mount a second file system\n");
        return 0;
    }
    std::printf("move_across_fs_vs_mv: %d files onto a %s\n", treeFiles, volume.Kind);

    int serial = 0;
    const QString source = dir.filePath(QStringLiteral("tree"));
    auto prepare = [&] {
        if (!bench::makeTree(source, treeFiles))
            std::fprintf(stderr, "cannot make %s\n", qPrintable(source));
        ::sync();
    };
    auto target = [&] {
        const QString folder = volume.Path() + QStringLiteral("/run-%1").arg(++serial);
        QDir().mkpath(folder);
        return folder;
    };
    auto ours = [&] {
        bench::SilentObserver observer;
        FileOperationEngine engine(observer);
        FileOpRequest request;
        request.Kind = FileOpKind::Move;
        request.Sources = {source};
        request.Target = target();
        if (engine.Run(request) != FileOpResult::Done)
            std::fprintf(stderr, "move into %s did not finish\n", qPrintable(request.Target));
    };
    auto theirs = [&] { bench::runQuiet({QStringLiteral("mv"), source, target()}); };
    bench::compare("move_across_fs_vs_mv", rounds, ours, theirs, prepare);
    return 0;
}
