// One row of a directory pane: a folder, a file or a volume. Owned by its pane and
// replaced with every listing. Row texts are never stored: drawing produces them.
#pragma once

#include <QString>
#include <cstdint>

enum TFileKind : uint8_t { fkDirectory = 0, fkDrive = 1, fkFile = 2 };

struct TFileData {
    TFileKind Kind = fkFile;
    uint8_t SizeKnown = 0;      // 1 once Size is final (folder measured, or set at creation)
    QString Name;               // ".." for the parent entry; a volume's mount point for drives
    uint32_t Time = 0;          // packed DOS date/time; 0 for drives
    QString Description;
    int32_t SysIconIndex = 0;
    quintptr SysImageList = 0;  // 0: no icon obtained yet
    uint32_t Attributes = 0;
    uint32_t FileCount = 0;     // counted by the folder-size computation
    uint32_t DirCount = 0;
    int64_t Size = -1;          // bytes; for folders the total below it; -1 unknown
    int64_t AllocatedSize = 0;  // allocated disk space of a folder

    bool IsParent() const { return Kind == fkDirectory && Name == QLatin1String(".."); }
};
