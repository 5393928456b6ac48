// The text of the information hint over a pane row or a drive-bar button, and where
// and how wide the hint window shows it.
#pragma once

#include <QCoreApplication>
#include <QString>
#include <cstdint>

struct HintEntry {
    enum class Kind { DriveButton, Drive, File, Directory, Parent };
    Kind EntryKind = Kind::File;
    QString Name;                 // a drive's text: its mount point
    uint32_t DosTime = 0;         // packed DOS date/time as the pane keeps it
    int64_t Size = -1;            // bytes; folders: -1 while unknown
    bool SizeKnown = false;       // folders: the measured total is in Size
    int64_t AllocatedSize = 0;
    uint32_t FileCount = 0, DirCount = 0;
    bool Viewable = false, Hidden = false, Readonly = false;
    QString Description;
    bool ShowsSpace = false;      // drives: the three space lines follow (fixed, remote, CD, RAM, or removable and ready)
    int64_t TotalBytes = 0, FreeBytes = 0;
    QString Mp3Info;              // filled by the music work later; appended when not empty (its lines begin with "\r")
    QString ZipComment;           // filled by the zip work later; "\rZip comment:\r" + it when not empty
};

class ItemHint {
    Q_DECLARE_TR_FUNCTIONS(ItemHint)
public:
    // The hint's lines joined with "\r", in the described order.
    static QString Text(const HintEntry& entry);
    // Widest the hint may be for a list this wide: three quarters, but 180 when the list is narrower than 240.
    static int MaxWidth(int listWidth);
    static constexpr int kOffset = 10;          // right of and below the cursor
    static constexpr int kHideMsecs = 999999;

private:
    static QString HeadLines(const HintEntry& entry);
    static QString SpaceLines(const HintEntry& entry);
    static QString DateLine(uint32_t dosTime);
    static QString FolderSizeLines(const HintEntry& entry);
    static QString FlagsLine(const HintEntry& entry);
    static QString TailText(const HintEntry& entry);
};
