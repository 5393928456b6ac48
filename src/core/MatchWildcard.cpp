// Wildcard matching for masks, hide rules and typed patterns. Runs over UTF-16
// units but steps whole characters wherever a wildcard decides the step, so a '?'
// never swallows half of a surrogate pair.
#include "MatchWildcard.h"

namespace {

inline char16_t foldAscii(char16_t c)
{
    return (c >= u'a' && c <= u'z') ? char16_t(c - (u'a' - u'A')) : c;
}

// Units taken by the character at p (2 for a complete surrogate pair).
inline qsizetype charLength(const char16_t* p, const char16_t* end)
{
    if (QChar::isHighSurrogate(p[0]) && p + 1 < end && QChar::isLowSurrogate(p[1]))
        return 2;
    return 1;
}

} // namespace

// Greedy matching that remembers only the last '*': when a later literal fails, the
// last star takes one more character and matching resumes after it. Earlier stars
// never need revisiting because the last star can absorb anything they could, which
// keeps the worst case at O(mask * name) instead of exponential backtracking.
bool MatchWildcard(const QString& mask, const QString& name)
{
    const char16_t* m = reinterpret_cast<const char16_t*>(mask.utf16());
    const char16_t* const mEnd = m + mask.size();
    const char16_t* n = reinterpret_cast<const char16_t*>(name.utf16());
    const char16_t* const nEnd = n + name.size();

    const char16_t* starMask = nullptr;   // mask position just after the last '*'
    const char16_t* starName = nullptr;   // name position that star's match ends at

    while (n < nEnd) {
        if (m < mEnd && *m == u'*') {
            while (m < mEnd && *m == u'*')
                ++m;
            if (m == mEnd)
                return true;              // a trailing star takes the rest
            starMask = m;
            starName = n;
            continue;
        }
        if (m < mEnd && *m == u'?') {
            ++m;
            n += charLength(n, nEnd);
            continue;
        }
        if (m < mEnd && foldAscii(*m) == foldAscii(*n)) {
            ++m;
            ++n;
            continue;
        }
        if (!starMask)
            return false;
        starName += charLength(starName, nEnd);
        m = starMask;
        n = starName;
    }
    while (m < mEnd && *m == u'*')
        ++m;
    return m == mEnd;
}
