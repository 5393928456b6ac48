// Number texts for sizes and counts in the patterns the panes and hints use.
// Works on decimal digit strings rather than printf so that rounding is half away
// from zero on the digits the user sees and big byte counts stay exact.
#include "NumberFormat.h"

#include <charconv>
#include <cmath>
#include <string>

namespace {

// What a pattern asks for. Only digit placeholders ('#', '0'), ',' and one '.' are
// understood; any other pattern falls back to "###,##0.#", the pattern of sizes.
struct Layout {
    int minIntegerDigits = 1;   // placeholders from the first '0' up to the point
    int minDecimals = 0;        // placeholders up to the last '0' after the point
    int maxDecimals = 1;        // all placeholders after the point
    bool thousands = true;
};

Layout parseLayout(const QString& pattern)
{
    Layout layout;
    layout.minIntegerDigits = 0;
    layout.maxDecimals = 0;
    layout.thousands = false;
    bool afterPoint = false;
    bool zeroSeen = false;
    for (const QChar ch : pattern) {
        const char16_t c = ch.unicode();
        if (c == u'.' && !afterPoint) {
            afterPoint = true;
        } else if (c == u',' && !afterPoint) {
            layout.thousands = true;
        } else if ((c == u'#' || c == u'0') && !afterPoint) {
            zeroSeen = zeroSeen || c == u'0';
            if (zeroSeen)
                ++layout.minIntegerDigits;
        } else if (c == u'#' || c == u'0') {
            ++layout.maxDecimals;
            if (c == u'0')
                layout.minDecimals = layout.maxDecimals;
        } else {
            return Layout{};
        }
    }
    return layout;
}

// The magnitude as decimal digits: integer part and fraction part, without signs.
struct Digits {
    std::string integer;
    std::string fraction;
};

Digits decimalDigits(double magnitude)
{
    // From 2^53 on every double is an integer; print its exact value (below 2^64
    // through uint64, beyond that the exact fixed form).
    constexpr double TwoPow53 = 9007199254740992.0;
    constexpr double TwoPow64 = 18446744073709551616.0;
    char buffer[400];
    if (magnitude >= TwoPow53) {
        const auto r = magnitude < TwoPow64
            ? std::to_chars(buffer, buffer + sizeof buffer, uint64_t(magnitude))
            : std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::fixed, 0);
        return {std::string(buffer, r.ptr), {}};
    }
    // Below 2^53 the shortest text that reads back as the same double is the number
    // the caller meant (1.05 rather than 1.0500000000000000444), and for integers it
    // is exact.
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific);
    const std::string_view text(buffer, r.ptr - buffer);
    const size_t e = text.find('e');
    std::string mantissa;
    for (const char c : text.substr(0, e))
        if (c != '.')
            mantissa += c;
    int exponent = 0;
    std::from_chars(text.data() + e + 1 + (text[e + 1] == '+'), text.data() + text.size(), exponent);
    // mantissa is d.ddd × 10^exponent: the first (exponent + 1) digits are the integer.
    const int integerDigits = exponent + 1;
    Digits digits;
    if (integerDigits <= 0) {
        digits.integer = "0";
        digits.fraction = std::string(size_t(-integerDigits), '0') + mantissa;
    } else if (size_t(integerDigits) >= mantissa.size()) {
        digits.integer = mantissa + std::string(integerDigits - mantissa.size(), '0');
    } else {
        digits.integer = mantissa.substr(0, integerDigits);
        digits.fraction = mantissa.substr(integerDigits);
    }
    return digits;
}

// Cuts the fraction to `decimals` digits, rounding half away from zero.
void roundTo(Digits& digits, int decimals)
{
    if (digits.fraction.size() <= size_t(decimals))
        return;
    const bool up = digits.fraction[decimals] >= '5';
    digits.fraction.resize(decimals);
    if (!up)
        return;
    std::string all = digits.integer + digits.fraction;
    int i = int(all.size()) - 1;
    for (; i >= 0 && all[i] == '9'; --i)
        all[i] = '0';
    if (i >= 0)
        ++all[i];
    else
        all.insert(all.begin(), '1');
    digits.integer = all.substr(0, all.size() - decimals);
    digits.fraction = all.substr(all.size() - decimals);
}

std::string groupThousands(const std::string& integer)
{
    std::string grouped;
    grouped.reserve(integer.size() + integer.size() / 3);
    for (size_t i = 0; i < integer.size(); ++i) {
        if (i > 0 && (integer.size() - i) % 3 == 0)
            grouped += ',';
        grouped += integer[i];
    }
    return grouped;
}

} // namespace

QString FormatFloat(const QString& pattern, double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");

    const Layout layout = parseLayout(pattern);
    Digits digits = decimalDigits(std::fabs(value));
    roundTo(digits, layout.maxDecimals);

    while (digits.fraction.size() > size_t(layout.minDecimals) && digits.fraction.back() == '0')
        digits.fraction.pop_back();
    if (digits.fraction.size() < size_t(layout.minDecimals))
        digits.fraction.append(layout.minDecimals - digits.fraction.size(), '0');
    const size_t firstNonZero = digits.integer.find_first_not_of('0');
    digits.integer.erase(0, firstNonZero == std::string::npos ? digits.integer.size() : firstNonZero);
    if (digits.integer.size() < size_t(layout.minIntegerDigits))
        digits.integer.insert(0, layout.minIntegerDigits - digits.integer.size(), '0');

    // A value that rounds to nothing but zeros carries no sign ("-0" helps nobody).
    const bool showsNonZero = digits.integer.find_first_not_of('0') != std::string::npos
        || digits.fraction.find_first_not_of('0') != std::string::npos;
    std::string text;
    if (value < 0 && showsNonZero)
        text += '-';
    text += layout.thousands ? groupThousands(digits.integer) : digits.integer;
    if (!digits.fraction.empty())
        text += '.' + digits.fraction;
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

int HexDigitValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return -1;
}
