// Copying against `cp`: one large file against `cp FILE DIR`, and a tree of many small
// files against `cp -r TREE DIR`. Every run writes to a new destination folder (a
// delete followed by new files measures the file system's cleanup, not the copy);
// everything is removed at the end. DV_BENCH_SMALL=1 shrinks the sizes for a quick
// run; DV_BENCH_DIR chooses where the files go (default: the temporary folder).
#include "BenchFiles.h"
#include "BenchSupport.h"

#include "platform/FileOperationEngine.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdlib>

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
    if (!bench::writeFile(QFile::encodeName(bigFile), bench::noise(1 << 20), fileSize) || !bench::makeTree(tree, treeFiles))
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
        bench::SilentObserver observer;
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
