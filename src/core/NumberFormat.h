// Number texts in the patterns the program shows: "###,##0.#", "###,##0", ",0" and
// "###,###,###,###". Thousands are separated by ',' and the decimal point is '.'.
#pragma once

#include <QString>

// Formats a value with one of the patterns above. Rounding is half away from zero,
// so 0.95 shows as 1 and not 0.9. "###,###,###,###" prints
// nothing for 0; the others print "0". Other patterns made of '#', '0', ',' and one
// '.' are read the same way; a pattern with any other character is formatted as
// "###,##0.#".
QString FormatFloat(const QString& pattern, double value);

// The value of one hexadecimal digit (either case), or -1.
int HexDigitValue(QChar c);
