#include "SfxBlock.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr size_t kElfIdentSize = 16;
constexpr size_t kElf32HeaderSize = 52;
constexpr size_t kElf64HeaderSize = 64;
constexpr uint8_t kElfClass32 = 1;
constexpr uint8_t kElfClass64 = 2;
constexpr uint8_t kElfBigEndian = 2;
constexpr size_t kBlockFixedSize = 8;
constexpr size_t kTextCount = 4;

uint64_t field(const uint8_t* p, size_t width, bool bigEndian)
{
    uint64_t value = 0;
    for (size_t i = 0; i < width; ++i)
        value |= uint64_t(p[bigEndian ? width - 1 - i : i]) << (8 * i);
    return value;
}

// Takes one length-prefixed text at `at`, which must end inside `limit`.
bool takeText(const uint8_t* bytes, size_t limit, size_t& at, std::string& text)
{
    if (at >= limit)
        return false;
    const size_t length = bytes[at];
    if (length > limit - at - 1)
        return false;
    text.assign(reinterpret_cast<const char*>(bytes + at + 1), length);
    at += 1 + length;
    return true;
}

} // namespace

SfxOptions::Overwrite SfxOptions::OverwriteMode() const
{
    if (Flags & 0x08)
        return Overwrite::Always;
    if (Flags & 0x10)
        return Overwrite::Never;
    return Overwrite::Ask;
}

namespace SfxBlock {

std::optional<uint64_t> ElfImageEnd(const uint8_t* header, size_t size, uint64_t fileSize)
{
    if (size < kElfIdentSize || std::memcmp(header, "\x7F" "ELF", 4) != 0)
        return std::nullopt;
    const bool wide = header[4] == kElfClass64;
    if (!wide && header[4] != kElfClass32)
        return std::nullopt;
    const size_t headerSize = wide ? kElf64HeaderSize : kElf32HeaderSize;
    if (size < headerSize)
        return std::nullopt;
    const bool big = header[5] == kElfBigEndian;
    const uint64_t tableOffset = wide ? field(header + 0x28, 8, big) : field(header + 0x20, 4, big);
    const uint64_t entrySize = field(header + (wide ? 0x3A : 0x2E), 2, big);
    const uint64_t entryCount = field(header + (wide ? 0x3C : 0x30), 2, big);
    if (tableOffset == 0 || entrySize == 0 || entryCount == 0 || tableOffset > fileSize)
        return std::nullopt;
    // Both factors are 16-bit: the product cannot overflow, nor the sum past fileSize.
    const uint64_t tableSize = entrySize * entryCount;
    if (tableSize > fileSize - tableOffset || tableOffset + tableSize < headerSize)
        return std::nullopt;
    return tableOffset + tableSize;
}

std::optional<SfxOptions> Parse(const uint8_t* bytes, size_t size, uint32_t& blockSize)
{
    if (size < kBlockFixedSize || std::memcmp(bytes, "MPV", 3) != 0 || bytes[4] != 0 || bytes[5] != 1)
        return std::nullopt;
    const size_t stored = size_t(bytes[6]) | size_t(bytes[7]) << 8;
    if (stored < kBlockFixedSize + kTextCount || stored % 4 != 0 || stored > size)
        return std::nullopt;
    SfxOptions options;
    options.Flags = bytes[3];
    size_t at = kBlockFixedSize;
    for (std::string* text : {&options.Caption, &options.DefaultDir, &options.CommandLine, &options.Message})
        if (!takeText(bytes, stored, at, *text))
            return std::nullopt;
    blockSize = uint32_t(stored);
    return options;
}

std::optional<SfxLayout> Locate(const ReadAt& read, uint64_t fileSize)
{
    uint8_t header[kElf64HeaderSize];
    const size_t headerBytes = size_t(std::min<uint64_t>(fileSize, sizeof header));
    if (!read(0, header, headerBytes))
        return std::nullopt;
    const std::optional<uint64_t> imageEnd = ElfImageEnd(header, headerBytes, fileSize);
    if (!imageEnd)
        return std::nullopt;
    std::vector<uint8_t> block(size_t(std::min<uint64_t>(fileSize - *imageEnd, kMaxSize)));
    if (!read(*imageEnd, block.data(), block.size()))
        return std::nullopt;
    uint32_t blockSize = 0;
    std::optional<SfxOptions> options = Parse(block.data(), block.size(), blockSize);
    if (!options)
        return std::nullopt;
    return SfxLayout{std::move(*options), *imageEnd, *imageEnd + blockSize};
}

std::optional<SfxLayout> LocateInBytes(const uint8_t* data, size_t size)
{
    const ReadAt read = [data, size](uint64_t offset, void* to, size_t count) {
        if (offset > size || count > size - offset)
            return false;
        if (count > 0)
            std::memcpy(to, data + offset, count);
        return true;
    };
    return Locate(read, size);
}

} // namespace SfxBlock
