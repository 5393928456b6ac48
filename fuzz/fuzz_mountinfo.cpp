// Feeds arbitrary bytes to the mount-table parser and checks what the drive list
// promises: "/" first, at most 26 volumes, every mount point absolute.
// The parser is compiled into this file rather than taken from dv_platform, so that
// it carries the fuzzer's coverage and sanitizer instrumentation.
#include "platform/DriveList.cpp"
#include "platform/FileNames.cpp"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const QVector<TVolume> volumes = ParseMountInfo(input);
    if (volumes.isEmpty() || volumes.size() > 26 || volumes.first().mountPoint != QStringLiteral("/"))
        std::abort();
    for (const TVolume& volume : volumes) {
        if (!volume.mountPoint.startsWith(u'/'))
            std::abort();
        VolumeRootOf(volume.mountPoint + QStringLiteral("/x"), volumes);
    }
    return 0;
}
