#include "viewers/text/TextLineFormat.h"

#include <QList>
#include <algorithm>

namespace {

constexpr int kHexBytesPerLine = 16;

// Code page 437. Control codes stay themselves rather than DOS's glyphs: formatting
// blanks them before drawing, and text typed with a TAB must come back as a TAB.
constexpr char16_t kCp437[256] = {
    0x0000, 0x0001, 0x0002, 0x0003, 0x0004, 0x0005, 0x0006, 0x0007, 0x0008, 0x0009, 0x000A, 0x000B, 0x000C, 0x000D, 0x000E, 0x000F,
    0x0010, 0x0011, 0x0012, 0x0013, 0x0014, 0x0015, 0x0016, 0x0017, 0x0018, 0x0019, 0x001A, 0x001B, 0x001C, 0x001D, 0x001E, 0x001F,
    0x0020, 0x0021, 0x0022, 0x0023, 0x0024, 0x0025, 0x0026, 0x0027, 0x0028, 0x0029, 0x002A, 0x002B, 0x002C, 0x002D, 0x002E, 0x002F,
    0x0030, 0x0031, 0x0032, 0x0033, 0x0034, 0x0035, 0x0036, 0x0037, 0x0038, 0x0039, 0x003A, 0x003B, 0x003C, 0x003D, 0x003E, 0x003F,
    0x0040, 0x0041, 0x0042, 0x0043, 0x0044, 0x0045, 0x0046, 0x0047, 0x0048, 0x0049, 0x004A, 0x004B, 0x004C, 0x004D, 0x004E, 0x004F,
    0x0050, 0x0051, 0x0052, 0x0053, 0x0054, 0x0055, 0x0056, 0x0057, 0x0058, 0x0059, 0x005A, 0x005B, 0x005C, 0x005D, 0x005E, 0x005F,
    0x0060, 0x0061, 0x0062, 0x0063, 0x0064, 0x0065, 0x0066, 0x0067, 0x0068, 0x0069, 0x006A, 0x006B, 0x006C, 0x006D, 0x006E, 0x006F,
    0x0070, 0x0071, 0x0072, 0x0073, 0x0074, 0x0075, 0x0076, 0x0077, 0x0078, 0x0079, 0x007A, 0x007B, 0x007C, 0x007D, 0x007E, 0x2302,
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, 0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192,
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA, 0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4, 0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229,
    0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248, 0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,
};

char hexDigit(int value) { return "0123456789abcdef"[value & 15]; }

void appendHex(QByteArray& out, quint64 value, int digits)
{
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
        out += hexDigit(int(value >> shift));
}

// The lead bytes of multi-byte UTF-8 sequences: their range, the sequence length, the
// value bits they carry and the smallest value that length may encode.
struct Utf8Lead {
    uint8_t first;
    uint8_t last;
    int length;
    uint8_t bits;
    char32_t lowest;
};
constexpr Utf8Lead kUtf8Leads[] = {{0xC2, 0xDF, 2, 0x1F, 0x80}, {0xE0, 0xEF, 3, 0x0F, 0x800}, {0xF0, 0xF4, 4, 0x07, 0x10000}};

// The code point of the UTF-8 sequence at `at`, or -1 when the bytes there are not
// one (overlong forms, surrogates and values past U+10FFFF included); `length` gets
// its byte count.
char32_t decodeUtf8(const uint8_t* p, qsizetype at, qsizetype size, int& length)
{
    const uint8_t lead = p[at];
    const auto* kind = std::find_if(std::begin(kUtf8Leads), std::end(kUtf8Leads),
                                    [lead](const Utf8Lead& l) { return lead >= l.first && lead <= l.last; });
    if (kind == std::end(kUtf8Leads) || at + kind->length > size)
        return char32_t(-1);
    length = kind->length;
    char32_t value = lead & kind->bits;
    for (int i = 1; i < length; ++i) {
        const uint8_t next = p[at + i];
        if ((next & 0xC0) != 0x80)
            return char32_t(-1);
        value = (value << 6) | (next & 0x3F);
    }
    const bool surrogate = value >= 0xD800 && value <= 0xDFFF;
    return value < kind->lowest || surrogate || value > 0x10FFFF ? char32_t(-1) : value;
}

char oemByteOf(char32_t c)
{
    if (c < 0x80)
        return char(c);
    const auto* found = std::find(std::begin(kCp437), std::end(kCp437), c);
    return found == std::end(kCp437) ? '?' : char(found - std::begin(kCp437));
}

} // namespace

int TextLineFormat::NextTabStop(qint64 column, int tabSize)
{
    return int(column % tabSize == 0 ? tabSize : tabSize - column % tabSize);
}

QByteArray TextLineFormat::Text(const QByteArray& raw, int tabSize)
{
    tabSize = std::max(1, tabSize);
    QByteArray out;
    out.reserve(raw.size());
    for (const char c : raw) {
        const auto b = uint8_t(c);
        if (b == '\t')
            out.append(NextTabStop(out.size(), tabSize), ' ');
        else if (b != '\r' && b != '\n')
            out += b < 32 ? ' ' : c;
    }
    return out;
}

QByteArray TextLineFormat::Hex(qint64 offset, const QByteArray& bytes, int offsetDigits)
{
    const int hexWidth = 1 + offsetDigits + 3 * kHexBytesPerLine;
    QByteArray out;
    out.reserve(hexWidth + 1 + kHexBytesPerLine);
    out += '$';
    appendHex(out, quint64(offset), offsetDigits);
    const qsizetype count = std::min<qsizetype>(bytes.size(), kHexBytesPerLine);
    for (qsizetype i = 0; i < count; ++i) {
        out += ' ';
        appendHex(out, uint8_t(bytes[i]), 2);
    }
    out.append(hexWidth - out.size() + 1, ' ');
    for (qsizetype i = 0; i < kHexBytesPerLine; ++i)
        out += i >= count ? ' ' : uint8_t(bytes[i]) < 32 ? '.' : bytes[i];
    return out;
}

int TextLineFormat::HexOffsetDigits(qint64 fileSize)
{
    int digits = 1;
    for (quint64 largest = quint64(std::max<qint64>(0, fileSize - 1)); largest >= 16; largest >>= 4)
        ++digits;
    return std::max(8, digits);
}

int TextLineFormat::HexMaxWidth(qint64 fileSize) { return 73 + HexOffsetDigits(fileSize) - 8; }

int TextLineFormat::ColumnOf(const QByteArray& raw, int position, int tabSize)
{
    tabSize = std::max(1, tabSize);
    const qsizetype end = std::clamp<qsizetype>(position, 0, raw.size());
    qint64 column = 0;
    for (qsizetype i = 0; i < end; ++i) {
        const auto b = uint8_t(raw[i]);
        if (b == '\t')
            column += NextTabStop(column, tabSize);
        else if (b != '\r' && b != '\n')
            ++column;
    }
    return int(column + 1);
}

QString TextLineFormat::Ansi(const QByteArray& bytes)
{
    const auto* p = reinterpret_cast<const uint8_t*>(bytes.constData());
    const qsizetype size = bytes.size();
    QString out;
    out.reserve(size);
    for (qsizetype i = 0; i < size;) {
        int length = 1;
        const char32_t c = p[i] < 0x80 ? p[i] : decodeUtf8(p, i, size, length);
        if (c == char32_t(-1)) {
            out += QChar(p[i]);   // Latin-1, as older systems wrote such text
            length = 1;
        } else if (QChar::requiresSurrogates(c)) {
            out += QChar(QChar::highSurrogate(c));
            out += QChar(QChar::lowSurrogate(c));
        } else {
            out += QChar(char16_t(c));
        }
        i += length;
    }
    return out;
}

QString TextLineFormat::Oem(const QByteArray& bytes)
{
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* to = out.data();
    for (const char c : bytes)
        *to++ = QChar(kCp437[uint8_t(c)]);
    return out;
}

QByteArray TextLineFormat::FromText(const QString& text, bool oem)
{
    if (!oem)
        return text.toUtf8();
    QByteArray out;
    for (const char32_t c : text.toUcs4())
        out += oemByteOf(c);
    return out;
}
