// Turning a line's bytes into what the view shows: text lines with tabs expanded and
// control bytes blanked, hex lines of 16 bytes with their offset; and the bytes as
// characters, in the ANSI (UTF-8, Latin-1 for invalid bytes) or OEM (code page 437) set.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

class TextLineFormat {
public:
    // TAB to spaces up to the next multiple of tabSize, CR and LF dropped, other bytes
    // below 32 as a space.
    static QByteArray Text(const QByteArray& raw, int tabSize);
    // "$" + offset in `offsetDigits` hex digits, " %2.2x" per byte, padded to the hex
    // column width, a space, then the 16 characters (below 32 as ".", missing as " ").
    static QByteArray Hex(qint64 offset, const QByteArray& bytes, int offsetDigits);
    // 8, or as many as the largest offset of a file this size needs.
    static int HexOffsetDigits(qint64 fileSize);
    // The widest hex line of a file this size, in columns.
    static int HexMaxWidth(qint64 fileSize);
    // Columns a TAB at `column` (0-based) advances to reach the next multiple of tabSize.
    static int NextTabStop(qint64 column, int tabSize);
    // The column of byte `position` of `raw` with tabs expanded, counted from 1.
    static int ColumnOf(const QByteArray& raw, int position, int tabSize);

    static QString Ansi(const QByteArray& bytes);
    static QString Oem(const QByteArray& bytes);
    // The bytes a typed text stands for in that character set (search patterns).
    static QByteArray FromText(const QString& text, bool oem);
};
