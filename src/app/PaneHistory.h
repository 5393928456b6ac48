// A pane's history of locations (at most 20) for Back and Forward. Each entry is the
// text Path + "?" + ArchivePath + "?" + ArchiveDepth. Folder names on Linux may hold
// "?" (and "%"), so those two characters are written as %3F and %25 inside the
// fields: the entry stays readable, splits at exactly two "?" and loses nothing.
#pragma once

#include <QString>

class TDirData;

struct PaneLocation {
    QString Path;          // with a trailing '/'
    QString ArchivePath;
    int ArchiveDepth = 0;
};

class PaneHistory {
public:
    static constexpr int kCapacity = 20;

    static QString Key(const PaneLocation& location);
    static PaneLocation Parse(const QString& key);

    // Appends the pane's location unless it is the current entry; drops the entries
    // after the current one and the oldest beyond 20.
    static void Record(TDirData& pane);
    // Moves the index and puts the entry's location into the pane; false when there is
    // nothing to go to.
    static bool Back(TDirData& pane);
    static bool Forward(TDirData& pane);
    static bool CanGoBack(const TDirData& pane);
    static bool CanGoForward(const TDirData& pane);
};
