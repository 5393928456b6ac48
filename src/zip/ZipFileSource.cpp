#include "ZipFileSource.h"

#include <QFile>

ZipFileSource::OpenResult ZipFileSource::Open(const QString& path)
{
    if (path.isEmpty())
        return OpenResult::Missing;
    m_file = UntrustedFile::Open(QFile::encodeName(path).toStdString());
    switch (m_file.GetStatus()) {
    case UntrustedFile::Status::Ok: return OpenResult::Opened;
    case UntrustedFile::Status::Missing: return OpenResult::Missing;
    default: return OpenResult::Refused;
    }
}

bool ZipFileSource::ReadAt(qint64 offset, char* to, qint64 count) const
{
    const qint64 size = Size();
    if (offset < 0 || count < 0 || offset > size || count > size - offset)
        return false;
    return m_file.ReadAt(uint64_t(offset), to, size_t(count));
}
