// The line index of a file of any size: where every line starts, found by reading the
// file once in 64 KiB blocks; the view then reads only the lines it shows. Offsets are
// 64-bit, so files past 4 GiB find every line; memory stays a few bytes per line.
#pragma once

#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

class TextFileReader;

enum class TextViewMode { Standard, WordWrap, Hex };

struct TextIndexOptions {
    TextViewMode Mode = TextViewMode::Standard;
    int TabSize = 8;                 // 1..20
    int WrapColumns = 80;            // visible columns; word wrap ends a line at WrapColumns - 1
    int ProgressAfterMs = 1000;      // a quick load shows no progress at all
};

class TextIndex {
public:
    // Called after each block once a second has passed: percent read, lines so far.
    // Returning false aborts; the lines indexed so far stay.
    using Progress = std::function<bool(int percent, qint64 lines)>;

    // Indexes the file. False (Error() says why) when it cannot be opened or read; an
    // abort (by Progress or `stop`) returns true with Aborted() set. Any thread.
    bool Build(const QString& path, const TextIndexOptions& options, const Progress& progress = {},
               const std::atomic<bool>* stop = nullptr);
    void Clear();

    qint64 LineCount() const;
    // Start of line `line` (0-based); LineStart(LineCount()) is the end of the last line.
    qint64 LineStart(qint64 line) const;
    // The line holding the byte at `offset` (hex mode: offset / 16).
    qint64 LineOfOffset(qint64 offset) const;
    int MaxWidth() const { return m_maxWidth; }       // columns, tabs expanded
    bool IsPlainText() const { return m_plainText; }  // no control bytes but 9, 10, 12, 13
    bool OemDetected() const { return m_oem; }        // four bytes >= 128 in a row seen
    bool Aborted() const { return m_aborted; }
    qint64 FileSize() const { return m_fileSize; }
    TextViewMode Mode() const { return m_options.Mode; }
    const TextIndexOptions& Options() const { return m_options; }
    QString Error() const { return m_error; }
    // Bytes the index itself takes, for the memory benchmark.
    qint64 MemoryBytes() const;

private:
    TextIndexOptions m_options;
    qint64 m_fileSize = 0;
    int m_maxWidth = 0;
    bool m_plainText = true;
    bool m_oem = false;
    bool m_aborted = false;
    QString m_error;
    // Line starts ("entries"; entry LineCount() is the end of the last line) as a 64-bit
    // anchor every kAnchorEvery entries plus a 32-bit distance from it per entry, in
    // blocks of kBlockEntries so that growing never copies much. A distance that does
    // not fit (a line of 4 GiB) is kEscape, its offset kept in m_escapes. About 4.1
    // bytes per line; a block never half filled at most doubles that.
    static constexpr int kAnchorShift = 6;
    static constexpr qint64 kAnchorEvery = qint64(1) << kAnchorShift;
    static constexpr int kBlockShift = 19;
    static constexpr qint64 kBlockEntries = qint64(1) << kBlockShift;   // 2 MiB
    static constexpr uint32_t kEscape = 0xFFFFFFFFu;
    // Whole blocks go on huge pages: faulting in 4 KiB pages one by one costs more than
    // scanning the text they index.
    static void* AllocateBlock(size_t bytes);
    static void FreeBlock(void* block, size_t bytes);
    template <class T>
    struct BlockAllocator {
        using value_type = T;
        BlockAllocator() = default;
        template <class U>
        BlockAllocator(const BlockAllocator<U>&) {}
        T* allocate(size_t n) { return static_cast<T*>(AllocateBlock(n * sizeof(T))); }
        void deallocate(T* p, size_t n) { FreeBlock(p, n * sizeof(T)); }
        bool operator==(const BlockAllocator&) const { return true; }
    };
    using Block = std::vector<uint32_t, BlockAllocator<uint32_t>>;
    struct Scanner;

    void Append(qint64 offset);
    qint64 Entry(qint64 entry) const;
    bool ReadAll(const TextFileReader& file, Scanner& scanner, const Progress& progress,
                 const std::atomic<bool>* stop);

    std::vector<uint64_t> m_anchors;
    std::vector<Block> m_blocks;                          // kBlockEntries each, the first grows
    std::vector<std::pair<qint64, qint64>> m_escapes;   // (entry, offset), ascending
    qint64 m_entryCount = 0;
    qint64 m_lineCount = 0;
};
