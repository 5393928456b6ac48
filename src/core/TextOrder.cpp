// The program's text order and its ASCII-only case mapping. CompareText runs inside
// sorts of many thousand names, so it reads the strings in place and never allocates.
#include "TextOrder.h"

namespace {

inline char16_t upperAscii(char16_t c)
{
    return (c >= u'a' && c <= u'z') ? char16_t(c - (u'a' - u'A')) : c;
}

inline char16_t lowerAscii(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? char16_t(c + (u'a' - u'A')) : c;
}

// Maps in place, detaching the string only when a character actually changes, so
// names that are already in the wanted case keep sharing their data.
template <typename Map>
QString mapAscii(const QString& text, Map map)
{
    const char16_t* src = reinterpret_cast<const char16_t*>(text.utf16());
    const qsizetype size = text.size();
    qsizetype first = 0;
    while (first < size && map(src[first]) == src[first])
        ++first;
    if (first == size)
        return text;
    QString result = text;
    char16_t* dst = reinterpret_cast<char16_t*>(result.data());
    for (qsizetype i = first; i < size; ++i)
        dst[i] = map(dst[i]);
    return result;
}

} // namespace

int CompareText(const QString& a, const QString& b)
{
    const char16_t* pa = reinterpret_cast<const char16_t*>(a.utf16());
    const char16_t* pb = reinterpret_cast<const char16_t*>(b.utf16());
    const qsizetype common = qMin(a.size(), b.size());
    for (qsizetype i = 0; i < common; ++i) {
        const char16_t ca = upperAscii(pa[i]);
        const char16_t cb = upperAscii(pb[i]);
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

QString AsciiUpper(const QString& text)
{
    return mapAscii(text, upperAscii);
}

QString AsciiLower(const QString& text)
{
    return mapAscii(text, lowerAscii);
}
