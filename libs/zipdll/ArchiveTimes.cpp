#include "ArchiveTimes.h"

#include "platform/doors/UntrustedFile.h"

#include <algorithm>
#include <fcntl.h>
#include <sys/stat.h>
#include <zip.h>

namespace ArchiveTimes {

bool SetToNewestEntry(const std::string& archivePath)
{
    UntrustedFile file = UntrustedFile::Open(archivePath);
    zip_t* archive = file.Ok() ? zip_fdopen(file.Fd(), ZIP_RDONLY, nullptr) : nullptr;
    if (!archive)
        return false;
    file.Release();   // libzip closed it, having taken a copy
    time_t newest = 0;
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t st;
        if (zip_stat_index(archive, zip_uint64_t(i), 0, &st) == 0 && (st.valid & ZIP_STAT_MTIME))
            newest = std::max(newest, st.mtime);
    }
    zip_discard(archive);
    if (newest == 0)
        return false;
    const timespec times[2] = {{0, UTIME_OMIT}, {newest, 0}};
    return ::utimensat(AT_FDCWD, archivePath.c_str(), times, 0) == 0;
}

} // namespace ArchiveTimes
