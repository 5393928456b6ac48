#include "ZipCrypto.h"

#include <zlib.h>

namespace {

uint32_t crcStep(uint32_t crc, uint8_t byte)
{
    return uint32_t(get_crc_table()[(crc ^ byte) & 0xFF]) ^ (crc >> 8);
}

} // namespace

ZipCrypto::ZipCrypto(const std::string& password)
{
    for (const char c : password)
        Update(uint8_t(c));
}

void ZipCrypto::Decrypt(uint8_t* bytes, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        bytes[i] ^= KeyByte();
        Update(bytes[i]);
    }
}

void ZipCrypto::Update(uint8_t plain)
{
    m_keys[0] = crcStep(m_keys[0], plain);
    m_keys[1] = (m_keys[1] + (m_keys[0] & 0xFF)) * 134775813 + 1;
    m_keys[2] = crcStep(m_keys[2], uint8_t(m_keys[1] >> 24));
}

uint8_t ZipCrypto::KeyByte() const
{
    const uint32_t temp = (m_keys[2] | 2) & 0xFFFF;
    return uint8_t((temp * (temp ^ 1)) >> 8);
}
