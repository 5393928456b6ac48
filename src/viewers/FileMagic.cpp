#include "viewers/FileMagic.h"

#include "platform/FileNames.h"
#include "platform/doors/UntrustedFile.h"

#include <QByteArray>

namespace {

// The `length` bytes at `offset` when the file is longer than `minSize`.
QByteArray bytesAt(const QString& path, qint64 minSize, qint64 offset, int length)
{
    // Through the untrusted door: a FIFO or device named like an archive must not hang
    // the window while it only decides which viewer to show.
    const UntrustedFile file = UntrustedFile::Open(EncodeFileName(path).toStdString());
    QByteArray bytes;
    if (file.Ok() && file.Size() > uint64_t(minSize)) {
        bytes.resize(length);
        if (!file.ReadAt(uint64_t(offset), bytes.data(), size_t(length)))
            bytes.clear();
    }
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
