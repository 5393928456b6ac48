// The state of one directory pane: its location, its listing and the widgets that show
// it. Exactly two exist (left PaneId 1, right PaneId 2). UI thread only.
#pragma once

#include "app/TDirPos.h"
#include "app/TFileData.h"

#include <QPointer>
#include <QString>
#include <QStringList>
#include <array>
#include <memory>
#include <vector>

class QComboBox;
class QHeaderView;
class QLabel;
class QListView;
class QProgressBar;
class QWidget;
class PaneListModel;
class TFolderMonitor;

// Most entries a listing stores; a larger folder is listed up to this bound.
constexpr int kMaxPaneItems = 16384;

class TDirData {
public:
    explicit TDirData(int paneId);

    // Entries: folders first ("..", when present, at index 0), then files, then volumes.
    std::vector<std::unique_ptr<TFileData>> Items;
    int Count = 0;
    int FileCount = 0;
    int DirCount = 0;
    int DriveCount = 0;
    bool Truncated = false;     // the folder held more entries than kMaxPaneItems
    QString ReadError;          // the system's reason the folder could not be read, or ""

    uint8_t Ascending = 1;
    QString Path;               // listed folder with a trailing '/'; the zip file + '/' inside an archive
    QString LastPath;
    int ArchiveDepth = 0;
    QString ArchivePath;        // '/'-separated folder inside a zip, "" or ending in '/'
    TDirPos Positions;
    QStringList History;
    int HistoryIndex = -1;
    const int PaneId;
    std::array<int, 3> ColumnWidths{10, 10, 10};
    // The Size and Time sections have been set once: fitted to the first listing with
    // entries, or left as the settings stored them.
    bool SectionsSettled = false;
    QStringList FilterMasks;    // sorted, distinct, lower-case
    // Bumped by every listing, so results computed for an older listing are recognised.
    uint32_t Generation = 0;
    // Folders of this listing whose sizes were asked for, withdrawn when it is left.
    QStringList SizeRequests;

    // Widgets of the pane (null in tests that exercise the data alone).
    QPointer<QListView> FileList;
    QPointer<PaneListModel> Model;
    QPointer<QWidget> ViewerPanel;
    QPointer<QWidget> OtherFilterPanel;
    QPointer<QWidget> TopPanel;
    QPointer<QWidget> OtherTopPanel;
    QPointer<QComboBox> FilterCombo;
    QPointer<QComboBox> SortCombo;
    QPointer<QLabel> PathLabel;
    QPointer<QHeaderView> Header;
    QPointer<QHeaderView> OtherHeader;
    QPointer<QProgressBar> Gauge;
    QPointer<TFolderMonitor> Monitor;

    TFileData* Item(int index) const { return Items[size_t(index)].get(); }
    void ClearItems();
    // Inserts a mask keeping FilterMasks sorted and distinct.
    void AddFilterMask(const QString& mask);
    // The sort order, as the sort combo's index. Kept here rather than read from the
    // combo so that the lister and sorter link no widgets; the form keeps the combo
    // in step both ways.
    int SortMode() const;
    void SetSortMode(int mode);

private:
    int m_sortMode = 0;
};
