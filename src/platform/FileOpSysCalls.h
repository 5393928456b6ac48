// Small helpers over the system calls the file operations use: an owned descriptor,
// a rename that never replaces, and error texts in the system's words.
#pragma once

#include <QString>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

class FileOpFd {
public:
    FileOpFd() = default;
    explicit FileOpFd(int fd) : m_fd(fd) {}
    FileOpFd(FileOpFd&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    FileOpFd& operator=(FileOpFd&& other) noexcept
    {
        if (this != &other) {
            reset();
            m_fd = std::exchange(other.m_fd, -1);
        }
        return *this;
    }
    FileOpFd(const FileOpFd&) = delete;
    FileOpFd& operator=(const FileOpFd&) = delete;
    ~FileOpFd() { reset(); }

    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    void reset()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }
    // Closes and reports the close's own error: network file systems report failed
    // writes only here.
    int close()
    {
        const int fd = std::exchange(m_fd, -1);
        return fd < 0 || ::close(fd) == 0 ? 0 : errno;
    }

private:
    int m_fd = -1;
};

// Renames `from` to `to` unless `to` exists (EEXIST). File systems without the
// kernel's no-replace rename get a check first, which is as good as they allow.
inline int RenameNoReplace(int fromDir, const char* from, int toDir, const char* to)
{
    if (::renameat2(fromDir, from, toDir, to, RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    struct stat st;
    if (::fstatat(toDir, to, &st, AT_SYMLINK_NOFOLLOW) == 0)
        return EEXIST;
    return ::renameat(fromDir, from, toDir, to) == 0 ? 0 : errno;
}

inline QString SystemErrorText(int error)
{
    return QString::fromLocal8Bit(::strerror(error));
}
