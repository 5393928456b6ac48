// Testing a 200 MiB zip (every member inflated and its CRC checked) through UNZDLL.DLL
// as the zip component calls it, against Info-ZIP's `unzip -t` on the same archive.
// The archive is made once with Python's zipfile from text-like data that deflates to
// about 58%, so both sides spend their time inflating rather than copying.
#include "BenchSupport.h"

#include "ZipDllRecords.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <dlfcn.h>

namespace {

constexpr int kMembers = 44;
constexpr int kMemberMiB = 8;

bool makeArchive(const QString& path)
{
    const QString script = QStringLiteral("import os, sys, zipfile\n"
                                          "letters = bytes((b'etaoinshrdlucmfw ' * 16)[i] for i in range(256))\n"
                                          "with zipfile.ZipFile(sys.argv[1], 'w', zipfile.ZIP_DEFLATED) as z:\n"
                                          "    for i in range(%1):\n"
                                          "        z.writestr(f'part{i:02}.txt', os.urandom(%2 << 20).translate(letters))\n")
                               .arg(kMembers)
                               .arg(kMemberMiB);
    return bench::runQuiet({QStringLiteral("python3"), QStringLiteral("-c"), script, path});
}

int32_t countProgress(ZipCallbackRecord*)
{
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/dorvane-bench-XXXXXX"));
    const QString path = dir.path() + QStringLiteral("/big.zip");
    if (!dir.isValid() || !makeArchive(path)) {
        std::fprintf(stderr, "cannot make the test zip under %s\n", qPrintable(QDir::tempPath()));
        return 1;
    }
    void* library = dlopen(DV_PROGRAM_DIR "/UNZDLL.DLL", RTLD_NOW | RTLD_LOCAL);
    const auto exec = library ? reinterpret_cast<UnzDllExecFunction>(dlsym(library, "UnzDllExec")) : nullptr;
    if (!exec) {
        std::fprintf(stderr, "cannot load UNZDLL.DLL from %s\n", DV_PROGRAM_DIR);
        return 1;
    }
    std::printf("archive: %.1f MiB\n", double(QFileInfo(path).size()) / (1 << 20));
    const QByteArray name = path.toLocal8Bit();
    int32_t passed = 0;
    bench::compare(
        "zip_test_vs_unzip_t", 3,
        [&] {
            UnzExtractCommand command{};
            command.Version = ZIPDLL_INTERFACE_VERSION;
            command.Callback = &countProgress;
            command.Quiet = -1;
            command.TestOnly = -1;
            command.ZipFileName = name.constData();
            command.Seven = ZIPDLL_RECORD_SEVEN;
            passed = exec(&command);
        },
        [&] { bench::runQuiet({QStringLiteral("unzip"), QStringLiteral("-t"), path}); });
    return passed == kMembers ? 0 : 1;
}
