// The stub's reader of the archive it carries: the end record (zip64 too), the central
// directory and each member's local header. The archive's stored offsets may count from
// any start: they are taken relative to where the directory is really found.
#pragma once

#include "SfxMember.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class SfxArchive {
public:
    // The archive lies in [start, fileSize) of the open file `fd`. `strict`: the end
    // record must close the file exactly, so a truncated or padded file is refused.
    bool Open(int fd, uint64_t start, uint64_t fileSize, bool strict);

    const std::string& Error() const { return m_error; }
    const std::vector<SfxMember>& Members() const { return m_members; }

    // Where the member's data begins; none when its local header is missing or its data
    // runs past the local part of the archive.
    std::optional<uint64_t> DataAt(const SfxMember& member) const;

private:
    struct EndRecord {
        uint64_t At = 0;
        uint64_t DirectoryEnd = 0;
        uint64_t EntryCount = 0;
        uint64_t DirectorySize = 0;
        uint64_t DirectoryOffset = 0;
        bool Spanned = false;
    };

    bool FindEndRecord(EndRecord& end);
    bool TakeEndRecord(EndRecord& end, const std::vector<uint8_t>& tail, uint64_t tailStart);
    void ReadZip64End(EndRecord& end);
    bool ParseZip64End(EndRecord& end, uint64_t at);
    bool ReadDirectory(const EndRecord& end);
    bool ReadEntry(const std::vector<uint8_t>& directory, size_t& at, int64_t shift);
    bool Fail(const std::string& error);

    int m_fd = -1;
    uint64_t m_start = 0;
    uint64_t m_size = 0;
    bool m_strict = false;
    uint64_t m_localEnd = 0;
    std::vector<SfxMember> m_members;
    std::string m_error;
};
