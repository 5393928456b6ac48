#include "ZipVolumeSet.h"

#include "ZipDirectoryReader.h"
#include "ZipFormat.h"
#include "ZipMessageTable.h"
#include "platform/doors/UntrustedFile.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <algorithm>
#include <vector>

namespace {

using namespace ZipFormat;

constexpr uint32_t kJoinedMarker = 0x30304B50;   // "PK00": a set that is no longer spanned

// Only a regular file is read: a FIFO or device named like a volume would hang the join
// or feed it without end.
int appendFile(QFile& to, const QString& path, qint64& size)
{
    const UntrustedFile from = UntrustedFile::Open(QFile::encodeName(path).toStdString());
    if (!from.Ok())
        return from.GetStatus() == UntrustedFile::Status::Missing ? ZipMessageTable::InputMissing
                                                                  : ZipMessageTable::CannotOpen;
    QByteArray block(1 << 20, Qt::Uninitialized);
    for (uint64_t at = 0; at < from.Size();) {
        const qint64 count = qint64(std::min<uint64_t>(uint64_t(block.size()), from.Size() - at));
        if (!from.ReadAt(at, block.data(), size_t(count)) || to.write(block.constData(), count) != count)
            return ZipMessageTable::CannotOpen;
        at += uint64_t(count);
    }
    size = qint64(from.Size());
    return 0;
}

// Each member's local header and data must lie before the next member's: a volume
// shorter than the set says pulls every later offset back into the member before it.
bool membersInPlace(const QString& joined)
{
    const ZipListing listing = ZipDirectoryReader::List(joined, CodePageMode::Auto);
    if (!listing.Messages.empty())
        return false;
    std::vector<const ZipDirEntry*> members;
    for (const ZipDirEntry& entry : listing.Entries)
        members.push_back(&entry);
    std::sort(members.begin(), members.end(),
              [](const ZipDirEntry* a, const ZipDirEntry* b) { return a->LocalHeaderOffset < b->LocalHeaderOffset; });
    QFile file(joined);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    for (size_t i = 0; i < members.size(); ++i) {
        const uint64_t at = members[i]->LocalHeaderOffset;
        const uint64_t next = i + 1 < members.size() ? members[i + 1]->LocalHeaderOffset : uint64_t(listing.DirectoryOffset);
        QByteArray header;
        if (file.seek(qint64(at)))
            header = file.read(kLocalHeaderSize);
        if (header.size() != kLocalHeaderSize || le32(header.constData()) != kLocalSignature)
            return false;
        const uint64_t end = at + kLocalHeaderSize + le16(header.constData() + 26) + le16(header.constData() + 28)
                             + members[i]->CompressedSize;
        if (end > next)
            return false;
    }
    return true;
}

// The offset of the end record within the last `tail` bytes, -1 when there is none.
qint64 endRecordIn(const QByteArray& tail)
{
    for (qint64 at = tail.size() - kEndRecordSize; at >= 0; --at)
        if (qFromLittleEndian<uint32_t>(tail.constData() + at) == kEndSignature)
            return at;
    return -1;
}

} // namespace

QString ZipVolumeSet::VolumeFile(const QString& last, int number, int count)
{
    if (number == count)
        return last;
    const QFileInfo info(last);
    const QString folder = info.path() + QLatin1Char('/');
    const QString infoZip = folder + info.completeBaseName() + QStringLiteral(".z%1").arg(number, 2, 10, QLatin1Char('0'));
    if (QFileInfo::exists(infoZip))
        return infoZip;
    QString stem = info.completeBaseName();
    while (!stem.isEmpty() && stem.back().isDigit())
        stem.chop(1);
    const QString numbered = folder + stem + QStringLiteral("%1").arg(number, 3, 10, QLatin1Char('0'))
                             + (info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix());
    return QFileInfo::exists(numbered) ? numbered : QString();
}

int ZipVolumeSet::Join(const QString& last, int count, const QString& output, const Asker& ask)
{
    QFile joined(output);
    if (!joined.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return ZipMessageTable::CannotOpen;
    std::vector<qint64> starts;
    qint64 at = 0;
    for (int number = 1; number <= count; ++number) {
        QString volume = VolumeFile(last, number, count);
        while (volume.isEmpty()) {
            if (!ask || !ask(number, count))
                return ZipMessageTable::UserCancelled;
            volume = VolumeFile(last, number, count);
        }
        qint64 size = 0;
        if (const int code = appendFile(joined, volume, size))
            return code;
        starts.push_back(at);
        at += size;
    }
    joined.close();
    if (const int code = FixOffsets(output, starts))
        return code;
    return membersInPlace(output) ? 0 : ZipMessageTable::StructureWarning;
}

// Offsets of a spanned set count from the start of their own volume; joined, they
// count from the start of the whole.
int ZipVolumeSet::FixOffsets(const QString& output, const std::vector<qint64>& starts)
{
    QFile file(output);
    if (!file.open(QIODevice::ReadWrite))
        return ZipMessageTable::CannotOpen;
    const qint64 size = file.size();
    const qint64 span = std::min(size, kEndSearchSpan);
    file.seek(size - span);
    const QByteArray tail = file.read(span);
    const qint64 endAt = endRecordIn(tail);
    if (endAt < 0)
        return ZipMessageTable::NotAZip;
    QByteArray end = tail.mid(endAt, kEndRecordSize);
    const uint16_t directoryDisk = qFromLittleEndian<uint16_t>(end.constData() + 6);
    const uint16_t entries = qFromLittleEndian<uint16_t>(end.constData() + 10);
    const uint32_t directorySize = qFromLittleEndian<uint32_t>(end.constData() + 12);
    if (directoryDisk >= starts.size())
        return ZipMessageTable::NotAZip;
    const qint64 directoryAt = starts[directoryDisk] + qFromLittleEndian<uint32_t>(end.constData() + 16);
    if (directoryAt < 0 || directoryAt > 0xFFFFFFFFll || directoryAt + qint64(directorySize) > size)
        return ZipMessageTable::NotAZip;
    file.seek(directoryAt);
    QByteArray directory = file.read(directorySize);
    qint64 pos = 0;
    for (int i = 0; i < entries; ++i) {
        if (pos + kCentralHeaderSize > directory.size()
            || qFromLittleEndian<uint32_t>(directory.constData() + pos) != kCentralSignature)
            return ZipMessageTable::HeaderSignatureWrong;
        char* header = directory.data() + pos;
        const uint16_t disk = qFromLittleEndian<uint16_t>(header + 34);
        const qint64 local = qint64(qFromLittleEndian<uint32_t>(header + 42)) + (disk < starts.size() ? starts[disk] : -1);
        if (disk >= starts.size() || local > 0xFFFFFFFFll)
            return ZipMessageTable::NotAZip;
        qToLittleEndian<uint16_t>(0, header + 34);
        qToLittleEndian<uint32_t>(uint32_t(local), header + 42);
        pos += kCentralHeaderSize + qFromLittleEndian<uint16_t>(header + 28) + qFromLittleEndian<uint16_t>(header + 30)
               + qFromLittleEndian<uint16_t>(header + 32);
    }
    qToLittleEndian<uint16_t>(0, end.data() + 4);
    qToLittleEndian<uint16_t>(0, end.data() + 6);
    qToLittleEndian<uint16_t>(entries, end.data() + 8);
    qToLittleEndian<uint32_t>(uint32_t(directoryAt), end.data() + 16);
    char marker[4];
    qToLittleEndian<uint32_t>(kJoinedMarker, marker);
    file.seek(0);
    const QByteArray head = file.peek(4);
    const bool spanned = head.size() == 4 && qFromLittleEndian<uint32_t>(head.constData()) == kSpanMarker;
    const bool written = (!spanned || file.write(marker, 4) == 4) && file.seek(directoryAt)
                         && file.write(directory) == directory.size() && file.seek(size - span + endAt)
                         && file.write(end) == end.size();
    return written ? 0 : ZipMessageTable::CannotOpen;
}
