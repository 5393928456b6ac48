#include "viewers/text/TextFileReader.h"

#include <QCoreApplication>
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

TextFileReader::~TextFileReader() { Close(); }

bool TextFileReader::Open(const QString& path)
{
    Close();
    m_error.clear();
    // O_NONBLOCK: opening a FIFO that no one writes to would otherwise wait forever
    // before the regular-file check below could refuse it.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return Fail(QString::fromLocal8Bit(std::strerror(errno)));
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return Fail(QCoreApplication::translate("TextFileReader", "Not a regular file"));
    }
    m_fd = fd;
    m_size = info.st_size;
    return true;
}

void TextFileReader::Close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_size = 0;
}

QByteArray TextFileReader::Read(qint64 offset, qint64 length) const
{
    QByteArray bytes(qsizetype(std::max<qint64>(0, length)), Qt::Uninitialized);
    const qint64 n = ReadInto(offset, bytes.data(), bytes.size());
    bytes.truncate(qsizetype(std::max<qint64>(0, n)));
    return bytes;
}

qint64 TextFileReader::ReadInto(qint64 offset, char* to, qint64 length) const
{
    qint64 done = 0;
    while (done < length) {
        const ssize_t n = ::pread(m_fd, to + done, size_t(length - done), off_t(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            Fail(QString::fromLocal8Bit(std::strerror(errno)));
            return done > 0 ? done : -1;
        }
        if (n == 0)
            break;
        done += n;
    }
    return done;
}

qint64 TextFileReader::NextHole(qint64 offset) const { return Seek(offset, SEEK_HOLE); }

qint64 TextFileReader::NextData(qint64 offset) const { return Seek(offset, SEEK_DATA); }

qint64 TextFileReader::Seek(qint64 offset, int whence) const
{
    // The descriptor's own position is never used for reading (pread), so moving it is
    // harmless.
    const off_t found = ::lseek(m_fd, off_t(offset), whence);
    return found < 0 ? m_size : qint64(found);
}

bool TextFileReader::Fail(const QString& error) const
{
    m_error = error;
    return false;
}
