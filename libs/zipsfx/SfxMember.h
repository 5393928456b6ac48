// One member as the stub's central directory reader gives it: sizes widened by zip64,
// the local header offset made a position in the program file.
#pragma once

#include <cstdint>
#include <string>

struct SfxMember {
    std::string Name;            // the stored bytes
    uint8_t MadeByHost = 0;
    uint16_t Flags = 0;
    uint16_t Method = 0;
    uint16_t DosTime = 0;
    uint16_t DosDate = 0;
    uint32_t Crc32 = 0;
    uint64_t CompressedSize = 0;
    uint64_t UncompressedSize = 0;
    uint64_t LocalHeaderAt = 0;
    uint32_t ExternalAttributes = 0;

    bool Encrypted() const { return Flags & 0x0001; }
    bool HasDataDescriptor() const { return Flags & 0x0008; }
    bool IsFolder() const { return !Name.empty() && (Name.back() == '/' || Name.back() == '\\'); }
    // Only a Unix host keeps the file type and permission bits in the upper half.
    uint32_t UnixMode() const { return MadeByHost == 3 ? ExternalAttributes >> 16 : 0; }
    bool IsSymlink() const { return (UnixMode() & 0170000) == 0120000; }
};
