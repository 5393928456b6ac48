#include "ReadOnlyFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

ReadOnlyFile::ReadOnlyFile(const QByteArray& nativePath)
{
    // A NUL inside the name would cut it short and open another file.
    if (nativePath.isEmpty() || nativePath.contains('\0')) {
        m_openError = ENOENT;
        return;
    }
    // O_NONBLOCK: opening a FIFO nobody writes to would wait forever.
    const int fd = ::open(nativePath.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        m_openError = errno;
        return;
    }
    struct stat st {};
    const bool known = ::fstat(fd, &st) == 0;
    if (!known || !S_ISREG(st.st_mode)) {
        m_openError = !known ? errno : S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        ::close(fd);
        return;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    m_fd = fd;
    m_size = qint64(st.st_size);
}

ReadOnlyFile::~ReadOnlyFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

qint64 ReadOnlyFile::Read(char* buffer, qint64 size)
{
    if (m_fd < 0)
        return -1;
    for (;;) {
        const ssize_t n = ::read(m_fd, buffer, size_t(size));
        if (n >= 0 || errno != EINTR)
            return qint64(n);
    }
}
