// The main window: two directory panes with the command column between them, tool
// bars, menus, the notification icon, and the program's start-up and shutdown.
// Handlers keep their short names (BTNCopyClick, ...) and call the pane logic.
#pragma once

#include "app/ArchiveLister.h"
#include "app/BookmarksMenu.h"
#include "app/DriveSpace.h"
#include "app/ExtIconCache.h"
#include "app/PaneBackgroundWork.h"
#include "app/PaneDrawContext.h"
#include "app/SettingsSession.h"
#include "app/TDirData.h"
#include "app/WindowServices.h"
#include "fileops/BackgroundOperations.h"
#include "fileops/TDirSize.h"
#include "viewers/ItemHint.h"
#include "zip/ZipListing.h"
#include "platform/DriveList.h"

#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <cstdint>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class PanePanel;
class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QSystemTrayIcon;
class QToolBar;
class QToolButton;
class QTimer;
class QApplication;
class TSharedMemory;
class TSysHotKey;
class TMountWatcher;
class TShellBrowser;
class QHelpEvent;
class ViewerHost;
class TZipMaster;
class ZipFileCommands;
struct ListingInputs;

// The operation code of the Properties command, beside the file-operation codes.
constexpr uint32_t kPropertiesOperation = 170;

// A subsystem's commands and state live in a class of their own that the window owns
// (the settings session, the background work, the background operations, the
// bookmarks); the window builds the widgets, wires them, and keeps the handlers thin.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    // arguments: the command line without the program name. `services` answers the
    // close question and runs background operations; null: the program's own.
    explicit TForm1(const QStringList& arguments, WindowServices* services = nullptr, QWidget* parent = nullptr);
    ~TForm1() override;

    // Start-up steps that follow the window's creation; the last one sets StartupDone.
    void Startup();
    bool StartupDone() const { return m_startupDone; }

    TDirData& Left() { return m_left; }
    TDirData& Right() { return m_right; }
    TDirData& ActivePane();
    TDirData& OtherPane();
    bool LeftIsActive() const { return m_leftActive; }
    void ActivatePane(TDirData& pane);
    TDirData* PaneOfList(const QObject* list);
    TDirData* PaneOfFilter(const QObject* widget);
    PanePanel* PanelOf(const TDirData& pane) const;
    AppSettings& Settings() { return m_session.Options(); }
    HotKeyTable& HotKeys() { return m_session.HotKeys(); }

    // Pane work.
    void ReadDirectory(TDirData& pane);
    void RefreshPane(TDirData& pane);
    void SortPane(TDirData& pane, bool sortDirectories, bool sortFiles);
    void SaveDirSizes(TDirData& pane);
    void SelectGroup(TDirData& pane, int group);
    void NewIconFound(int paneId, int index, int iconIndex, quintptr imageList);
    void DirSizeFound(const QString& directoryPath, uint32_t fileCount, uint32_t dirCount,
                      int64_t allocatedSize, int64_t size);
    void ComputeColumnWidths(TDirData& pane);
    void AutoSizeColumns(TDirData& pane);
    // Shows why a pane lists less than its folder holds (cut at the bound, unreadable)
    // in the status bar's permanent part, where hints do not replace it.
    void UpdateListingNotice();
    QString SelectionSummary(TDirData& pane);
    QString CopyPathText();

    // Navigation (TForm1Navigation.cpp).
    void Leave(TDirData& pane);
    void RememberPosition(TDirData& pane);
    void RestorePosition(TDirData& pane);
    void RecordHistory(TDirData& pane);
    void UpdateNavButtons();
    void MoveTo(TDirData& pane, const QString& path, bool leave);
    void ActivateItem(TDirData& pane);
    void GoParent(TDirData& pane);
    void GoParentButton(TDirData& pane);
    void NavBackClick();
    void NavForwardClick();
    void NavRootClick();
    void Synchronize1Click();
    void BTNRefreshClick();
    void RefreshSide(TDirData& pane);
    void SBDriveClick(int index);
    void Refreshdrivelist1Click();
    bool DriveOnDisplay(const QString& mountPoint) const;
    void PointMonitor(TDirData& pane);
    void MonitorChange(TDirData& pane);
    void MountsChanged(const QVector<TVolume>& before, const QVector<TVolume>& after);
    void OpenClick(TDirData& pane);
    void Connect1Click();
    void Disconnectnetworkdrive1Click();
    int TopRow(const TDirData& pane) const;

    // Bookmarks and quick-go menus.
    void AddbookmarkClick();
    void BookmarkClick(const QString& folder);
    void Editbookmarks1Click();
    void QuickGo(int paneId);
    void BuildQuickDirMenu(QMenu* menu, TDirData& target);

    // Settings (TForm1Settings.cpp): read at start-up, written once at shutdown.
    void LoadPlacement();
    void SavePlacement();
    void SaveSettings();
    ViewerExtensions& Viewers() { return m_session.Viewers(); }
    QList<QToolBar*> CoolBarBands() const;
    void ApplyCoolBar(const std::vector<CoolBand>& bands);
    bool StartMinimized() const { return m_startMinimized; }
    // Registers hot key 0 with the desktop; refused registration is silent.
    void RegisterSystemHotKey();
    void SysHotKeyPressed(int id);

    // File operations (TForm1FileOps.cpp).
    void BTNCopyClick();
    void BTNMoveClick();
    void BTNDeleteClick();
    void BTNRenameClick();
    void Properties1Click();
    void BTNNewDirClick();
    void SBDescribeClick();
    void BTNAttributesClick();
    void ExecuteFileOperation(uint32_t code);
    // The created folder or zip, or "" when nothing was created.
    QString CreateDirOrZip(TDirData& pane, bool zipOnly);
    void ShellOperationDone(uint32_t wparam);
    // Selected rows in listing order; the full paths of the selected files and folders.
    std::vector<int> SelectedRows(const TDirData& pane) const;
    QStringList SelectedPaths(const TDirData& pane) const;
    const PendingOperations& Pending() const { return m_operations.Table(); }
    DirSizeQueue& SizeQueue() { return m_background.SizeQueue(); }

    // Viewers (TForm1Viewer.cpp): the host shows, the window makes room.
    void SetViewerMode(TDirData& pane, bool on);
    void OpenOrView(TDirData& pane, bool forceOpen, bool info, bool asText);
    void ShowInViewer(TDirData& pane, bool asText, bool info, int index);
    void SBViewerClick(bool down);
    void Open1Click();
    void View1Click();
    void Viewastext1Click();
    void Viewinfos1Click();
    ViewerHost& Viewer() { return *m_viewer; }
    TZipMaster& Zip() { return *m_zip; }
    bool ArchiveListingAvailable() const;

    // Window messages, from other instances or posted to itself.
    void PostMessage(uint32_t message, uint32_t wparam = 0);
    void HandleMessage(uint32_t message, uint32_t wparam = 0);

    void MinimizeApplication();
    void RestoreApplication();
    bool IsMinimizedToTray() const;
    void ToggleFullScreenViewer();
    bool InFullScreenViewer() const;
    // Ends the program without the close questions.
    void Terminate();

    // Volumes shown in the drive bar and the volume rows.
    const QVector<TVolume>& Volumes() const { return m_volumes; }
    void RefreshVolumes();

    static uint32_t MessageNumberOfQuitType(int quitType);

    // Tools (TForm1Tools.cpp)
    void CheckSFVvalues1Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // The keyboard goes to the active pane's list whenever the window comes up, so
    // the arrow keys and Enter work without a click first.
    void focusActiveList();
    // Hides the window, remembering where it stood for the next showing.
    void hideToTray();
    // File operations.
    std::optional<QString> AskNewName(TDirData& source);
    void OpenBatchRenamer(TDirData& pane);
    void ZipFileOperation(uint32_t code, TDirData& source, TDirData& target);
    void ShowProperties(const QStringList& paths);
    // Repeats a command of the pane pop-up menu as its second item.
    void SetLastPopup(QAction* command);
    bool MonitorActive(const TDirData& pane) const;
    void PrioritizeVisibleIcons(TDirData& pane);
    void settleSections(TDirData& pane);
    void widenDefaultWindow(TDirData& pane);

    // Viewers (TForm1Viewer.cpp).
    void wireViewer();
    bool routeKeyToTextView(QObject* watched, QKeyEvent* key);
    void applyTextViewSettings();
    int currentItemRow(const TDirData& pane) const;
    // The extracted copy of a zip member, "" when it could not be taken out.
    QString extractZipMember(TDirData& pane, const QString& name, const QString& subfolder);
    void showViewerSides(bool viewerOn);
    void followSelection(TDirData& pane);
    bool showItemHint(QObject* watched, QHelpEvent* event);
    HintEntry driveHint(const QString& mountPoint, HintEntry::Kind kind);
    HintEntry entryHint(const TDirData& pane, const TFileData& e);

    // Layout (TForm1Layout.cpp).
    void buildLayout();
    void buildToolBars();
    void buildCommandColumn();
    void buildMenus();
    void buildDirPopup();
    void buildHeaderPopup();
    void buildTray();
    QToolButton* addCommandButton(const QString& objectName, const QString& caption, const QString& hint);
    QAction* addMenuAction(QMenu* menu, const QString& objectName, const QString& caption,
                           const QString& hint = {});
    void sizeCommandColumn();
    void applyPaneSplit();
    bool viewerMirrored() const;
    void wirePane(TDirData& pane, PanePanel* panel, TDirData& other, PanePanel* otherPanel);

    // Handlers.
    void directionClick();
    void Copypathtoclipboard1Click();
    void LHeaderSectionClick(TDirData& pane, int section);
    void SortChange(TDirData& pane);
    void FilterApply(TDirData& pane);
    void FilesMouseUp(TDirData& pane);
    void FilesDblClick(TDirData& pane);
    void DirPopupOpening(TDirData& pane, const QPoint& pos);
    void MainMenuOpening();
    void About1Click();
    void Contents1Click();
    bool handleKey(QObject* watched, QKeyEvent* key);

    // Start-up and shutdown (TForm1.cpp).
    void handleCommandLine();
    void loadSupportedAndHeaders();
    void loadGeneralSettings();
    void loadHotKeys();
    SettingsSession::WindowState windowSettings() const;
    void shutdown();
    void savePlacementOnce();
    void updateTitleHints();

    QStringList m_arguments;
    std::unique_ptr<WindowServices> m_ownServices;   // when none was given
    WindowServices* m_services;
    SettingsSession m_session;
    TSysHotKey* m_sysHotKey = nullptr;   // hot key 0, grabbed on the desktop
    TMountWatcher* m_mountWatcher = nullptr;
    bool m_watchLimitShown = false;      // the folder-watch limit is reported once
    bool m_startMinimized = false;       // the stored placement said minimized
    bool m_restoreToMax = false;         // a restore shows the window maximized
    std::optional<QPoint> m_hiddenAt;    // client position when hidden to the tray
    TDirData m_left{1};
    TDirData m_right{2};
    bool m_leftActive = true;
    bool m_startupDone = false;
    bool m_terminating = false;
    bool m_shutdownDone = false;
    bool m_placementSaved = false;
    QVector<TVolume> m_volumes;
    ExtIconCache m_extIconCache;
    TDirSize m_dirSizes;
    PaneBackgroundWork m_background;
    BackgroundOperations m_operations;
    TShellBrowser* m_theShell = nullptr;
    DriveSpace m_driveSpace;
    PaneDrawContext m_drawContext;

    PanePanel* m_panLeft = nullptr;
    PanePanel* m_panRight = nullptr;
    QWidget* m_leftSplit = nullptr;
    QWidget* m_panCenter = nullptr;
    QToolButton* m_direction = nullptr;
    QToolButton* m_navBack = nullptr;
    QToolButton* m_navForward = nullptr;
    QList<QToolButton*> m_commandButtons;
    QToolBar* m_tbGeneral = nullptr;
    QToolBar* m_tbNavigation = nullptr;
    QToolBar* m_tbDrives = nullptr;
    QToolButton* m_sbViewer = nullptr;
    QToolButton* m_speedButton2 = nullptr;
    QComboBox* m_driveList = nullptr;
    QLabel* m_listingNotice = nullptr;   // status bar, permanent part: see UpdateListingNotice
    QList<QAction*> m_driveActions;      // TBDrive01..TBDrive26 in the drive bar
    QMenu* m_dirPopup = nullptr;
    // The pane pop-up's items, by the commands they give.
    struct PopupItems {
        QMenu* QuickDir = nullptr;
        QAction* Last = nullptr;
        QAction* Open = nullptr;
        QAction* View = nullptr;
        QAction* ViewAsText = nullptr;
        QAction* ViewInfos = nullptr;
        QAction* Copy = nullptr;
        QAction* Move = nullptr;
        QAction* Delete = nullptr;
        QAction* Rename = nullptr;
        QAction* NewDir = nullptr;
        QAction* Refresh = nullptr;
        QAction* Properties = nullptr;
    } m_popup;
    QAction* m_checkSfv = nullptr;
    QAction* m_autoSizeColumns = nullptr;
    QMenu* m_headerPopup = nullptr;
    std::unique_ptr<BookmarksMenu> m_bookmarks;
    QMenu* m_quickDirPopup = nullptr;
    QMenu* m_trayMenu = nullptr;
    QSystemTrayIcon* m_tray = nullptr;
    TDirData* m_popupPane = nullptr;     // pane the last pop-up menu was opened on
    bool m_fullScreenViewer = false;     // menu and bars hidden, the viewer fills the window
    ViewerHost* m_viewer = nullptr;

    // The zip component "zip" and the file operations inside zips (TForm1Zip.cpp).
    void setupZip();
    void showZipMessage(int errorCode, const QString& text);
    std::unique_ptr<TZipMaster> m_zip;
    std::unique_ptr<ZipFileCommands> m_zipCommands;
    ZipListing m_zipListing;             // a zip listed while the component is busy
    TDirData* m_viewerSource = nullptr;  // the pane whose file the viewer shows
    QString m_viewerShownPath;
    QTimer* m_followTimer = nullptr;     // the viewer follows keyboard moves once they pause
    QMenu* m_viewerMenu = nullptr;
    Qt::WindowStates m_stateBeforeEditor;
    int m_leftPaneWidth = -1;            // the fixed pane's width, set by dragging LeftSplit; -1 follows the window

    // Panes inside zip archives (TForm1Panes.cpp): every listing of a zip goes through
    // listZip, the one place that asks the zip component.
    void ListArchive(TDirData& pane, const ListingInputs& in);
    ArchiveMembers listZip(const QString& zipFile, const std::function<void(int listed, int count)>& progress);
    QString zipCommentOf(const QString& zipFile);

    // The empty-zip template (SFEmptyZip)
    std::unique_ptr<class TFileSource> m_sfEmptyZip;

    // Zip commands (TForm1ZipCommands.cpp): the window hands its panes to the classes
    // of zip/ and refreshes the panes afterwards.
public:
    void BTNToZipClick();
    void ConvertZIPdiEXE1Click();
    void ExtractallZIPs1Click();
    // Enables "Convert ZIP to EXE" and "Extract all ZIPs" for the active pane's selection.
    void ZipMenuOpening();

private:
    void zipSelectionIntoNewZip(TDirData& target);
    void convertToExe(TDirData& pane);
    void extractAllZips(TDirData& source, TDirData& target);
    QAction* m_convertZipToExe = nullptr;
    QAction* m_extractAllZips = nullptr;
};

// Runs the program: the single-instance check, then the main window until it ends.
int RunDorvane(QApplication& app);
