#include "TempFile.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string RandomName()
{
    thread_local std::mt19937 generator{std::random_device{}()};
    char name[32];
    std::snprintf(name, sizeof name, ".dv-%08x.part", unsigned(generator()));
    return name;
}

} // namespace

TempFile::TempFile(int folder, mode_t mode)
    : m_folder(folder)
{
    for (int attempt = 0; attempt < 100 && !m_fd.valid(); ++attempt) {
        m_name = RandomName();
        m_fd.reset(::openat(folder, m_name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
        m_error = m_fd.valid() ? 0 : errno;
        if (m_error != EEXIST)
            break;
    }
    m_created = m_fd.valid();
}

TempFile::~TempFile()
{
    m_fd.reset();
    if (m_created && !m_committed)
        ::unlinkat(m_folder, m_name.c_str(), 0);
}

bool TempFile::write(const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(m_fd.get(), data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            m_error = n < 0 ? errno : EIO;
            return false;
        }
        data += n;
        size -= size_t(n);
    }
    return true;
}

bool TempFile::commit(const std::string& name, time_t mtime)
{
    const timespec times[2] = {{0, UTIME_OMIT}, {mtime, 0}};
    const int fd = m_fd.release();
    const bool timed = ::futimens(fd, times) == 0;
    m_error = timed ? 0 : errno;
    // close() reports a delayed write error (a full disk on NFS, say).
    if (::close(fd) != 0 && timed)
        m_error = errno;
    if (m_error != 0)
        return false;
    if (::renameat(m_folder, m_name.c_str(), m_folder, name.c_str()) != 0) {
        m_error = errno;
        return false;
    }
    m_committed = true;
    return true;
}
