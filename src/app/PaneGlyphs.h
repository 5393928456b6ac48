// The small pictures the panes draw: the header's sort glyphs (0 ascending,
// 1 descending, 2 and 3 pressed) and the row markers (1 hidden, 2 supported by the
// internal viewer, 3 read-only). Painted once at first use; UI thread only.
#pragma once

#include <QPixmap>

class PaneGlyphs {
public:
    static const QPixmap& SortGlyph(int index);   // 12x12
    static const QPixmap& Marker(int index);      // 16x16
};
