// Texts of a pane row's cells, produced while painting (rows keep no texts).
#pragma once

#include <QFontMetrics>
#include <QString>
#include <cstdint>

class CellTexts {
public:
    // 999 -> "999", 1000 -> "1 KB", 1,022,977 -> "1 MB".
    static QString SizeText(int64_t value);
    // Free and total bytes of a volume as "free/total" in megabytes.
    static QString DriveSpaceText(int64_t freeBytes, int64_t totalBytes);

    // Shortens text until mark + text fits width, removing characters from the end
    // (atEnd) or from the start, then adds the mark on that side. Never splits a
    // surrogate pair.
    static QString FitText(const QFontMetrics& fm, const QString& text, int width,
                           const QString& mark, bool atEnd);
};

struct TFileData;

// Cell texts of one entry as the row shows them.
class EntryTexts {
public:
    // "" when the size is not shown (volumes, folders not measured yet).
    static QString Size(const TFileData& e, bool showBigSize);
    // "" for volumes.
    static QString Time(const TFileData& e);
};
