// What drawing a pane needs from the main window besides the pane itself.
#pragma once

#include <QIcon>
#include <QString>
#include <functional>

struct AppSettings;
class DriveSpace;
class ExtIconCache;
class TDirData;

struct PaneDrawContext {
    const AppSettings* Settings = nullptr;
    ExtIconCache* IconCache = nullptr;
    DriveSpace* Space = nullptr;
    QIcon FolderFallback;
    QIcon FileFallback;
    // Whether the internal viewer takes the file (filled in by the viewer host).
    std::function<bool(const QString& name)> IsViewable;
    // Whether a volume row shows its free/total space.
    std::function<bool(const QString& volume)> ShowsDriveSpace;
};
