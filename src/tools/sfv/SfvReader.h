// Reads SFV files: lines of "name CRC", comments after ";", and the size lines that
// some writers put among the comments:
//
//   ;         9876  14:28.19 2024-01-31 name
//   ^ column 1, the length right-aligned in columns 2-14, the time at 17, the date at
//     26, the name from column 37
//
// A line ends at CR or LF, and one further CR or LF right after it belongs to the same
// end. Only a line's first 1024 bytes count, so a line of any length costs a bounded
// buffer. Every byte sequence reads without error: what is not understood is skipped.
// No thread affinity; one reader per thread.
#pragma once

#include "tools/sfv/SfvEntry.h"

#include <QByteArray>
#include <QHash>
#include <atomic>
#include <optional>
#include <vector>

class QIODevice;

class SfvReader {
public:
    static constexpr int kMaxLineLength = 1024;
    static constexpr int kBufferSize = 10240;

    // Lists are a few dozen bytes a row; a larger file would take gigabytes as rows.
    static constexpr quint64 kMaxFileSize = quint64(256) << 20;

    // The rows of the SFV file, in order of first appearance; nullopt when the file
    // cannot be opened, is no regular file or is larger than kMaxFileSize, and when
    // `stop` was set meanwhile.
    static std::optional<std::vector<SfvEntry>> ReadFile(const QByteArray& nativePath,
                                                         const std::atomic<bool>* stop = nullptr);
    // The rows of the bytes a device gives until its end (or a read error, or `stop`).
    static std::vector<SfvEntry> Read(QIODevice& device, const std::atomic<bool>* stop = nullptr);
    static std::vector<SfvEntry> Parse(const QByteArray& bytes);
    // The key a name is found again by: its text lower-cased.
    static QString KeyOf(const QByteArray& name);

    // Takes one line, without its line end.
    void AddLine(const QByteArray& line);
    std::vector<SfvEntry> TakeEntries();

private:
    static bool isSizeLine(const QByteArray& line);
    void addSizeLine(const QByteArray& line);
    void addChecksumLine(const QByteArray& line, qsizetype lastSpace);
    // The row of that name, made at the end when new; null for an empty name.
    SfvEntry* rowOf(const QByteArray& name);

    std::vector<SfvEntry> m_entries;
    QHash<QString, size_t> m_rows;   // key -> index in m_entries
};
