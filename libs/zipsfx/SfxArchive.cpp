#include "SfxArchive.h"

#include "PosixIo.h"

#include <algorithm>

namespace {

constexpr uint64_t kEndRecordSize = 22;
constexpr uint64_t kMaxCommentSize = 0xFFFF;
constexpr uint64_t kZip64LocatorSize = 20;
constexpr uint64_t kZip64EndSize = 56;
constexpr size_t kCentralHeaderSize = 46;
constexpr uint64_t kLocalHeaderSize = 30;
constexpr uint32_t kEndSignature = 0x06054B50;
constexpr uint32_t kZip64LocatorSignature = 0x07064B50;
constexpr uint32_t kZip64EndSignature = 0x06064B50;
constexpr uint32_t kCentralSignature = 0x02014B50;
constexpr uint32_t kLocalSignature = 0x04034B50;
constexpr uint16_t kZip64ExtraTag = 0x0001;
constexpr uint32_t kAllOnes32 = 0xFFFFFFFF;

uint16_t le16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t le32(const uint8_t* p) { return uint32_t(le16(p)) | uint32_t(le16(p + 2)) << 16; }
uint64_t le64(const uint8_t* p) { return uint64_t(le32(p)) | uint64_t(le32(p + 4)) << 32; }

void applyZip64Extra(SfxMember& member, const uint8_t* extra, size_t length)
{
    size_t at = 0;
    while (length - at >= 4) {
        const uint16_t tag = le16(extra + at);
        const size_t size = le16(extra + at + 2);
        at += 4;
        if (size > length - at)
            return;
        if (tag == kZip64ExtraTag) {
            const uint8_t* field = extra + at;
            size_t left = size;
            for (uint64_t* value : {&member.UncompressedSize, &member.CompressedSize, &member.LocalHeaderAt}) {
                if (*value == kAllOnes32 && left >= 8) {
                    *value = le64(field);
                    field += 8;
                    left -= 8;
                }
            }
            return;
        }
        at += size;
    }
}

} // namespace

bool SfxArchive::Open(int fd, uint64_t start, uint64_t fileSize, bool strict)
{
    m_fd = fd;
    m_start = start;
    m_size = fileSize;
    m_strict = strict;
    m_members.clear();
    if (start > fileSize || fileSize - start < kEndRecordSize)
        return Fail("the archive is missing");
    EndRecord end;
    if (!FindEndRecord(end))
        return false;
    ReadZip64End(end);
    return ReadDirectory(end);
}

bool SfxArchive::FindEndRecord(EndRecord& end)
{
    const uint64_t span = std::min(m_size - m_start, kEndRecordSize + kMaxCommentSize);
    std::vector<uint8_t> tail(span);
    if (!PosixIo::ReadExactly(m_fd, m_size - span, tail.data(), tail.size()))
        return Fail("the archive cannot be read");
    if (TakeEndRecord(end, tail, m_size - span))
        return true;
    return Fail(m_strict ? "the archive is not whole (its end record is not at the end)"
                         : "the archive's end record is missing");
}

// Searches backwards; a signature inside a comment is passed over when the comment it
// announces would run past the end (or, strictly, not reach it exactly).
bool SfxArchive::TakeEndRecord(EndRecord& end, const std::vector<uint8_t>& tail, uint64_t tailStart)
{
    for (size_t at = tail.size() - kEndRecordSize + 1; at-- > 0;) {
        const uint8_t* record = tail.data() + at;
        if (le32(record) != kEndSignature)
            continue;
        const uint64_t recordEnd = at + kEndRecordSize + le16(record + 20);
        if (recordEnd > tail.size() || (m_strict && recordEnd != tail.size()))
            continue;
        end.At = tailStart + at;
        end.DirectoryEnd = end.At;
        end.Spanned = le16(record + 4) != 0 || le16(record + 6) != 0;
        end.EntryCount = le16(record + 10);
        end.DirectorySize = le32(record + 12);
        end.DirectoryOffset = le32(record + 16);
        return true;
    }
    return false;
}

void SfxArchive::ReadZip64End(EndRecord& end)
{
    if (end.At - m_start < kZip64LocatorSize + kZip64EndSize)
        return;
    const uint64_t locatorAt = end.At - kZip64LocatorSize;
    uint8_t locator[kZip64LocatorSize];
    if (!PosixIo::ReadExactly(m_fd, locatorAt, locator, sizeof locator) || le32(locator) != kZip64LocatorSignature)
        return;
    // Usually right before the locator; else where the locator says, counted from the
    // start of the file or, for an archive that had bytes put in front, of the archive.
    if (ParseZip64End(end, locatorAt - kZip64EndSize))
        return;
    const uint64_t stored = le64(locator + 8);
    const uint64_t last = locatorAt - kZip64EndSize;
    if (stored >= m_start && stored <= last && ParseZip64End(end, stored))
        return;
    if (stored <= last - m_start)
        ParseZip64End(end, m_start + stored);
}

bool SfxArchive::ParseZip64End(EndRecord& end, uint64_t at)
{
    uint8_t record[kZip64EndSize];
    if (!PosixIo::ReadExactly(m_fd, at, record, sizeof record) || le32(record) != kZip64EndSignature)
        return false;
    end.DirectoryEnd = at;
    end.Spanned = le32(record + 16) != 0 || le32(record + 20) != 0;
    end.EntryCount = le64(record + 32);
    end.DirectorySize = le64(record + 40);
    end.DirectoryOffset = le64(record + 48);
    return true;
}

bool SfxArchive::ReadDirectory(const EndRecord& end)
{
    if (end.Spanned)
        return Fail("the archive spans several disks");
    if (end.DirectorySize > end.DirectoryEnd - m_start || end.EntryCount > end.DirectorySize / kCentralHeaderSize)
        return Fail("the archive's central directory is damaged");
    m_localEnd = end.DirectoryEnd - end.DirectorySize;
    std::vector<uint8_t> directory(end.DirectorySize);
    if (!PosixIo::ReadExactly(m_fd, m_localEnd, directory.data(), directory.size()))
        return Fail("the archive cannot be read");
    // Offsets stored relative to an earlier start (bytes put in front) move with it.
    const int64_t shift = int64_t(m_localEnd - end.DirectoryOffset);
    size_t at = 0;
    for (uint64_t i = 0; i < end.EntryCount; ++i)
        if (!ReadEntry(directory, at, shift))
            return Fail("the archive's central directory is damaged");
    if (m_strict && at != directory.size())
        return Fail("the archive is not whole (its central directory is damaged)");
    return true;
}

bool SfxArchive::ReadEntry(const std::vector<uint8_t>& directory, size_t& at, int64_t shift)
{
    if (directory.size() - at < kCentralHeaderSize)
        return false;
    const uint8_t* h = directory.data() + at;
    if (le32(h) != kCentralSignature)
        return false;
    const size_t nameLength = le16(h + 28);
    const size_t extraLength = le16(h + 30);
    const size_t recordSize = kCentralHeaderSize + nameLength + extraLength + le16(h + 32);
    if (recordSize > directory.size() - at)
        return false;
    SfxMember member;
    member.MadeByHost = h[5];
    member.Flags = le16(h + 8);
    member.Method = le16(h + 10);
    member.DosTime = le16(h + 12);
    member.DosDate = le16(h + 14);
    member.Crc32 = le32(h + 16);
    member.CompressedSize = le32(h + 20);
    member.UncompressedSize = le32(h + 24);
    member.ExternalAttributes = le32(h + 38);
    member.LocalHeaderAt = le32(h + 42);
    member.Name.assign(reinterpret_cast<const char*>(h + kCentralHeaderSize), nameLength);
    applyZip64Extra(member, h + kCentralHeaderSize + nameLength, extraLength);
    member.LocalHeaderAt += uint64_t(shift);
    m_members.push_back(std::move(member));
    at += recordSize;
    return true;
}

std::optional<uint64_t> SfxArchive::DataAt(const SfxMember& member) const
{
    const uint64_t at = member.LocalHeaderAt;
    if (at < m_start || at > m_localEnd || m_localEnd - at < kLocalHeaderSize)
        return std::nullopt;
    uint8_t header[kLocalHeaderSize];
    if (!PosixIo::ReadExactly(m_fd, at, header, sizeof header) || le32(header) != kLocalSignature)
        return std::nullopt;
    const uint64_t data = at + kLocalHeaderSize + le16(header + 26) + le16(header + 28);
    if (data > m_localEnd || member.CompressedSize > m_localEnd - data)
        return std::nullopt;
    return data;
}

bool SfxArchive::Fail(const std::string& error)
{
    m_error = error;
    return false;
}
