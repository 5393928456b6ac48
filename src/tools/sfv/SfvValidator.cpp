#include "SfvValidator.h"

#include "core/Crc32.h"
#include "tools/sfv/ReadOnlyFile.h"
#include "tools/sfv/SfvNameResolver.h"

#include <QElapsedTimer>

namespace {

// Progress is sent at most this often: the bar needs a few updates a second, and a
// signal per block would flood the UI thread's queue with tens of thousands per GiB.
constexpr qint64 kProgressIntervalMs = 100;

// Whether the size line's length names that size. A length that is not a decimal
// number names no size, so the row reads as differing rather than stopping the run.
bool lengthMatches(const QString& length, qint64 size)
{
    for (const QChar c : length) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    bool ok = false;
    const qint64 value = length.toLongLong(&ok);
    return ok && value == size;
}

qint64 blocksOf(qint64 bytes)
{
    return (bytes + SfvValidator::kBlockSize - 1) / SfvValidator::kBlockSize;
}

} // namespace

SfvValidator::SfvValidator(QByteArray folder, std::vector<SfvEntry> entries)
    : m_folder(std::move(folder))
    , m_entries(std::move(entries))
{
}

void SfvValidator::Run()
{
    SfvNameResolver names(m_folder);
    for (size_t i = 0; i < m_entries.size() && !StopRequested(); ++i) {
        const int row = int(i);
        if (const std::optional<Status> status = checkRow(m_entries[i], row, names))
            Q_EMIT RowStatus(row, *status);
    }
    Q_EMIT Finished();
}

bool SfvValidator::CrcMatches(uint32_t crc, const QString& written)
{
    return QString::asprintf("%.8X", crc) == written.toUpper();
}

std::optional<SfvValidator::Status> SfvValidator::checkRow(const SfvEntry& row, int index, SfvNameResolver& names)
{
    ReadOnlyFile file(names.PathOf(row.Written));
    if (!file.IsOpen())
        return Status::UnableToOpen;
    if (!row.Length.isEmpty() && !lengthMatches(row.Length, file.Size()))
        return Status::SizeDiffers;
    Q_EMIT RowStatus(index, Status::Processing);
    return checkCrc(row, file);
}

std::optional<SfvValidator::Status> SfvValidator::checkCrc(const SfvEntry& row, ReadOnlyFile& file)
{
    const qint64 total = blocksOf(file.Size());
    Q_EMIT Progress(0, total);
    QElapsedTimer sinceReport;
    sinceReport.start();
    char block[kBlockSize];
    Crc32 crc;
    qint64 bytes = 0;
    for (;;) {
        if (StopRequested())
            return std::nullopt;
        const qint64 got = file.Read(block, kBlockSize);
        if (got < 0)
            return Status::UnableToOpen;   // a read error: the file cannot be checked
        if (got == 0)
            break;
        crc.Update(block, got);
        bytes += got;
        if (sinceReport.elapsed() >= kProgressIntervalMs) {
            Q_EMIT Progress(blocksOf(bytes), total);
            sinceReport.restart();
        }
    }
    Q_EMIT Progress(blocksOf(bytes), total);
    return CrcMatches(crc.Value(), row.Crc) ? Status::ValidatedOk : Status::CrcDiffers;
}
