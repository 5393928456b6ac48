// The widths a pane's Name, Size and Time columns need for its listing, kept in the
// pane for "Auto-size columns" and a fresh start's section widths.
#pragma once

class QFontMetrics;
class TDirData;

class PaneColumnWidths {
public:
    static void Measure(TDirData& pane, const QFontMetrics& fm);
};
