// Checks the files an SFV file lists, row by row: the size where the SFV file gives one,
// then the CRC-32 over the whole file, read in blocks of 20480 bytes so that memory use
// does not grow with the file.
//
// Run() works on the thread that calls it (the dialog's worker thread) and reports
// through signals, which the dialog receives queued on the UI thread. Stop() may be
// called from any thread; Run() then returns within one block.
#pragma once

#include "tools/sfv/SfvEntry.h"

#include <QObject>
#include <atomic>
#include <optional>
#include <vector>

class ReadOnlyFile;
class SfvNameResolver;

class SfvValidator : public QObject {
    Q_OBJECT
public:
    enum class Status { UnableToOpen, SizeDiffers, Processing, ValidatedOk, CrcDiffers };
    Q_ENUM(Status)

    static constexpr qint64 kBlockSize = 20480;

    // folder: in the file system's bytes, ending with '/'.
    SfvValidator(QByteArray folder, std::vector<SfvEntry> entries);

    void Run();
    void Stop() { m_stop.store(true, std::memory_order_relaxed); }
    bool StopRequested() const { return m_stop.load(std::memory_order_relaxed); }

    // The CRC as the SFV file must write it to match: eight hexadecimal digits, any case.
    static bool CrcMatches(uint32_t crc, const QString& written);

Q_SIGNALS:
    void RowStatus(int row, SfvValidator::Status status);
    // Position within the file being read, in blocks of kBlockSize; sent when a file's
    // reading starts and ends, and a few times a second between.
    void Progress(qint64 blocksRead, qint64 blocksTotal);
    // Sent once at the end of Run(), also when it was stopped.
    void Finished();

private:
    // The row's final status; nothing when the run was stopped while reading it.
    std::optional<Status> checkRow(const SfvEntry& row, int index, SfvNameResolver& names);
    std::optional<Status> checkCrc(const SfvEntry& row, ReadOnlyFile& file);

    const QByteArray m_folder;
    const std::vector<SfvEntry> m_entries;
    std::atomic<bool> m_stop{false};
};
