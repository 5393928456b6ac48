#include "viewers/text/TmyMask.h"

#include <QList>
#include <algorithm>

// Every element but "*" consumes a fixed number of characters, so a mask is a chain of
// fixed-width segments joined by "*". The first segment is pinned to the text's start,
// the last to its end, and each one between is placed at its leftmost fit after the
// previous one: a later fit never leaves more room for what follows, so no other
// placement needs trying and matching stays linear in the segments' fits.
struct TmyMask::Element {
    enum class Kind { Literal, AnyOne, AnyRun, Range, Set };

    Kind kind = Kind::Literal;
    std::u32string chars{};   // the literal run, or the set's members
    char32_t low = 0;
    char32_t high = 0;
    bool negated = false;
    bool openRun = false;   // a literal run that the next plain character extends

    int Width() const
    {
        switch (kind) {
        case Kind::Literal:
            return int(chars.size());
        case Kind::AnyRun:
            return 0;
        default:
            return 1;
        }
    }

    // Whether the element matches the text at `at`, which leaves room for Width().
    bool MatchesAt(const std::u32string& text, size_t at) const
    {
        const char32_t c = text[at];
        switch (kind) {
        case Kind::Literal:
            return text.compare(at, chars.size(), chars) == 0;
        case Kind::Range:
            return (low <= c && c <= high) != negated;
        case Kind::Set:
            return (chars.find(c) != std::u32string::npos) != negated;
        default:
            return true;
        }
    }
};

namespace {

std::u32string codePoints(const QString& text)
{
    const QList<uint> ucs4 = text.toUcs4();
    return std::u32string(ucs4.begin(), ucs4.end());
}

} // namespace

TmyMask::TmyMask(const QString& mask)
{
    Parse(codePoints(mask));
    SplitAtStars();
}

TmyMask::~TmyMask() = default;
TmyMask::TmyMask(const TmyMask&) = default;
TmyMask& TmyMask::operator=(const TmyMask&) = default;
TmyMask::TmyMask(TmyMask&&) noexcept = default;
TmyMask& TmyMask::operator=(TmyMask&&) noexcept = default;

void TmyMask::Parse(const std::u32string& mask)
{
    using Kind = Element::Kind;
    const size_t n = mask.size();
    for (size_t i = 0; i < n; ++i) {
        const char32_t c = mask[i];
        if (c == U'*') {
            // "**" means what "*" means; one element keeps the search simple.
            if (m_elements.empty() || m_elements.back().kind != Kind::AnyRun)
                Add({.kind = Kind::AnyRun});
        } else if (c == U'?') {
            Add({.kind = Kind::AnyOne});
        } else if (c == U'!' || c == U'#') {
            if (++i == n)
                throw EMaskError();
            const bool negated = c == U'!';
            Add({.kind = negated ? Kind::Set : Kind::Literal, .chars = std::u32string(1, mask[i]), .negated = negated});
        } else if (c == U'[') {
            const bool negated = i + 1 < n && mask[i + 1] == U'!';
            const size_t from = i + 1 + (negated ? 1 : 0);
            if (from + 3 >= n || mask[from + 1] != U'-' || mask[from + 3] != U']')
                throw EMaskError();
            Add({.kind = Kind::Range, .low = mask[from], .high = mask[from + 2], .negated = negated});
            i = from + 3;
        } else if (c == U'(') {
            const bool negated = i + 1 < n && mask[i + 1] == U'!';
            const size_t from = i + 1 + (negated ? 1 : 0);
            const size_t close = mask.find(U')', from);
            if (close == std::u32string::npos || close == from)
                throw EMaskError();
            Add({.kind = Kind::Set, .chars = mask.substr(from, close - from), .negated = negated});
            i = close;
        } else if (!m_elements.empty() && m_elements.back().openRun) {
            m_elements.back().chars += c;
        } else {
            Add({.kind = Kind::Literal, .chars = std::u32string(1, c), .openRun = true});
        }
    }
}

void TmyMask::Add(Element element)
{
    if (int(m_elements.size()) == kMaxElements)
        throw EMaskError();
    m_elements.push_back(std::move(element));
}

void TmyMask::SplitAtStars()
{
    Segment segment;
    for (int i = 0; i < int(m_elements.size()); ++i) {
        if (m_elements[size_t(i)].kind == Element::Kind::AnyRun) {
            segment.last = i;
            m_segments.push_back(segment);
            segment = {i + 1, i + 1, 0};
        } else {
            segment.width += m_elements[size_t(i)].Width();
        }
    }
    segment.last = int(m_elements.size());
    m_segments.push_back(segment);
}

bool TmyMask::SegmentMatchesAt(const Segment& segment, const std::u32string& text, size_t at) const
{
    for (int i = segment.first; i < segment.last; ++i) {
        const Element& element = m_elements[size_t(i)];
        if (!element.MatchesAt(text, at))
            return false;
        at += size_t(element.Width());
    }
    return true;
}

bool TmyMask::Matches(const QString& text) const
{
    const std::u32string chars = codePoints(text);
    const Segment& head = m_segments.front();
    const Segment& tail = m_segments.back();
    if (m_segments.size() == 1)
        return chars.size() == size_t(head.width) && SegmentMatchesAt(head, chars, 0);
    if (chars.size() < size_t(head.width + tail.width) || !SegmentMatchesAt(head, chars, 0))
        return false;
    const size_t tailStart = chars.size() - size_t(tail.width);
    if (!SegmentMatchesAt(tail, chars, tailStart))
        return false;
    size_t at = size_t(head.width);
    for (size_t s = 1; s + 1 < m_segments.size(); ++s) {
        const Segment& middle = m_segments[s];
        while (at + size_t(middle.width) <= tailStart && !SegmentMatchesAt(middle, chars, at))
            ++at;
        if (at + size_t(middle.width) > tailStart)
            return false;
        at += size_t(middle.width);
    }
    return true;
}
