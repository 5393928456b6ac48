// Number texts in the patterns the program shows: "###,##0.#", "###,##0", ",0" and
// "###,###,###,###". Thousands are separated by ',' and the decimal point is '.'.
#pragma once

#include <QString>

// Formats a value with one of the patterns above. Rounding is half away from zero,
// as the pattern formatting of the original program did. "###,###,###,###" prints
// nothing for 0; the others print "0".
QString FormatFloat(const QString& pattern, double value);
