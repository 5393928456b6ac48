#include "viewers/text/TextIndex.h"

#include "viewers/text/TextFileReader.h"
#include "viewers/text/TextLineFormat.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>
#include <sys/mman.h>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

namespace {

constexpr qint64 kReadBlock = 65536;
constexpr int kChunk = 64;            // bytes classified at once, one bit each
constexpr char kPadding = 'a';        // fills the last chunk: a byte that needs nothing
constexpr size_t kHugePage = size_t(2) << 20;

size_t hugePages(size_t bytes) { return (bytes + kHugePage - 1) / kHugePage * kHugePage; }

struct ChunkMasks {
    uint64_t breaks;    // bytes 9 to 13: TAB, LF and CR move the column or end lines
    uint64_t unusual;   // any other byte below 32 or from 128: may clear plain text or mark OEM
};

#if defined(__SSE2__)
ChunkMasks classify(const uint8_t* p)
{
    // Bytes 9..13 in one signed compare: shifted so that 9 lands on -128.
    const __m128i shift = _mm_set1_epi8(char(128 - 9));
    const __m128i fiveAboveMin = _mm_set1_epi8(char(-128 + 5));
    const __m128i space = _mm_set1_epi8(' ');
    uint64_t breaks = 0;
    uint64_t low = 0;
    for (int i = 0; i < kChunk; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        const __m128i nineToThirteen = _mm_cmplt_epi8(_mm_add_epi8(v, shift), fiveAboveMin);
        breaks |= uint64_t(uint16_t(_mm_movemask_epi8(nineToThirteen))) << i;
        // Signed: below 32 or from 128 up, both in one compare.
        low |= uint64_t(uint16_t(_mm_movemask_epi8(_mm_cmplt_epi8(v, space)))) << i;
    }
    return {breaks, low & ~breaks};
}

uint64_t highBytes(const uint8_t* p)
{
    uint64_t high = 0;
    for (int i = 0; i < kChunk; i += 16)
        high |= uint64_t(uint16_t(_mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i))))) << i;
    return high;
}
#else
ChunkMasks classify(const uint8_t* p)
{
    ChunkMasks masks{0, 0};
    for (int i = 0; i < kChunk; ++i) {
        const uint8_t b = p[i];
        if (b >= 9 && b <= 13)
            masks.breaks |= uint64_t(1) << i;
        else if (b < 32 || b >= 128)
            masks.unusual |= uint64_t(1) << i;
    }
    return masks;
}

uint64_t highBytes(const uint8_t* p)
{
    uint64_t high = 0;
    for (int i = 0; i < kChunk; ++i)
        high |= uint64_t(p[i] >> 7) << i;
    return high;
}
#endif

// Masks for every chunk of a block, in a pass of its own so that the AVX2 form can be
// picked at run time without building the whole scanner twice.
using BlockClassifier = void (*)(const uint8_t* p, qint64 n, ChunkMasks* out);

void classifyBlock(const uint8_t* p, qint64 n, ChunkMasks* out)
{
    for (qint64 k = 0; k < n; k += kChunk)
        *out++ = classify(p + k);
}

#if defined(__x86_64__) && defined(__GNUC__)
__attribute__((target("avx2"))) void classifyBlockAvx2(const uint8_t* p, qint64 n, ChunkMasks* out)
{
    const __m256i shift = _mm256_set1_epi8(char(128 - 9));
    const __m256i fiveAboveMin = _mm256_set1_epi8(char(-128 + 5));
    const __m256i space = _mm256_set1_epi8(' ');
    auto masksOf = [&](const uint8_t* at, uint32_t& breaks, uint32_t& low) __attribute__((target("avx2"))) {
        const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
        breaks = uint32_t(_mm256_movemask_epi8(_mm256_cmpgt_epi8(fiveAboveMin, _mm256_add_epi8(v, shift))));
        low = uint32_t(_mm256_movemask_epi8(_mm256_cmpgt_epi8(space, v)));
    };
    for (qint64 k = 0; k < n; k += kChunk) {
        uint32_t breaks[2];
        uint32_t low[2];
        masksOf(p + k, breaks[0], low[0]);
        masksOf(p + k + 32, breaks[1], low[1]);
        const uint64_t allBreaks = breaks[0] | uint64_t(breaks[1]) << 32;
        *out++ = {allBreaks, (low[0] | uint64_t(low[1]) << 32) & ~allBreaks};
    }
}

BlockClassifier bestClassifier() { return __builtin_cpu_supports("avx2") ? classifyBlockAvx2 : classifyBlock; }
#else
BlockClassifier bestClassifier() { return classifyBlock; }
#endif

bool isLineEnd(uint8_t b) { return b == '\r' || b == '\n'; }
bool isBreak(uint8_t b) { return b >= 9 && b <= 13; }

} // namespace

__attribute__((always_inline)) inline void TextIndex::Append(qint64 offset)
{
    const qint64 entry = m_entryCount++;
    if ((entry & (kAnchorEvery - 1)) == 0)
        m_anchors.push_back(uint64_t(offset));
    if ((entry & (kBlockEntries - 1)) == 0) {
        m_blocks.emplace_back();
        if (entry > 0)   // a small file keeps a small first block
            m_blocks.back().reserve(size_t(kBlockEntries));
    }
    const uint64_t distance = uint64_t(offset) - m_anchors.back();
    if (distance >= kEscape) [[unlikely]]
        m_escapes.emplace_back(entry, offset);
    m_blocks.back().push_back(distance >= kEscape ? kEscape : uint32_t(distance));
}

// The line rules over the file's bytes, block by block; state carries across blocks.
// Standard mode classifies 64 bytes at once and only stops at TAB, CR and LF (and,
// until both flags are settled, at control and high bytes); word wrap goes byte by byte.
struct TextIndex::Scanner {
    TextIndex& index;
    const int tabSize;
    const qint64 wrapAt;          // LLONG_MAX: no wrapping
    qint64 column = 0;
    qint64 maxWidth = 0;
    qint64 cursor = 0;            // first byte not yet counted (standard mode)
    qint64 runStart = 0;          // the open CR/LF run
    qint64 runLength = 0;
    uint8_t runFirst = 0;
    bool runMixed = false;
    uint64_t prevHigh = 0;        // the previous chunk's high bytes and pairs of them,
    uint64_t prevPairs = 0;       // so that four in a row across chunks count
    int highRun = 0;              // the same, byte by byte
    bool plain = true;
    bool oem = false;
    const BlockClassifier classifier = bestClassifier();
    std::vector<ChunkMasks> chunks = std::vector<ChunkMasks>(size_t(kReadBlock / kChunk));
    std::array<qint64, 512> pending;
    size_t pendingCount = 0;

    explicit Scanner(TextIndex& target)
        : index(target)
        , tabSize(std::max(1, target.m_options.TabSize))
        , wrapAt(target.m_options.Mode == TextViewMode::WordWrap ? std::max(1, target.m_options.WrapColumns - 1)
                                                                  : LLONG_MAX)
    {
    }

    // `p` has kChunk bytes of kPadding after the `n` read.
    void Scan(const uint8_t* p, qint64 n, qint64 base)
    {
        if (wrapAt == LLONG_MAX)
            ScanChunks(p, n, base);
        else
            ScanBytes(p, n, base);
    }

    void ScanChunks(const uint8_t* p, qint64 n, qint64 base)
    {
        classifier(p, n, chunks.data());
        for (qint64 k = 0; k < n; k += kChunk) {
            const ChunkMasks masks = chunks[size_t(k / kChunk)];
            NoteUnusual(p + k, masks.unusual);
            for (uint64_t breaks = masks.breaks; breaks != 0; breaks &= breaks - 1) {
                const qint64 i = k + __builtin_ctzll(breaks);
                const uint8_t b = p[i];
                const qint64 at = base + i;
                if (isLineEnd(b) && runLength == 0 && i + 1 < n && !isBreak(p[i + 1])) {
                    // The usual line end, a lone CR or LF with an ordinary byte next.
                    column += at - cursor;
                    cursor = at + 1;
                    EndLine(at + 1);
                } else if (b == 11 || b == 12) {   // counted with the ordinary bytes around
                    plain = plain && b == 12;
                } else {
                    Ordinary(at);
                    cursor = at + 1;
                    Break(b, at);
                }
            }
        }
        Flush();
    }

    void ScanBytes(const uint8_t* p, qint64 n, qint64 base)
    {
        for (qint64 i = 0; i < n; ++i) {
            const uint8_t b = p[i];
            if (b == '\r' || b == '\n') {
                highRun = 0;
                ExtendRun(b, base + i);
                continue;
            }
            if (runLength > 0)
                CloseRun();
            if (b == '\t') {
                highRun = 0;
                column += TextLineFormat::NextTabStop(column, tabSize);
            } else {
                ++column;
                plain = plain && (b >= 32 || b == 12);
                highRun = b >= 128 ? highRun + 1 : 0;
                oem = oem || highRun >= 4;
            }
            if (column >= wrapAt)
                EndLine(base + i + 1);
        }
        cursor = base + n;
        Flush();
    }

    void NoteUnusual(const uint8_t* p, uint64_t unusual)
    {
        if (unusual == 0 || (oem && !plain)) {
            prevHigh = prevPairs = 0;
            return;
        }
        const uint64_t high = highBytes(p);
        const uint64_t pairs = high & ((high << 1) | (prevHigh >> 63));
        oem = oem || (pairs & ((pairs << 2) | (prevPairs >> 62))) != 0;
        prevHigh = high;
        prevPairs = pairs;
        for (uint64_t controls = unusual & ~high; plain && controls != 0; controls &= controls - 1)
            plain = p[__builtin_ctzll(controls)] == 12;   // form feed is allowed
    }

    // A hole from the cursor up to `end`: zero bytes, counted as ordinary ones.
    void Zeros(qint64 end)
    {
        Ordinary(end);
        plain = false;
        cursor = end;
        prevHigh = prevPairs = 0;
    }

    // The ordinary bytes from the cursor up to `end` (exclusive).
    void Ordinary(qint64 end)
    {
        if (end <= cursor)
            return;
        if (runLength > 0)
            CloseRun();
        column += end - cursor;
    }

    void Break(uint8_t b, qint64 at)
    {
        if (b != '\t') {
            ExtendRun(b, at);
            return;
        }
        if (runLength > 0)
            CloseRun();
        column += TextLineFormat::NextTabStop(column, tabSize);
    }

    void ExtendRun(uint8_t b, qint64 at)
    {
        if (runLength == 0) {
            runStart = at;
            runFirst = b;
            runMixed = false;
        } else if (b != runFirst) {
            runMixed = true;
        }
        ++runLength;
    }

    // One line per character of a run of one kind; half as many, at least one, for a
    // mixed run (CR LF pairs). The last line ends where the run does.
    void CloseRun()
    {
        const qint64 lines = runMixed ? std::max<qint64>(1, runLength / 2) : runLength;
        const qint64 step = runMixed ? 2 : 1;
        for (qint64 i = 1; i < lines; ++i)
            EndLine(runStart + i * step);
        EndLine(runStart + runLength);
        runLength = 0;
    }

    void EndLine(qint64 end)
    {
        maxWidth = std::max(maxWidth, column);
        column = 0;
        pending[pendingCount++] = end;
        if (pendingCount == pending.size())
            Flush();
    }

    // Line ends wait in `pending`: appending them in a loop of their own keeps the
    // index's bookkeeping out of the scan.
    void Flush()
    {
        for (size_t i = 0; i < pendingCount; ++i)
            index.Append(pending[i]);
        pendingCount = 0;
    }

    // A run still open at the end is not split: trailing empty lines are not lines.
    void Finish(qint64 fileSize)
    {
        Ordinary(fileSize);
        Flush();
        const qint64 last = index.m_entryCount - 1;
        if (last == 0 || index.Entry(last) != fileSize)
            EndLine(fileSize);
        Flush();
    }

    void Publish() const
    {
        index.m_maxWidth = int(std::min<qint64>(maxWidth, INT_MAX));
        index.m_plainText = plain;
        index.m_oem = oem;
    }
};

bool TextIndex::Build(const QString& path, const TextIndexOptions& options, const Progress& progress,
                      const std::atomic<bool>* stop)
{
    Clear();
    m_options = options;
    TextFileReader file;
    if (!file.Open(path)) {
        m_error = file.Error();
        return false;
    }
    m_fileSize = file.Size();
    if (options.Mode == TextViewMode::Hex) {
        m_lineCount = (m_fileSize + 15) / 16;
        m_maxWidth = TextLineFormat::HexMaxWidth(m_fileSize);
        return true;
    }
    Scanner scanner(*this);
    Append(0);
    if (!ReadAll(file, scanner, progress, stop)) {
        const QString error = m_error;
        Clear();
        m_error = error;
        return false;
    }
    if (!m_aborted)
        scanner.Finish(m_fileSize);
    scanner.Publish();
    m_lineCount = m_entryCount - 1;
    return true;
}

bool TextIndex::ReadAll(const TextFileReader& file, Scanner& scanner, const Progress& progress,
                        const std::atomic<bool>* stop)
{
    std::vector<uint8_t> buffer(size_t(kReadBlock + kChunk));
    char* data = reinterpret_cast<char*>(buffer.data());
    const auto started = std::chrono::steady_clock::now();
    // Holes read as zeros, which only widen the line they are in: standard mode steps
    // over them instead of reading gigabytes of a sparse image.
    const bool skipHoles = m_options.Mode == TextViewMode::Standard;
    qint64 dataEnd = 0;   // no hole before this offset
    for (qint64 offset = 0; offset < m_fileSize;) {
        if (skipHoles && offset >= dataEnd) {
            const qint64 next = std::clamp(file.NextData(offset), offset, m_fileSize);
            if (next - offset >= kReadBlock) {
                scanner.Zeros(next);
                offset = next;
            }
            dataEnd = std::max(file.NextHole(offset), offset + kReadBlock);
        }
        const qint64 n = offset < m_fileSize ? file.ReadInto(offset, data, std::min(kReadBlock, m_fileSize - offset)) : 0;
        if (n < 0) {
            m_error = file.Error();
            return false;
        }
        if (n == 0 && offset < m_fileSize) {   // the file shrank since it was opened
            m_fileSize = offset;
            break;
        }
        std::memset(data + n, kPadding, kChunk);
        scanner.Scan(buffer.data(), n, offset);
        offset += n;
        const auto elapsed = std::chrono::steady_clock::now() - started;
        const bool report = progress && elapsed >= std::chrono::milliseconds(m_options.ProgressAfterMs);
        if ((stop && stop->load(std::memory_order_relaxed)) ||
            (report && !progress(int(offset * 100 / m_fileSize), m_entryCount - 1))) {
            m_aborted = true;
            break;
        }
    }
    return true;
}

void TextIndex::Clear()
{
    *this = TextIndex();
}

qint64 TextIndex::LineCount() const { return m_lineCount; }

qint64 TextIndex::LineStart(qint64 line) const
{
    line = std::clamp<qint64>(line, 0, m_lineCount);
    if (m_options.Mode == TextViewMode::Hex)
        return std::min(line * 16, m_fileSize);
    return m_entryCount == 0 ? 0 : Entry(line);
}

qint64 TextIndex::LineOfOffset(qint64 offset) const
{
    const qint64 lastLine = std::max<qint64>(0, m_lineCount - 1);
    offset = std::max<qint64>(0, offset);
    if (m_options.Mode == TextViewMode::Hex || m_lineCount == 0)
        return std::min(offset / 16, lastLine);
    const auto anchor = std::upper_bound(m_anchors.begin(), m_anchors.end(), uint64_t(offset)) - m_anchors.begin() - 1;
    qint64 line = std::min(qint64(std::max<ptrdiff_t>(0, anchor)) << kAnchorShift, lastLine);
    const qint64 last = std::min(line + kAnchorEvery - 1, lastLine);
    while (line < last && Entry(line + 1) <= offset)
        ++line;
    return line;
}

qint64 TextIndex::MemoryBytes() const
{
    qint64 bytes = qint64(m_anchors.capacity() * sizeof(uint64_t) + m_blocks.capacity() * sizeof(m_blocks[0]) +
                          m_escapes.capacity() * sizeof(m_escapes[0]));
    for (const auto& block : m_blocks)
        bytes += qint64(block.capacity() * sizeof(uint32_t));
    return bytes;
}

void* TextIndex::AllocateBlock(size_t bytes)
{
    if (bytes < kHugePage)
        return ::operator new(bytes);
    const size_t size = hugePages(bytes);
    void* block = std::aligned_alloc(kHugePage, size);
    if (!block)
        throw std::bad_alloc();
    ::madvise(block, size, MADV_HUGEPAGE);
    return block;
}

void TextIndex::FreeBlock(void* block, size_t bytes)
{
    if (bytes < kHugePage)
        ::operator delete(block);
    else
        std::free(block);
}

qint64 TextIndex::Entry(qint64 entry) const
{
    const uint32_t distance = m_blocks[size_t(entry >> kBlockShift)][size_t(entry & (kBlockEntries - 1))];
    if (distance != kEscape)
        return qint64(m_anchors[size_t(entry >> kAnchorShift)] + distance);
    const auto escape = std::lower_bound(m_escapes.begin(), m_escapes.end(), std::pair<qint64, qint64>(entry, 0));
    return escape->second;
}
