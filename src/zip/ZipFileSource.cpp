#include "ZipFileSource.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

ZipFileSource::~ZipFileSource()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

ZipFileSource::OpenResult ZipFileSource::Open(const QString& path)
{
    if (path.isEmpty())
        return OpenResult::Missing;
    m_fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (m_fd < 0)
        return errno == ENOENT || errno == ENOTDIR ? OpenResult::Missing : OpenResult::Refused;
    struct stat info {};
    if (::fstat(m_fd, &info) != 0 || !S_ISREG(info.st_mode))
        return OpenResult::Refused;
    m_size = info.st_size;
    return OpenResult::Opened;
}

bool ZipFileSource::ReadAt(qint64 offset, char* to, qint64 count) const
{
    if (offset < 0 || count < 0 || offset > m_size || count > m_size - offset)
        return false;
    while (count > 0) {
        const ssize_t n = ::pread(m_fd, to, size_t(count), off_t(offset));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        to += n;
        offset += n;
        count -= n;
    }
    return true;
}
