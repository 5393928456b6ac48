#include "ZipDirectoryCursor.h"

#include <algorithm>

ZipDirectoryCursor::ZipDirectoryCursor(const ZipSource& source, qint64 start, qint64 size)
    : m_source(source), m_start(start), m_size(size),
      m_chunk(size <= kWholeBlockLimit ? size : kStreamChunk)
{
}

const char* ZipDirectoryCursor::Take(qint64 count)
{
    if (count < 0 || count > m_size - m_position)
        return nullptr;
    if (m_position + count > m_bufferStart + m_buffer.size() && !Fill(count))
        return nullptr;
    const char* bytes = m_buffer.constData() + (m_position - m_bufferStart);
    m_position += count;
    return bytes;
}

bool ZipDirectoryCursor::Fill(qint64 count)
{
    const qint64 length = std::min(std::max(count, m_chunk), m_size - m_position);
    m_buffer = m_source.Read(m_start + m_position, length);
    m_bufferStart = m_position;
    m_readFailed = m_buffer.size() != length;
    return !m_readFailed;
}
