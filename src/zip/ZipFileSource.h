// An archive file read with pread. Opening never blocks (a FIFO or a device is refused,
// not waited on) and only a regular file is accepted.
#pragma once

#include "ZipSource.h"

#include "platform/doors/UntrustedFile.h"

#include <QString>

class ZipFileSource : public ZipSource {
public:
    enum class OpenResult { Opened, Missing, Refused };

    ZipFileSource() = default;
    ZipFileSource(const ZipFileSource&) = delete;
    ZipFileSource& operator=(const ZipFileSource&) = delete;

    OpenResult Open(const QString& path);
    qint64 Size() const override { return m_file.Ok() ? qint64(m_file.Size()) : 0; }
    bool ReadAt(qint64 offset, char* to, qint64 count) const override;

private:
    UntrustedFile m_file;
};
