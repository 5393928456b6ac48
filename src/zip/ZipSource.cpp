#include "ZipSource.h"

#include <cstring>

QByteArray ZipSource::Read(qint64 offset, qint64 count) const
{
    QByteArray bytes(count, Qt::Uninitialized);
    return ReadAt(offset, bytes.data(), count) ? bytes : QByteArray();
}

bool ZipMemorySource::ReadAt(qint64 offset, char* to, qint64 count) const
{
    if (offset < 0 || count < 0 || offset > m_bytes.size() || count > m_bytes.size() - offset)
        return false;
    std::memcpy(to, m_bytes.constData() + offset, size_t(count));
    return true;
}
