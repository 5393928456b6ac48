// The program's text order: ASCII letters a-z upper-cased, everything else compared
// as it is, unit by unit, a shorter prefix first. Used for sorting and look-ups.
#pragma once

#include <QString>

// Returns -1, 0 or 1.
int CompareText(const QString& a, const QString& b);

// Upper-cases ASCII letters only, leaving every other character as it is.
QString AsciiUpper(const QString& text);
QString AsciiLower(const QString& text);
