// Feeds arbitrary bytes, cut into volumes, to the joining of a spanned zip set, which
// makes the volumes' offsets count from the start of the whole. The input is a list of
// volumes, each a 4-byte little-endian length and its bytes; what is left after the
// last whole one is the last volume ("set.zip"), the others are "set.z01", "set.z02"...
// Besides not crashing or reading outside the volumes: a join that succeeds keeps every
// byte count, and the joined archive, when it lists, no longer says it is spanned.
#include "zip/ZipDirectoryReader.h"
#include "zip/ZipMessageTable.h"
#include "zip/ZipVolumeSet.h"

#include "FuzzScratch.h"

#include <QByteArray>
#include <QtEndian>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kMaxVolumes = 8;

using FuzzScratch::Check;
using FuzzScratch::WriteFile;

std::vector<QByteArray> volumesOf(const uint8_t* data, size_t size)
{
    std::vector<QByteArray> volumes;
    size_t at = 0;
    while (int(volumes.size()) < kMaxVolumes - 1 && size - at >= 4) {
        const uint32_t length = qFromLittleEndian<uint32_t>(data + at);
        if (length > size - at - 4)
            break;
        volumes.emplace_back(reinterpret_cast<const char*>(data + at + 4), qsizetype(length));
        at += 4 + length;
    }
    volumes.emplace_back(reinterpret_cast<const char*>(data + at), qsizetype(size - at));
    return volumes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString folder = FuzzScratch::Folder("fuzz-volumes");
    const std::vector<QByteArray> volumes = volumesOf(data, size);
    const int count = int(volumes.size());
    const QString last = folder + QStringLiteral("/set.zip");
    qint64 total = 0;
    for (int number = 1; number <= count; ++number) {
        const QString name = number == count ? last : folder + QStringLiteral("/set.z%1").arg(number, 2, 10, QLatin1Char('0'));
        WriteFile(name, volumes[size_t(number - 1)]);
        total += volumes[size_t(number - 1)].size();
    }
    const QString joined = folder + QStringLiteral("/joined.zip");
    const int result = ZipVolumeSet::Join(last, count, joined, [](int, int) { return false; });
    if (result == 0) {
        Check(QFile(joined).size() == total);
        const ZipListing listing = ZipDirectoryReader::List(joined, CodePageMode::Auto);
        bool listed = true;
        for (const ZipMessage& message : listing.Messages)
            listed &= message.Code == ZipMessageTable::StructureWarning || message.Code == ZipMessageTable::GarbageWarning;
        Check(!listed || listing.DirectoryDisk == 0);
    }
    return 0;
}
