// One record of a zip archive's central directory: the header fields in their zip order,
// the sizes, disk and offset widened to what zip64 extra fields can hold.
#pragma once

#include <QString>
#include <cstdint>

struct ZipDirEntry {
    uint8_t MadeByVersion = 0;
    uint8_t MadeByHost = 0;
    uint16_t VersionNeeded = 0;
    uint16_t Flags = 0;
    uint16_t Method = 0;
    uint16_t DosTime = 0;
    uint16_t DosDate = 0;
    uint32_t Crc32 = 0;
    uint64_t CompressedSize = 0;
    uint64_t UncompressedSize = 0;
    uint16_t FileNameLength = 0;
    uint16_t ExtraLength = 0;
    uint16_t FileCommentLength = 0;
    uint32_t DiskNumberStart = 0;
    uint16_t InternalAttributes = 0;
    uint32_t ExternalAttributes = 0;
    uint64_t LocalHeaderOffset = 0;

    QString FileName;
    QString FileComment;
    bool Encrypted = false;
};
