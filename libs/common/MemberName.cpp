#include "MemberName.h"

namespace {

bool isAscii(const std::string& text)
{
    for (const unsigned char c : text)
        if (c >= 0x80)
            return false;
    return true;
}

bool isUtf8(const std::string& text)
{
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = text[i];
        const size_t length = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
        if (length == 0 || (length == 2 && c < 0xC2) || i + length > text.size())
            return false;
        for (size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) >> 6) != 0x2)
                return false;
        i += length;
    }
    return true;
}

std::string latin1ToUtf8(const std::string& text)
{
    std::string out;
    for (const unsigned char c : text) {
        if (c < 0x80) {
            out += char(c);
        } else {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

} // namespace

namespace MemberName {

std::string Shown(zip_t* archive, zip_uint64_t index)
{
    const char* raw = zip_get_name(archive, index, ZIP_FL_ENC_RAW);
    if (!raw)
        return {};
    const std::string bytes(raw);
    if (isAscii(bytes))
        return bytes;
    // Read strictly, a name is UTF-8 only when its entry is flagged so, and code page
    // 437 otherwise; a flagged name therefore comes back as its own bytes.
    const char* strict = zip_get_name(archive, index, ZIP_FL_ENC_STRICT);
    const std::string strictName = strict ? strict : bytes;
    if (strictName == bytes)
        return bytes;
    zip_uint8_t host = 0;
    zip_uint32_t attributes = 0;
    if (zip_file_get_external_attributes(archive, index, 0, &host, &attributes) == 0
        && (host == ZIP_OPSYS_DOS || host == ZIP_OPSYS_OS_2))
        return strictName;
    return isUtf8(bytes) ? bytes : latin1ToUtf8(bytes);
}

} // namespace MemberName
