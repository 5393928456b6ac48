// Checking a 1 GiB file against its SFV file, against cksfv verifying the same SFV file
// (`cksfv -f`), which cksfv itself wrote. The file is read once before timing so both
// sides read it from the page cache: the comparison is of the checking, not the disk.
// Ours runs in-process on this thread, without the dialog; theirs as the process a user
// would start.
#include "BenchFiles.h"
#include "BenchSupport.h"

#include "tools/sfv/SfvReader.h"
#include "tools/sfv/SfvValidator.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace {

constexpr qint64 kFileSize = qint64(1) << 30;
constexpr qint64 kChunk = qint64(1) << 20;

bool makeFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // Each MiB differs from the last, so a fault repeating per block would show.
    QByteArray chunk = bench::noise(int(kChunk));
    for (qint64 done = 0; done < kFileSize; done += kChunk) {
        chunk[0] = char(done >> 20);
        if (file.write(chunk) != kChunk)
            return false;
    }
    return true;
}

bool writeSfvWithCksfv(const QString& folder, const QString& name, const QString& sfvPath)
{
    QProcess cksfv;
    cksfv.setWorkingDirectory(folder);
    cksfv.start(QStringLiteral("cksfv"), {name});
    if (!cksfv.waitForFinished(-1) || cksfv.exitCode() != 0)
        return false;
    QFile sfv(sfvPath);
    return sfv.open(QIODevice::WriteOnly) && sfv.write(cksfv.readAllStandardOutput()) > 0;
}

// Reads the file once, through the program's own check.
bool checkOurs(const QString& folder, const QString& sfvPath)
{
    const std::optional<std::vector<SfvEntry>> rows = SfvReader::ReadFile(QFile::encodeName(sfvPath));
    if (!rows || rows->empty())
        return false;
    SfvValidator validator(QFile::encodeName(folder) + '/', *rows);
    bool ok = true;
    QObject::connect(&validator, &SfvValidator::RowStatus, [&](int, SfvValidator::Status status) {
        ok = ok && (status == SfvValidator::Status::Processing || status == SfvValidator::Status::ValidatedOk);
    });
    validator.Run();
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/dorvane-bench-XXXXXX"));
    const QString name = QStringLiteral("big.bin");
    const QString sfvPath = dir.path() + QStringLiteral("/big.sfv");
    if (!dir.isValid() || !makeFile(dir.filePath(name)) || !writeSfvWithCksfv(dir.path(), name, sfvPath)) {
        std::fprintf(stderr, "cannot make a 1 GiB file and its SFV under %s (is cksfv installed?)\n",
                     qPrintable(QDir::tempPath()));
        return 1;
    }
    // cksfv -f finds the listed names from the current folder.
    QDir::setCurrent(dir.path());
    bool allOk = checkOurs(dir.path(), sfvPath);   // and into the page cache
    bench::compare(
        "sfv_vs_cksfv", 5, [&] { allOk = checkOurs(dir.path(), sfvPath) && allOk; },
        [&] { allOk = bench::runQuiet({QStringLiteral("cksfv"), QStringLiteral("-q"), QStringLiteral("-f"), sfvPath}) && allOk; });
    QDir::setCurrent(QDir::rootPath());
    return allOk ? 0 : 1;
}
