#include "ZipDirectoryReader.h"
#include "ZipMessageTable.h"

#include "Cp437.h"
#include "ZipDirectoryCursor.h"
#include "ZipFormat.h"
#include "ZipFileSource.h"

#include <QCoreApplication>
#include <QStringDecoder>
#include <QtEndian>
#include <algorithm>
#include <exception>
#include <limits>
#include <new>

namespace {

using namespace ZipFormat;

constexpr qint64 kSectorSize = 512;
constexpr uint16_t kEncryptedFlag = 0x0001;
constexpr uint16_t kUtf8Flag = 0x0800;

enum MessageCode {
    kOutOfMemory = 10103,
    kSeekError = 10201,
    kUnknownError = 10202,
    kStructureWarning = 10203,
    kGarbageWarning = 10204,
    kCannotOpen = 11002,
    kEndRecordReadError = 11011,
    kHeaderReadError = 11013,
    kHeaderSignatureWrong = 11015,
    kNameReadError = 11017,
    kCommentReadError = 11022,
    kNotAZip = 11036,
};

// Raised inside a listing and turned into its message at the top.
struct ZipError {
    int Code;
};


bool allZero(QByteArrayView bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return c == 0; });
}

// Fields a zip64 extra field carries are those whose header value is all ones, in the
// order uncompressed size, compressed size, local header offset, disk number.
void applyZip64Extra(ZipDirEntry& entry, QByteArrayView extra)
{
    qsizetype at = 0;
    while (extra.size() - at >= 4) {
        const uint16_t tag = le16(extra.data() + at);
        const qsizetype length = le16(extra.data() + at + 2);
        at += 4;
        if (length > extra.size() - at)
            return;
        if (tag == kZip64ExtraTag) {
            const char* field = extra.data() + at;
            qsizetype left = length;
            auto take64 = [&](uint64_t& value) {
                if (value == kAllOnes32 && left >= 8) {
                    value = le64(field);
                    field += 8;
                    left -= 8;
                }
            };
            take64(entry.UncompressedSize);
            take64(entry.CompressedSize);
            take64(entry.LocalHeaderOffset);
            if (entry.DiskNumberStart == 0xFFFF && left >= 4)
                entry.DiskNumberStart = le32(field);
            return;
        }
        at += length;
    }
}

ZipDirEntry headerFields(const char* h)
{
    ZipDirEntry e;
    e.MadeByVersion = uint8_t(h[4]);
    e.MadeByHost = uint8_t(h[5]);
    e.VersionNeeded = le16(h + 6);
    e.Flags = le16(h + 8);
    e.Method = le16(h + 10);
    e.DosTime = le16(h + 12);
    e.DosDate = le16(h + 14);
    e.Crc32 = le32(h + 16);
    e.CompressedSize = le32(h + 20);
    e.UncompressedSize = le32(h + 24);
    e.FileNameLength = le16(h + 28);
    e.ExtraLength = le16(h + 30);
    e.FileCommentLength = le16(h + 32);
    e.DiskNumberStart = le16(h + 34);
    e.InternalAttributes = le16(h + 36);
    e.ExternalAttributes = le32(h + 38);
    e.LocalHeaderOffset = le32(h + 42);
    e.Encrypted = (e.Flags & kEncryptedFlag) != 0;
    return e;
}

} // namespace

ZipDirectoryReader::ZipDirectoryReader(const ZipSource& source, CodePageMode mode, ZipListing& listing)
    : m_source(source), m_mode(mode), m_listing(listing)
{
}

ZipListing ZipDirectoryReader::List(const QString& path, CodePageMode mode)
{
    ZipFileSource file;
    switch (file.Open(path)) {
    case ZipFileSource::OpenResult::Missing:
        return {};
    case ZipFileSource::OpenResult::Refused: {
        ZipListing listing;
        listing.Messages.push_back({kCannotOpen, MessageText(kCannotOpen)});
        return listing;
    }
    case ZipFileSource::OpenResult::Opened:
        break;
    }
    return ListSource(file, mode);
}

ZipListing ZipDirectoryReader::ListBytes(const QByteArray& bytes, CodePageMode mode)
{
    return ListSource(ZipMemorySource(bytes), mode);
}

ZipListing ZipDirectoryReader::ListSource(const ZipSource& source, CodePageMode mode)
{
    ZipListing listing;
    try {
        ZipDirectoryReader(source, mode, listing).Read();
    } catch (const ZipError& error) {
        listing.Messages.push_back({error.Code, MessageText(error.Code)});
    } catch (const std::bad_alloc&) {
        listing.Messages.push_back({kOutOfMemory, MessageText(kOutOfMemory)});
    } catch (const std::exception& error) {
        listing.Messages.push_back({kUnknownError, MessageText(kUnknownError) + QString::fromLocal8Bit(error.what())});
    }
    return listing;
}

void ZipDirectoryReader::Read()
{
    EndRecord end = FindEndRecord();
    ReadZip64End(end);
    m_listing.EndRecordOffset = end.Offset;
    m_listing.DirectoryDisk = end.DirectoryDisk;
    m_listing.DiskNumber = end.DiskNumber;
    const qint64 start = LocateDirectory(end);
    m_listing.DirectoryOffset = start;
    ReadEntries(end, start);
}

ZipDirectoryReader::EndRecord ZipDirectoryReader::FindEndRecord()
{
    const qint64 size = m_source.Size();
    if (size < kEndRecordSize)
        throw ZipError{kNotAZip};
    const QByteArray last = m_source.Read(size - kEndRecordSize, kEndRecordSize);
    if (last.isEmpty())
        throw ZipError{kEndRecordReadError};
    EndRecord end;
    if (le32(last.constData()) == kEndSignature) {
        // Any comment length it claims has no room: there is no comment.
        end.Offset = size - kEndRecordSize;
        FindInTail(end, last, end.Offset, true);
        return end;
    }
    const qint64 span = std::min(size, kEndSearchSpan);
    const QByteArray tail = m_source.Read(size - span, span);
    if (tail.isEmpty())
        throw ZipError{kEndRecordReadError};
    if (!FindInTail(end, tail, size - span, false))
        throw ZipError{kNotAZip};
    return end;
}

// Searches backwards from 23 bytes before the end. "PK\5\6" inside a comment is passed
// over when the comment it announces would run past the end of the file.
bool ZipDirectoryReader::FindInTail(EndRecord& end, const QByteArray& tail, qint64 tailStart, bool knownPlace)
{
    const char* bytes = tail.constData();
    for (qint64 at = knownPlace ? 0 : tail.size() - kEndRecordSize - 1; at >= 0; --at) {
        if (le32(bytes + at) != kEndSignature)
            continue;
        const qint64 commentLength = knownPlace ? 0 : le16(bytes + at + 20);
        const qint64 afterComment = at + kEndRecordSize + commentLength;
        if (afterComment > tail.size())
            continue;
        end.Offset = tailStart + at;
        end.DirectoryEnd = end.Offset;
        end.DiskNumber = le16(bytes + at + 4);
        end.DirectoryDisk = le16(bytes + at + 6);
        end.EntryCount = le16(bytes + at + 10);
        end.DirectorySize = le32(bytes + at + 12);
        end.DirectoryOffset = le32(bytes + at + 16);
        const QByteArrayView comment(bytes + at + kEndRecordSize, commentLength);
        m_listing.ArchiveComment = m_mode == CodePageMode::Oem ? Cp437::ToText(comment) : PlainText(comment);
        const QByteArrayView garbage(bytes + afterComment, knownPlace ? 0 : tail.size() - afterComment);
        const qint64 fileSize = tailStart + tail.size();
        const bool sectorPadding = fileSize % kSectorSize == 0 && garbage.size() < kSectorSize && allZero(garbage);
        if (!garbage.isEmpty() && !sectorPadding)
            Warn(kGarbageWarning);
        return true;
    }
    return false;
}

// A zip64 end record, found through its locator just before the end record, holds the
// true counts, sizes and offsets. When the archive has bytes in front the stored
// offset misses it, so it is also looked for right before the locator.
void ZipDirectoryReader::ReadZip64End(EndRecord& end)
{
    if (end.Offset < kZip64LocatorSize)
        return;
    const qint64 locatorAt = end.Offset - kZip64LocatorSize;
    const QByteArray locator = m_source.Read(locatorAt, kZip64LocatorSize);
    if (locator.isEmpty() || le32(locator.constData()) != kZip64LocatorSignature)
        return;
    const uint64_t stored = le64(locator.constData() + 8);
    if (stored <= uint64_t(locatorAt) && ParseZip64End(end, qint64(stored)))
        return;
    ParseZip64End(end, locatorAt - kZip64EndSize);
}

bool ZipDirectoryReader::ParseZip64End(EndRecord& end, qint64 at)
{
    if (at < 0 || at + kZip64EndSize > end.Offset)
        return false;
    const QByteArray record = m_source.Read(at, kZip64EndSize);
    if (record.isEmpty() || le32(record.constData()) != kZip64EndSignature)
        return false;
    const char* r = record.constData();
    end.DirectoryEnd = at;
    end.DiskNumber = le32(r + 16);
    end.DirectoryDisk = le32(r + 20);
    end.EntryCount = le64(r + 32);
    end.DirectorySize = le64(r + 40);
    end.DirectoryOffset = le64(r + 48);
    return true;
}

// A single archive's directory ends where the end records begin. A stored offset that
// says otherwise counts from a start that lies later in the file (a self-extractor's
// stub was put in front): the directory is read where it really is.
qint64 ZipDirectoryReader::LocateDirectory(const EndRecord& end)
{
    const qint64 size = m_source.Size();
    if (end.DirectorySize > uint64_t(size))
        throw ZipError{kNotAZip};
    const qint64 directorySize = qint64(end.DirectorySize);
    qint64 start = 0;
    if (end.DirectoryDisk != end.DiskNumber) {
        if (end.DirectoryOffset > uint64_t(size))
            throw ZipError{kNotAZip};
        start = qint64(end.DirectoryOffset);
    } else {
        start = end.DirectoryEnd - directorySize;
        if (start < 0)
            throw ZipError{kNotAZip};
        if (uint64_t(start) != end.DirectoryOffset) {
            m_listing.ExtraBytesInFront = true;
            Warn(kStructureWarning);
        }
    }
    if (directorySize > size - start)
        throw ZipError{kNotAZip};
    return start;
}

void ZipDirectoryReader::ReadEntries(const EndRecord& end, qint64 start)
{
    ZipDirectoryCursor cursor(m_source, start, qint64(end.DirectorySize));
    const uint64_t fitting = end.DirectorySize / kCentralHeaderSize;
    m_listing.Entries.reserve(size_t(std::min(end.EntryCount, fitting)));
    uint64_t firstLocal = std::numeric_limits<uint64_t>::max();
    for (uint64_t i = 0; i < end.EntryCount; ++i) {
        m_listing.Entries.push_back(ReadEntry(cursor));
        firstLocal = std::min(firstLocal, m_listing.Entries.back().LocalHeaderOffset);
        m_listing.FirstLocalHeaderOffset = qint64(std::min<uint64_t>(firstLocal, INT64_MAX));
    }
}

ZipDirEntry ZipDirectoryReader::ReadEntry(ZipDirectoryCursor& cursor)
{
    auto take = [&cursor](qint64 count, int code) {
        const char* bytes = cursor.Take(count);
        if (!bytes)
            throw ZipError{cursor.ReadFailed() ? kSeekError : code};
        return QByteArrayView(bytes, count);
    };
    const char* header = take(kCentralHeaderSize, kHeaderReadError).data();
    if (le32(header) != kCentralSignature)
        throw ZipError{kHeaderSignatureWrong};
    ZipDirEntry entry = headerFields(header);
    entry.FileName = EntryText(take(entry.FileNameLength, kNameReadError), entry);
    applyZip64Extra(entry, take(entry.ExtraLength, kHeaderReadError));
    entry.FileComment = EntryText(take(entry.FileCommentLength, kCommentReadError), entry);
    return entry;
}

void ZipDirectoryReader::Warn(int code)
{
    m_listing.Messages.push_back({code, MessageText(code)});
}

// Names from DOS, OS/2 and one old NT zip tool are in the OEM code page.
bool ZipDirectoryReader::WantsOem(const ZipDirEntry& entry) const
{
    return m_mode == CodePageMode::Oem || (m_mode == CodePageMode::Auto && entry.MadeByHost == 0) ||
           entry.MadeByHost == 6 || (entry.MadeByHost == 11 && entry.MadeByVersion == 50);
}

QString ZipDirectoryReader::EntryText(QByteArrayView bytes, const ZipDirEntry& entry) const
{
    if (entry.Flags & kUtf8Flag)
        return QString::fromUtf8(bytes);
    return WantsOem(entry) ? Cp437::ToText(bytes) : PlainText(bytes);
}

QString ZipDirectoryReader::PlainText(QByteArrayView bytes)
{
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; }))
        return QString::fromLatin1(bytes);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

QString ZipDirectoryReader::MessageText(int code)
{
    return ZipMessageTable::Has(code) ? ZipMessageTable::Text(code) : QString();
}
