#include "viewers/image/GifStream.h"

#include <algorithm>
#include <cstring>

GifStream::GifStream(const QByteArray& bytes)
    : m_bytes(bytes)
{
}

uint8_t GifStream::ReadByte()
{
    // at(), not []: a non-const [] would copy the whole file to detach it.
    return AtEnd() ? 0 : uint8_t(m_bytes.at(m_position++));
}

uint16_t GifStream::ReadWord()
{
    const uint8_t low = ReadByte();
    return uint16_t(low | (ReadByte() << 8));
}

QByteArray GifStream::Read(qsizetype count)
{
    const qsizetype available = std::clamp<qsizetype>(m_bytes.size() - m_position, 0, count);
    const QByteArray part = m_bytes.mid(m_position, available);
    m_position += available;
    return part;
}

void GifStream::ReadInto(uint8_t* destination, qsizetype count)
{
    const QByteArray part = Read(count);
    std::memcpy(destination, part.constData(), size_t(part.size()));
    std::memset(destination + part.size(), 0, size_t(count - part.size()));
}

QByteArrayView GifStream::ReadSubBlock()
{
    const uint8_t declared = ReadByte();
    const qsizetype length = std::min<qsizetype>(declared, m_bytes.size() - m_position);
    const QByteArrayView block(m_bytes.constData() + m_position, length);
    m_position += length;
    return block;
}
