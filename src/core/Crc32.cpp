#include "Crc32.h"

#include <zlib.h>

#include <algorithm>

void Crc32::Update(const char* data, qint64 size)
{
    // zlib takes a 32-bit length: a larger piece goes in slices.
    constexpr qint64 kSlice = qint64(1) << 30;
    while (size > 0) {
        const qint64 slice = std::min(size, kSlice);
        m_value = uint32_t(crc32(m_value, reinterpret_cast<const Bytef*>(data), uInt(slice)));
        data += slice;
        size -= slice;
    }
}

uint32_t Crc32::Of(const QByteArray& bytes)
{
    Crc32 crc;
    crc.Update(bytes);
    return crc.Value();
}
