#include "PosixIo.h"

#include <cerrno>
#include <unistd.h>

namespace PosixIo {

bool ReadExactly(int fd, uint64_t offset, void* to, size_t count)
{
    auto* at = static_cast<char*>(to);
    while (count > 0) {
        const ssize_t got = ::pread(fd, at, count, off_t(offset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        at += got;
        offset += uint64_t(got);
        count -= size_t(got);
    }
    return true;
}

bool WriteAll(int fd, const void* data, size_t count)
{
    const auto* at = static_cast<const char*>(data);
    while (count > 0) {
        const ssize_t written = ::write(fd, at, count);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        at += written;
        count -= size_t(written);
    }
    return true;
}

} // namespace PosixIo
