#include "SfxWriter.h"

#include "ZipDirectoryReader.h"
#include "ZipFormat.h"

#include <QFileInfo>
#include <QtEndian>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace ZipFormat;

constexpr qint64 kCopyBlock = 8192;
constexpr int kStructureWarning = 10203;
constexpr int kGarbageWarning = 10204;

struct Failure {
    int Code;
};


// `count` bytes at `at` lie inside `bytes`.
bool inside(const QByteArray& bytes, qint64 at, qint64 count)
{
    return at >= 0 && count >= 0 && at <= bytes.size() && count <= bytes.size() - at;
}

void require(bool holds, int code)
{
    if (!holds)
        throw Failure{code};
}

// A 32-bit offset that no longer fits once moved would need a zip64 field the archive
// lacks; such an archive is not converted.
void move32(char* field, qint64 shift)
{
    const uint64_t moved = uint64_t(le32(field)) + uint64_t(shift);
    require(moved < kAllOnes32, SfxWriter::kCannotRead);
    qToLittleEndian<uint32_t>(uint32_t(moved), field);
}

void move64(char* field, qint64 shift)
{
    qToLittleEndian<uint64_t>(le64(field) + uint64_t(shift), field);
}

// The zip64 extra field holds the values whose header field is all ones, in the order
// uncompressed size, compressed size, local header offset.
void moveZip64Offset(char* header, char* extra, qint64 extraLength, qint64 shift)
{
    qint64 at = 0;
    while (extraLength - at >= 4) {
        const uint16_t tag = le16(extra + at);
        const qint64 length = le16(extra + at + 2);
        at += 4;
        require(length <= extraLength - at, SfxWriter::kCannotRead);
        if (tag == kZip64ExtraTag) {
            qint64 field = (le32(header + 24) == kAllOnes32 ? 8 : 0) + (le32(header + 20) == kAllOnes32 ? 8 : 0);
            require(field + 8 <= length, SfxWriter::kCannotRead);
            move64(extra + at + field, shift);
            return;
        }
        at += length;
    }
    throw Failure{SfxWriter::kCannotRead};
}

// Moves the local header offset of each of `count` central headers from the start of
// `bytes`.
void moveDirectory(QByteArray& bytes, size_t count, qint64 shift)
{
    qint64 at = 0;
    for (size_t i = 0; i < count; ++i) {
        require(inside(bytes, at, kCentralHeaderSize), SfxWriter::kCannotRead);
        char* header = bytes.data() + at;
        require(le32(header) == kCentralSignature, SfxWriter::kCannotRead);
        const qint64 nameLength = le16(header + 28);
        const qint64 extraLength = le16(header + 30);
        const qint64 commentLength = le16(header + 32);
        const qint64 recordSize = kCentralHeaderSize + nameLength + extraLength + commentLength;
        require(inside(bytes, at, recordSize), SfxWriter::kCannotRead);
        if (le32(header + 42) == kAllOnes32)
            moveZip64Offset(header, header + kCentralHeaderSize + nameLength, extraLength, shift);
        else
            move32(header + 42, shift);
        at += recordSize;
    }
}

// `endAt`: the end record's place in `bytes`, which starts at the archive offset `base`.
void moveEndRecords(QByteArray& bytes, qint64 endAt, qint64 base, qint64 shift)
{
    require(inside(bytes, endAt, kEndRecordSize) && le32(bytes.constData() + endAt) == kEndSignature,
            SfxWriter::kCannotRead);
    char* end = bytes.data() + endAt;
    if (le32(end + 16) != kAllOnes32)
        move32(end + 16, shift);

    const qint64 locatorAt = endAt - kZip64LocatorSize;
    if (!inside(bytes, locatorAt, kZip64LocatorSize) || le32(bytes.constData() + locatorAt) != kZip64LocatorSignature)
        return;
    char* locator = bytes.data() + locatorAt;
    const uint64_t stored = le64(locator + 8);
    require(stored >= uint64_t(base) && stored - uint64_t(base) <= uint64_t(bytes.size()), SfxWriter::kCannotRead);
    const qint64 zip64At = qint64(stored - uint64_t(base));
    require(inside(bytes, zip64At, kZip64EndSize) && le32(bytes.constData() + zip64At) == kZip64EndSignature,
            SfxWriter::kCannotRead);
    move64(locator + 8, shift);
    move64(bytes.data() + zip64At + 48, shift);
}

bool listedWithoutError(const ZipListing& listing)
{
    for (const ZipMessage& message : listing.Messages)
        if (message.Code != kStructureWarning && message.Code != kGarbageWarning)
            return false;
    return true;
}

mode_t processUmask()
{
    // Reading it from /proc leaves the mask alone for the other threads of the program.
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
            if (line.startsWith("Umask:")) {
                bool ok = false;
                const uint mask = line.mid(6).trimmed().toUInt(&ok, 8);
                if (ok)
                    return mode_t(mask);
            }
        }
    }
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

} // namespace

int SfxWriter::Write(const Request& request, std::optional<ZipListing> listing)
{
    SfxWriter writer(request, std::move(listing));
    try {
        writer.Run();
    } catch (const Failure& failure) {
        return failure.Code;
    }
    return kSuccess;
}

SfxWriter::SfxWriter(const Request& request, std::optional<ZipListing> listing)
    : m_request(request), m_listing(std::move(listing))
{
}

SfxWriter::~SfxWriter() = default;

void SfxWriter::Run()
{
    OpenSources();
    CreateTemporary();
    CopyStub();
    Append(m_request.Block.constData(), m_request.Block.size());
    WriteArchivePart();
    Finish();
}

void SfxWriter::OpenSources()
{
    m_stub.setFileName(m_request.StubPath);
    require(m_stub.open(QIODevice::ReadOnly), kCannotRead);
    m_shift = m_stub.size() + m_request.Block.size();
    if (m_request.ArchivePath.isEmpty()) {
        m_expectedSize = m_shift + kEndRecordSize;
        return;
    }
    m_archive.setFileName(m_request.ArchivePath);
    require(m_archive.open(QIODevice::ReadOnly), kCannotRead);
    if (!m_listing)
        m_listing = ZipDirectoryReader::List(m_request.ArchivePath, CodePageMode::Auto);
    // A spanned archive's offsets count per disk: it cannot be made one program.
    require(listedWithoutError(*m_listing) && m_listing->DirectoryDisk == 0, kCannotRead);
    m_expectedSize = m_shift + m_archive.size();
}

void SfxWriter::CreateTemporary()
{
    m_output = FileReplacer::Track(QFile::encodeName(m_request.OutputPath).toStdString());
    m_output.SetNewFileMode(0755 & ~processUmask());
    require(m_output.Begin() == FileReplacer::Status::Ok, kCannotCreate);
    m_fd = m_output.Fd();
}

void SfxWriter::CopyStub()
{
    CopyRange(m_stub, 0, m_stub.size());
}

void SfxWriter::WriteArchivePart()
{
    if (m_request.ArchivePath.isEmpty())
        WriteEmptyArchive();
    else if (m_listing->ExtraBytesInFront)
        // Its offsets already count from an earlier start, which the stub finds again.
        CopyRange(m_archive, 0, m_archive.size());
    else
        WriteMovedArchive();
}

void SfxWriter::WriteEmptyArchive()
{
    char record[kEndRecordSize] = {};
    qToLittleEndian<uint32_t>(kEndSignature, record);
    require(m_shift < qint64(kAllOnes32), kCannotRead);
    qToLittleEndian<uint32_t>(uint32_t(m_shift), record + 16);
    Append(record, kEndRecordSize);
}

void SfxWriter::WriteMovedArchive()
{
    const qint64 directoryAt = m_listing->DirectoryOffset;
    const qint64 size = m_archive.size();
    require(directoryAt >= 0 && directoryAt <= size && m_listing->EndRecordOffset >= directoryAt, kCannotRead);
    CopyRange(m_archive, 0, directoryAt);

    require(m_archive.seek(directoryAt), kCannotRead);
    QByteArray rest = m_archive.read(size - directoryAt);
    require(rest.size() == size - directoryAt, kCannotRead);
    moveDirectory(rest, m_listing->Entries.size(), m_shift);
    moveEndRecords(rest, m_listing->EndRecordOffset - directoryAt, directoryAt, m_shift);
    Append(rest.constData(), rest.size());
}

void SfxWriter::CopyRange(QFile& from, qint64 start, qint64 end)
{
    require(from.seek(start), kCannotRead);
    char buffer[kCopyBlock];
    for (qint64 at = start; at < end;) {
        const qint64 read = from.read(buffer, std::min(kCopyBlock, end - at));
        require(read > 0, kCannotRead);
        Append(buffer, read);
        at += read;
    }
}

void SfxWriter::Append(const char* data, qint64 count)
{
    while (count > 0) {
        const ssize_t written = ::write(m_fd, data, size_t(count));
        if (written < 0 && errno == EINTR)
            continue;
        require(written > 0, kWriteFailed);
        data += written;
        count -= written;
    }
}

void SfxWriter::Finish()
{
    struct stat written {};
    require(::fstat(m_fd, &written) == 0, kWriteFailed);
    require(written.st_size == m_expectedSize, kSizeMismatch);
    // The user asked for this output by its name: whatever is there now gives way.
    require(m_output.Commit(FileReplacer::IfChanged::Overwrite) == FileReplacer::Status::Ok, kCannotCreate);
}
