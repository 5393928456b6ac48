// The traditional PKWARE decryption: three keys driven by the plain bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class ZipCrypto {
public:
    static constexpr size_t kHeaderSize = 12;

    explicit ZipCrypto(const std::string& password);

    void Decrypt(uint8_t* bytes, size_t count);

private:
    void Update(uint8_t plain);
    uint8_t KeyByte() const;

    uint32_t m_keys[3] = {305419896, 591751049, 878082192};
};
