#include "viewers/text/TextSearch.h"

#include "viewers/text/TextLineFormat.h"

#include <QCoreApplication>
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr size_t kBlockSize = 65536;

// The bytes of one character in the file's character set; empty when the set lacks it.
QByteArray bytesOf(char32_t c, bool oem)
{
    const QString text = QString::fromUcs4(&c, 1);
    const QByteArray bytes = TextLineFormat::FromText(text, oem);
    return !oem || TextLineFormat::Oem(bytes) == text ? bytes : QByteArray();
}

// The other case of a letter when the two map onto each other and onto nothing else:
// folding then stays symmetric ("k" never finds the Kelvin sign, which lowers to "k"
// but is not what "k" uppers to), and every form is one character.
char32_t caseCounterpart(char32_t c)
{
    const char32_t lower = QChar::toLower(c);
    if (lower != c && QChar::toUpper(lower) == c)
        return lower;
    const char32_t upper = QChar::toUpper(c);
    if (upper != c && QChar::toLower(upper) == c)
        return upper;
    return c;
}

// The pattern as a row of positions, each a list of byte strings that may stand there:
// one per case form of a character, or one run of bytes where nothing folds. The forms
// of one character are whole UTF-8 (or single OEM) characters, so at most one of them
// fits at any place and a match never needs to backtrack.
class FoldedPattern {
public:
    // A byte at a fixed distance from a hit's start and the (up to two) values it takes.
    struct Anchor {
        size_t offset = 0;
        uint8_t one = 0;
        uint8_t other = 0;
    };

    FoldedPattern(const QString& text, bool caseInsensitive, bool oem)
    {
        for (char32_t c : text.toUcs4())
            AddCharacter(c, caseInsensitive, oem);
        if (!m_positions.empty())
            PlaceAnchors();
    }

    bool IsEmpty() const { return m_positions.empty(); }
    size_t MinLength() const { return m_minLength; }
    size_t MaxLength() const { return m_maxLength; }
    const Anchor& First() const { return m_first; }
    const Anchor& Second() const { return m_second; }

    bool CouldStartAt(const uint8_t* at) const
    {
        return (at[0] == m_first.one || at[0] == m_first.other) &&
               (at[m_second.offset] == m_second.one || at[m_second.offset] == m_second.other);
    }

    bool MatchesAt(const uint8_t* at, const uint8_t* end) const
    {
        for (const std::vector<QByteArray>& forms : m_positions) {
            const QByteArray* fit = FormAt(forms, at, end);
            if (!fit)
                return false;
            at += fit->size();
        }
        return true;
    }

private:
    static const QByteArray* FormAt(const std::vector<QByteArray>& forms, const uint8_t* at, const uint8_t* end)
    {
        for (const QByteArray& form : forms) {
            if (end - at >= form.size() && std::memcmp(at, form.constData(), size_t(form.size())) == 0)
                return &form;
        }
        return nullptr;
    }

    void AddCharacter(char32_t c, bool caseInsensitive, bool oem)
    {
        const QByteArray own = TextLineFormat::FromText(QString::fromUcs4(&c, 1), oem);
        std::vector<QByteArray> forms{own};
        const char32_t other = caseInsensitive ? caseCounterpart(c) : c;
        const QByteArray otherBytes = other == c ? QByteArray() : bytesOf(other, oem);
        if (!otherBytes.isEmpty() && otherBytes != own)
            forms.push_back(otherBytes);
        if (forms.size() == 1 && !m_positions.empty() && m_positions.back().size() == 1)
            m_positions.back().front() += own;
        else
            m_positions.push_back(std::move(forms));
    }

    static Anchor AnchorAt(const std::vector<QByteArray>& forms, size_t offset, qsizetype index)
    {
        const uint8_t one = uint8_t(forms.front()[index]);
        return {offset, one, forms.size() > 1 ? uint8_t(forms.back()[index]) : one};
    }

    // The first byte, and the last byte before the forms start to differ in length
    // (for a plain word, its last byte): together they rule out nearly every place.
    void PlaceAnchors()
    {
        m_first = AnchorAt(m_positions.front(), 0, 0);
        m_second = m_first;
        bool sameLengths = true;
        for (const std::vector<QByteArray>& forms : m_positions) {
            const auto [shortest, longest] = std::minmax_element(
                forms.begin(), forms.end(), [](const QByteArray& a, const QByteArray& b) { return a.size() < b.size(); });
            sameLengths = sameLengths && shortest->size() == longest->size();
            if (sameLengths)
                m_second = AnchorAt(forms, m_minLength + size_t(shortest->size()) - 1, shortest->size() - 1);
            m_minLength += size_t(shortest->size());
            m_maxLength += size_t(longest->size());
        }
    }

    std::vector<std::vector<QByteArray>> m_positions;
    size_t m_minLength = 0;
    size_t m_maxLength = 0;
    Anchor m_first;
    Anchor m_second;
};

// Where a hit may start; checked whole out of line, so that the scanning loop keeps
// its registers.
struct Candidates {
    const FoldedPattern& pattern;
    const uint8_t* buffer;
    const uint8_t* end;
    qint64 base;
    HitList& hits;

    [[gnu::noinline]] void Check(size_t from, uint64_t bits) const
    {
        for (; bits != 0; bits &= bits - 1) {
            const size_t at = from + size_t(__builtin_ctzll(bits));
            if (pattern.MatchesAt(buffer + at, end))
                hits.Add(base + qint64(at));
        }
    }
};

#if defined(__SSE2__)
// One bit per place of the 16 at `at` whose two anchor bytes fit.
class AnchorFilter {
public:
    explicit AnchorFilter(const FoldedPattern& pattern)
        : m_offset(pattern.Second().offset)
        , m_firstOne(_mm_set1_epi8(char(pattern.First().one)))
        , m_firstOther(_mm_set1_epi8(char(pattern.First().other)))
        , m_secondOne(_mm_set1_epi8(char(pattern.Second().one)))
        , m_secondOther(_mm_set1_epi8(char(pattern.Second().other)))
    {
    }

    uint64_t Fits(const uint8_t* at) const
    {
        const __m128i head = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
        const __m128i tail = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + m_offset));
        const __m128i headFits = _mm_or_si128(_mm_cmpeq_epi8(head, m_firstOne), _mm_cmpeq_epi8(head, m_firstOther));
        const __m128i tailFits = _mm_or_si128(_mm_cmpeq_epi8(tail, m_secondOne), _mm_cmpeq_epi8(tail, m_secondOther));
        return uint64_t(unsigned(_mm_movemask_epi8(_mm_and_si128(headFits, tailFits))));
    }

private:
    size_t m_offset;
    __m128i m_firstOne;
    __m128i m_firstOther;
    __m128i m_secondOne;
    __m128i m_secondOther;
};
#endif

// Checks the first `starts` places of `buffer` (holding `length` bytes, `base` its file
// offset) and appends the hits. A place needs MinLength() bytes after it.
void scanBuffer(const FoldedPattern& pattern, const uint8_t* buffer, size_t starts, size_t length, qint64 base,
                HitList& hits)
{
    const Candidates candidates{pattern, buffer, buffer + length, base, hits};
    size_t i = 0;
#if defined(__SSE2__)
    // 64 places a round: hits are rare, so one branch per round is the one that counts.
    const AnchorFilter filter(pattern);
    for (; i + 64 <= starts; i += 64) {
        const uint64_t bits = filter.Fits(buffer + i) | filter.Fits(buffer + i + 16) << 16 |
                              filter.Fits(buffer + i + 32) << 32 | filter.Fits(buffer + i + 48) << 48;
        if (bits != 0)
            candidates.Check(i, bits);
    }
#endif
    for (; i < starts; ++i) {
        if (pattern.CouldStartAt(buffer + i))
            candidates.Check(i, 1);
    }
}

QString failure(const char* text, const QString& path, int error)
{
    return QCoreApplication::translate("TextSearch", text).arg(path, QString::fromLocal8Bit(std::strerror(error)));
}

ssize_t readAt(int fd, uint8_t* to, size_t count, qint64 offset)
{
    ssize_t got = 0;
    do
        got = ::pread(fd, to, count, off_t(offset));
    while (got < 0 && errno == EINTR);
    return got;
}

// A descriptor to read the file with, or -1 and the reason in *error.
int openRegularFile(const QString& path, qint64& size, QString* error)
{
    QString problem;
    // O_NONBLOCK: a FIFO or device named like a text file must not hang the open.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    struct stat info {};
    if (fd < 0 || ::fstat(fd, &info) != 0)
        problem = failure(QT_TRANSLATE_NOOP("TextSearch", "Cannot read %1: %2."), path, errno);
    else if (!S_ISREG(info.st_mode))
        problem = QCoreApplication::translate("TextSearch", "%1 is not a regular file.").arg(path);
    if (problem.isEmpty()) {
        size = qint64(info.st_size);
        return fd;
    }
    if (fd >= 0)
        ::close(fd);
    if (error)
        *error = problem;
    return -1;
}

// Reports the percent read when it changes.
class ProgressReport {
public:
    ProgressReport(const std::function<void(int)>& progress, qint64 size)
        : m_progress(progress)
        , m_size(size)
    {
    }

    void Read(qint64 done)
    {
        const int percent = m_size > 0 ? int(std::min<qint64>(100, done * 100 / m_size)) : 100;
        if (m_progress && percent != m_last)
            m_progress(percent);
        m_last = percent;
    }

private:
    const std::function<void(int)>& m_progress;
    qint64 m_size;
    int m_last = -1;
};

} // namespace

std::vector<qint64> TextSearch::FindAll(const QString& path, const QString& text, bool caseInsensitive, bool oem,
                                        const std::atomic<bool>* stop, const std::function<void(int percent)>& progress,
                                        QString* error)
{
    HitList hits;
    Find(path, text, caseInsensitive, oem, hits, stop, progress, error);
    return hits.ToVector();
}

bool TextSearch::Find(const QString& path, const QString& text, bool caseInsensitive, bool oem, HitList& hits,
                      const std::atomic<bool>* stop, const std::function<void(int percent)>& progress, QString* error)
{
    const FoldedPattern pattern(text, caseInsensitive, oem);
    if (pattern.IsEmpty())
        return true;
    qint64 size = 0;
    const int fd = openRegularFile(path, size, error);
    if (fd < 0)
        return false;

    // A block is read behind the bytes kept from the one before, where a hit may start.
    std::vector<uint8_t> buffer(kBlockSize + pattern.MaxLength());
    ProgressReport report(progress, size);
    size_t kept = 0;
    qint64 offset = 0;
    bool ok = true;
    while (!(stop && stop->load(std::memory_order_relaxed))) {
        const ssize_t got = readAt(fd, buffer.data() + kept, kBlockSize, offset);
        if (got < 0 || (got == 0 && offset < size)) {
            // Hits past a failed read or a cut would be missing without a word: a short
            // list must not pass for the whole answer.
            ok = false;
            if (error)
                *error = got < 0 ? failure(QT_TRANSLATE_NOOP("TextSearch", "Cannot read %1: %2."), path, errno)
                                 : QCoreApplication::translate("TextSearch", "%1 got shorter during the search.").arg(path);
            break;
        }
        const size_t length = kept + size_t(got);
        const size_t needed = got == 0 ? pattern.MinLength() : pattern.MaxLength();
        const size_t starts = length >= needed ? length - needed + 1 : 0;
        scanBuffer(pattern, buffer.data(), starts, length, offset - qint64(kept), hits);
        if (got == 0)
            break;
        offset += got;
        kept = length - starts;
        std::memmove(buffer.data(), buffer.data() + starts, kept);
        report.Read(offset);
    }
    ::close(fd);
    return ok;
}
