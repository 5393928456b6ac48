// Lossless conversion of file names between bytes and text (see FileNames.h).
// Directory listings call DecodeFileName once per entry, so the common all-ASCII
// name takes Qt's vectorised Latin-1 path and the rest one pass without validation
// by Qt.
#include "FileNames.h"

namespace {

constexpr char16_t kEscapeBase = 0xDC00;   // + the byte, for bytes 0x80..0xFF

bool isBidiControl(char16_t u)
{
    return u == 0x200E || u == 0x200F || u == 0x061C || (u >= 0x202A && u <= 0x202E)
        || (u >= 0x2066 && u <= 0x2069);
}

bool isEscape(const char16_t* units, qsizetype i)
{
    return units[i] >= 0xDC80 && units[i] <= 0xDCFF && !(i > 0 && QChar::isHighSurrogate(units[i - 1]));
}

void appendUtf8(QByteArray& out, char32_t cp)
{
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

} // namespace

QString DecodeFileName(const char* bytes, qsizetype length)
{
    const auto* s = reinterpret_cast<const unsigned char*>(bytes);
    qsizetype i = 0;
    while (i < length && s[i] < 0x80)
        ++i;
    if (i == length)
        return QString::fromLatin1(bytes, length);

    // UTF-8 never takes fewer bytes than UTF-16 units, and an escaped byte is one unit.
    QString out(length, Qt::Uninitialized);
    char16_t* d = reinterpret_cast<char16_t*>(out.data());
    for (qsizetype k = 0; k < i; ++k)
        d[k] = s[k];
    qsizetype n = i;
    while (i < length) {
        const unsigned lead = s[i];
        if (lead < 0x80) {
            d[n++] = char16_t(lead);
            ++i;
            continue;
        }
        int follow = 0;
        char32_t cp = 0, smallest = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            follow = 1, cp = lead & 0x1F, smallest = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            follow = 2, cp = lead & 0x0F, smallest = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            follow = 3, cp = lead & 0x07, smallest = 0x10000;
        }
        bool valid = follow > 0 && i + follow < length;
        for (int k = 1; valid && k <= follow; ++k) {
            const unsigned next = s[i + k];
            valid = (next & 0xC0) == 0x80;
            cp = (cp << 6) | (next & 0x3F);
        }
        // Overlong forms, encoded surrogates and values past U+10FFFF are not UTF-8.
        if (valid && (cp < smallest || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)))
            valid = false;
        if (!valid) {
            d[n++] = char16_t(kEscapeBase + lead);
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            d[n++] = QChar::highSurrogate(cp);
            d[n++] = QChar::lowSurrogate(cp);
        } else {
            d[n++] = char16_t(cp);
        }
        i += follow + 1;
    }
    out.resize(n);
    return out;
}

QByteArray EncodeFileName(const QString& name)
{
    const char16_t* units = reinterpret_cast<const char16_t*>(name.utf16());
    const qsizetype size = name.size();
    qsizetype first = 0;
    while (first < size && !isEscape(units, first))
        ++first;
    if (first == size)
        return name.toUtf8();

    QByteArray out;
    out.reserve(size * 3);
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t u = units[i];
        if (QChar::isHighSurrogate(u) && i + 1 < size && QChar::isLowSurrogate(units[i + 1])) {
            appendUtf8(out, QChar::surrogateToUcs4(u, units[i + 1]));
            ++i;
        } else if (isEscape(units, i)) {
            out += char(u - kEscapeBase);
        } else if (QChar::isSurrogate(u)) {
            appendUtf8(out, 0xFFFD);   // no name decoded here holds one
        } else {
            appendUtf8(out, u);
        }
    }
    return out;
}

QString DisplayFileName(const QString& name)
{
    // Drawing calls this for every visible row, so a plain name is returned shared.
    const char16_t* units = reinterpret_cast<const char16_t*>(name.utf16());
    const qsizetype size = name.size();
    bool escaped = false;
    bool bidi = false;
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t u = units[i];
        if (u < 0x61C)
            continue;
        escaped = escaped || isEscape(units, i);
        bidi = bidi || isBidiControl(u);
    }
    if (!escaped && !bidi)
        return name;
    const QString text = escaped ? QString::fromLatin1(EncodeFileName(name)) : name;
    if (!bidi)
        return text;
    QString out;
    out.reserve(text.size() + 16);
    for (QChar c : text) {
        if (isBidiControl(c.unicode()))
            out += QStringLiteral("<U+%1>").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper();
        else
            out += c;
    }
    return out;
}
