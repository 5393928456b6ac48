#include "viewers/FileMagic.h"

#include "platform/FileNames.h"

#include <QByteArray>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The `length` bytes at `offset` when the file is longer than `minSize`.
QByteArray bytesAt(const QString& path, qint64 minSize, qint64 offset, int length)
{
    // Non-blocking, so a FIFO or device named like an archive cannot hang the window.
    const int fd = ::open(EncodeFileName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return {};
    QByteArray bytes;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > minSize) {
        bytes.resize(length);
        if (::pread(fd, bytes.data(), size_t(length), offset) != length)
            bytes.clear();
    }
    ::close(fd);
    return bytes;
}

} // namespace

bool FileMagic::IsRarFile(const QString& path)
{
    return bytesAt(path, 4, 0, 4) == "Rar!";
}

bool FileMagic::IsAceFile(const QString& path)
{
    return bytesAt(path, 14, 7, 7) == "**ACE**";
}
