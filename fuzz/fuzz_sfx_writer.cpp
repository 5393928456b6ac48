// Feeds arbitrary bytes as the archive the self-extractor writer puts behind a stub and
// its settings block, moving every offset in the directory past both. Besides not
// crashing or touching memory outside its buffers: a conversion that succeeds is the
// stub, the block and an archive of the same size, and the stub's own reader finds in
// it the members it can extract from the input, each at the same place moved by the
// same amount.
#include "SfxArchive.h"
#include "zip/SfxSettingsBlock.h"
#include "zip/SfxWriter.h"

#include "FuzzScratch.h"

#include <QByteArray>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace {

using FuzzScratch::Check;
using FuzzScratch::WriteFile;

// The stub's reader over `path` from `start`; empty when it refuses the archive.
struct Read {
    bool Opened = false;
    std::vector<SfxMember> Members;
    std::vector<std::optional<uint64_t>> Data;
};

Read readAsStub(const QString& path, uint64_t start)
{
    Read read;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    Check(fd >= 0);
    const off_t size = ::lseek(fd, 0, SEEK_END);
    SfxArchive archive;
    read.Opened = archive.Open(fd, start, uint64_t(size), false);
    if (read.Opened) {
        read.Members = archive.Members();
        for (const SfxMember& member : read.Members)
            read.Data.push_back(archive.DataAt(member));
    }
    ::close(fd);
    return read;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString folder = FuzzScratch::Folder("fuzz-sfx-writer");
    // A stub of its own odd size, so moved offsets differ from stored ones in every byte.
    static const QByteArray stub(4099, '\x7f');
    static const QByteArray block = SfxSettingsBlock{}.Build();
    const qint64 shift = stub.size() + block.size();
    const QString stubPath = folder + QStringLiteral("/stub");
    const QString archivePath = folder + QStringLiteral("/input.zip");
    const QString outputPath = folder + QStringLiteral("/output");
    if (!QFile::exists(stubPath))
        WriteFile(stubPath, stub);
    WriteFile(archivePath, QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    QFile::remove(outputPath);

    const SfxWriter::Request request{stubPath, archivePath, block, outputPath};
    if (SfxWriter::Write(request) != SfxWriter::kSuccess) {
        Check(!QFile::exists(outputPath));
        return 0;
    }
    QFile output(outputPath);
    Check(output.open(QIODevice::ReadOnly) && output.size() == shift + qint64(size));
    Check(output.read(shift) == stub + block);
    output.close();

    // Only an archive the stub can extract from must stay one; a damaged one may read
    // differently once it has a stub in front.
    const Read before = readAsStub(archivePath, 0);
    if (!before.Opened || std::find(before.Data.begin(), before.Data.end(), std::nullopt) != before.Data.end())
        return 0;
    const Read after = readAsStub(outputPath, uint64_t(shift));
    Check(after.Opened && after.Members.size() == before.Members.size());
    for (size_t i = 0; i < before.Members.size(); ++i) {
        Check(after.Members[i].Name == before.Members[i].Name);
        Check(after.Data[i].has_value() == before.Data[i].has_value());
        Check(!before.Data[i] || *after.Data[i] == *before.Data[i] + uint64_t(shift));
    }
    return 0;
}
