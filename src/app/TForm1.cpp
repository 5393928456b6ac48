// The main window's life: start-up in its fixed order, window messages, keyboard,
// minimizing to the notification area, the close rules and shutdown.
#include "app/TForm1.h"

#include "app/AppIcon.h"
#include "app/CloseRules.h"
#include "app/CommandLine.h"
#include "app/HelpWindow.h"
#include "app/PaneListModel.h"
#include "app/PanePanel.h"
#include "app/TDlgAbout.h"
#include "app/WindowMessages.h"
#include "zip/EmptyZipSource.h"
#include "zip/TFileSource.h"
#include "zip/TZipMaster.h"
#include "zip/ZipFileCommands.h"
#include "viewers/TFRVwText.h"
#include "viewers/ViewerHost.h"
#include "viewers/text/TTextView.h"
#include "components/TSharedMemory.h"
#include "components/TSysHotKey.h"
#include "platform/TMountWatcher.h"
#include "platform/TMessages.h"
#include "platform/TRegistry.h"
#include "platform/TSysImageList.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QSessionManager>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWindow>
#include <QScopeGuard>

TForm1::TForm1(const QStringList& arguments, WindowServices* services, QWidget* parent)
    : QMainWindow(parent)
    , m_arguments(arguments)
    , m_ownServices(services ? nullptr : std::make_unique<WindowServices>())
    , m_services(services ? services : m_ownServices.get())
    , m_background(this,
                   {[this](int paneId) { return paneId == 1 ? &m_left : (paneId == 2 ? &m_right : nullptr); },
                    [this](const DirSizeResult& r) {
                        DirSizeFound(r.Path, r.FileCount, r.DirCount, r.AllocatedSize, r.Size);
                    },
                    [this](TDirData& pane, int row, int iconIndex, quintptr imageList) {
                        NewIconFound(pane.PaneId, row, iconIndex, imageList);
                    }})
    , m_operations(
          [this](const TShellFileOpRecord& record, uint16_t id, BackgroundOperations::Done done) {
              m_services->StartOperation(record, id, this, std::move(done));
          },
          this, [this](uint16_t id) { HandleMessage(WM_SHELLDONE, id); })
{
    setWindowIcon(AppIcon::Make());
    m_drawContext.Settings = &m_session.Options();
    m_drawContext.IconCache = &m_extIconCache;
    m_drawContext.Space = &m_driveSpace;
    m_drawContext.ShowsDriveSpace = [this](const QString& volume) {
        for (const TVolume& v : m_volumes) {
            if (v.mountPoint != volume)
                continue;
            if (v.type == DriveType::Fixed || v.type == DriveType::CdRom || v.type == DriveType::RamDisk)
                return true;
            // Other volumes (remote, removable) are asked only while a pane shows them.
            return VolumeRootOf(m_left.Path, m_volumes) == volume || VolumeRootOf(m_right.Path, m_volumes) == volume;
        }
        return false;
    };
    buildLayout();
    m_viewer = new ViewerHost(m_session.Viewers(), this);
    wireViewer();
    setupZip();
    m_sfEmptyZip = MakeEmptyZipSource();
    m_followTimer = new QTimer(this);
    m_followTimer->setSingleShot(true);
    m_followTimer->setInterval(150);
    m_sysHotKey = new TSysHotKey(this);
    connect(m_sysHotKey, &TSysHotKey::HotKey, this, &TForm1::SysHotKeyPressed);
    m_mountWatcher = new TMountWatcher(this);
    connect(m_mountWatcher, &TMountWatcher::MountsChanged, this, &TForm1::MountsChanged);
    LoadPlacement();
    qApp->installEventFilter(this);
}

TForm1::~TForm1()
{
    qApp->removeEventFilter(this);
    shutdown();
}

void TForm1::Startup()
{
    m_startupDone = false;
    // The viewer frames come with the viewer host.
    TSysImageList& images = TSysImageList::Instance();
    m_drawContext.FolderFallback = images.Icon(images.FolderIndex());
    m_drawContext.FileFallback = images.Icon(images.FileIndex());
    m_drawContext.IsViewable = [this](const QString& name) { return m_session.Viewers().IsViewable(name); };
    const int programIcon = images.IndexForMimeType(QStringLiteral("application/x-executable"));
    m_extIconCache.Add(QStringLiteral(".com"), images.Handle(), programIcon);
    m_extIconCache.Add(QStringLiteral(".exe"), images.Handle(), programIcon);
    loadSupportedAndHeaders();
    m_background.StartSizes();
    m_panLeft->Sort->setCurrentIndex(0);
    m_panRight->Sort->setCurrentIndex(0);
    wirePane(m_left, m_panLeft, m_right, m_panRight);
    wirePane(m_right, m_panRight, m_left, m_panLeft);
    RefreshVolumes();
    const QString startRoot = VolumeRootOf(QDir::currentPath(), m_volumes);
    m_left.Path = m_right.Path = startRoot;
    loadGeneralSettings();
    ActivatePane(m_left);
    loadHotKeys();
    updateTitleHints();
    applyTextViewSettings();
    sizeCommandColumn();
    applyPaneSplit();
    PostMessage(WM_COMMANDLINE);
    RecordHistory(m_left);
    RecordHistory(m_right);
    RefreshPane(m_left);
    RefreshPane(m_right);
    m_startupDone = true;
    focusActiveList();
    if (m_startMinimized)
        MinimizeApplication();
}

void TForm1::RefreshVolumes()
{
    m_volumes = ListVolumes();
    m_driveList->clear();
    TSysImageList& images = TSysImageList::Instance();
    for (int i = 0; i < m_driveActions.size(); ++i) {
        QAction* action = m_driveActions.at(i);
        auto* button = qobject_cast<QToolButton*>(m_tbDrives->widgetForAction(action));
        action->setVisible(i < m_volumes.size());
        if (i >= m_volumes.size() || !button)
            continue;
        const QString mount = m_volumes.at(i).mountPoint;
        m_driveList->addItem(mount);
        const QString caption = mount == QLatin1String("/") ? mount : mount.section(QLatin1Char('/'), -1);
        button->setText(caption);
        button->setAccessibleName(caption);
        button->setToolTip(mount);
        button->setStatusTip(mount);
        button->setIcon(images.Icon(images.DriveIndex()));
    }
}

void TForm1::RegisterSystemHotKey()
{
    m_sysHotKey->Unregister(0);
    const HotKeyEntry& e = m_session.HotKeys().Entries[0];
    m_sysHotKey->Register(0, e.VirtKey, e.Modifiers);
}

void TForm1::SysHotKeyPressed(int id)
{
    if (id != 0)
        return;
    if (!IsMinimizedToTray() && QApplication::activeWindow() != nullptr)
        MinimizeApplication();
    else
        RestoreApplication();
}

void TForm1::updateTitleHints()
{
    setWindowTitle(tr("Dorvane - ") + m_session.HotKeys().TitleHint());
    if (m_tray)
        m_tray->setToolTip(m_session.HotKeys().TrayTip());
}

TDirData& TForm1::ActivePane() { return m_leftActive ? m_left : m_right; }

TDirData& TForm1::OtherPane() { return m_leftActive ? m_right : m_left; }

PanePanel* TForm1::PanelOf(const TDirData& pane) const { return pane.PaneId == 1 ? m_panLeft : m_panRight; }

TDirData* TForm1::PaneOfList(const QObject* list)
{
    for (TDirData* pane : {&m_left, &m_right})
        if (pane->FileList && (list == pane->FileList || list == pane->FileList->viewport()))
            return pane;
    return nullptr;
}

TDirData* TForm1::PaneOfFilter(const QObject* widget)
{
    if (widget == m_panLeft->Filter || widget == m_panLeft->Filter->lineEdit())
        return &m_left;
    if (widget == m_panRight->Filter || widget == m_panRight->Filter->lineEdit())
        return &m_right;
    return nullptr;
}

void TForm1::ActivatePane(TDirData& pane)
{
    m_leftActive = pane.PaneId == 1;
    m_panLeft->SetActiveLook(m_leftActive);
    m_panRight->SetActiveLook(!m_leftActive);
    m_direction->setText(m_leftActive ? QStringLiteral(">>>>") : QStringLiteral("<<<<"));
    UpdateNavButtons();
}

void TForm1::directionClick()
{
    ActivatePane(OtherPane());
}

void TForm1::PostMessage(uint32_t message, uint32_t wparam)
{
    QTimer::singleShot(0, this, [this, message, wparam] { HandleMessage(message, wparam); });
}

void TForm1::HandleMessage(uint32_t message, uint32_t wparam)
{
    switch (message) {
    case WM_QUICKGO:
        QuickGo(int(wparam));
        break;
    case WM_COMMANDLINE:
        handleCommandLine();
        break;
    case WM_MINIMIZE:
        MinimizeApplication();
        break;
    case WM_RESTORE:
        RestoreApplication();
        break;
    case WM_REFRESHLEFT:
        RefreshSide(m_left);
        break;
    case WM_REFRESHRIGHT:
        RefreshSide(m_right);
        break;
    case WM_SHELLDONE:
        ShellOperationDone(wparam);
        break;
    case WM_REMOVE:
        RestoreApplication();
        // The uninstall runs here once installation support exists.
        break;
    default:
        break;
    }
}

void TForm1::handleCommandLine()
{
    const CommandLine cmd = CommandLine::Parse(m_arguments);
    if (cmd.action != StartAction::None) {
        // Installing and removing come with the shell-integration work; until then
        // the program says so instead of pretending to have done it.
        TMessages::Show(MsgKind::Information, tr("Installing and removing are not available yet."));
        Terminate();
        return;
    }
    if (cmd.minimize)
        MinimizeApplication();
}

bool TForm1::IsMinimizedToTray() const
{
    return !isVisible() || isMinimized();
}

void TForm1::MinimizeApplication()
{
    if (isMaximized())
        m_restoreToMax = true;
    // With a notification area the program lives only there; without one it stays
    // reachable from the task bar.
    if (QSystemTrayIcon::isSystemTrayAvailable())
        hideToTray();
    else
        showMinimized();
}

void TForm1::hideToTray()
{
    if (isVisible())
        m_hiddenAt = geometry().topLeft();
    hide();
}

void TForm1::RestoreApplication()
{
    if (isMinimized())
        setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    if (m_restoreToMax) {
        // A window that was maximized when it went to the notification area comes back so.
        m_restoreToMax = false;
        setWindowState(windowState() | Qt::WindowMaximized);
    }
    // A window mapped again is placed anew by the window manager unless it states a
    // position, and a frame position is turned into a client one with frame sizes
    // that a hidden window no longer knows; so every hide and show would move it.
    // The client position it had, stated before mapping, keeps it where it stood.
    if (!isVisible() && m_hiddenAt && !isMaximized() && windowHandle())
        windowHandle()->setPosition(*m_hiddenAt);
    show();
    raise();
    activateWindow();
    // Qt keeps a hidden window as its focus window, so the window manager's focus
    // coming back to it changes nothing and the program would go on believing itself
    // inactive: the hot key would then only ever restore, and keys would miss the
    // focused list.
    if (QGuiApplication::focusWindow() == windowHandle() && !QApplication::activeWindow())
        QApplication::setActiveWindow(this);
    focusActiveList();
}

void TForm1::focusActiveList()
{
    if (QListView* list = ActivePane().FileList)
        list->setFocus(Qt::ActiveWindowFocusReason);
}

void TForm1::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    focusActiveList();
}

bool TForm1::InFullScreenViewer() const
{
    return m_fullScreenViewer;
}

void TForm1::ToggleFullScreenViewer()
{
    // The text view waits for the new layout instead of painting every step of it.
    QWidget* textView = m_viewer->TextFrame()->View();
    textView->setUpdatesEnabled(false);
    const auto repaint = qScopeGuard([textView] { textView->setUpdatesEnabled(true); });
    m_fullScreenViewer = !m_fullScreenViewer;
    const bool show = !m_fullScreenViewer;
    menuBar()->setVisible(show);
    for (QToolBar* tb : {m_tbGeneral, m_tbNavigation, m_tbDrives})
        tb->setVisible(show);
    statusBar()->setVisible(show);
    m_leftSplit->setVisible(show);
    PanelOf(ActivePane())->setVisible(show);
}

void TForm1::Terminate()
{
    m_terminating = true;
    savePlacementOnce();
    close();
    QApplication::quit();
}

uint32_t TForm1::MessageNumberOfQuitType(int quitType)
{
    return quitType == 3 ? WM_MINIMIZE : 0;
}

void TForm1::closeEvent(QCloseEvent* event)
{
    if (m_terminating) {
        savePlacementOnce();
        event->accept();
        return;
    }
    if (!m_operations.ConfirmQuit()) {
        event->ignore();
        return;
    }
    AppSettings& options = m_session.Options();
    const CloseDecision d = CloseRules::Decide(options.QuitType, [this] { return m_services->AskCloseQuery(this); });
    options.QuitType = d.quitType;
    if (d.minimize)
        PostMessage(WM_MINIMIZE);
    if (!d.close) {
        event->ignore();
        return;
    }
    savePlacementOnce();
    event->accept();
    QApplication::quit();
}

void TForm1::savePlacementOnce()
{
    // Taken while the window still shows how the user left it: closing hides it.
    if (m_placementSaved || !m_startupDone)
        return;
    m_placementSaved = true;
    SavePlacement();
}

void TForm1::shutdown()
{
    if (m_shutdownDone)
        return;
    m_shutdownDone = true;
    savePlacementOnce();
    m_background.StopAll();
    m_viewer->StopViewers();
    if (m_startupDone)
        SaveSettings();
    for (TDirData* pane : {&m_left, &m_right})
        m_background.WithdrawSizes(*pane);
    // Background copies and moves stop at their next step, leaving whole files only;
    // the user has agreed to quit with them pending.
    TShellFileOperation::CancelAll();
    TShellFileOperation::WaitForAll(3000);
    if (m_left.Model)
        m_left.Model->BeginListing();
    if (m_right.Model)
        m_right.Model->BeginListing();
    m_left.ClearItems();
    m_right.ClearItems();
    if (m_left.Model)
        m_left.Model->EndListing();
    if (m_right.Model)
        m_right.Model->EndListing();
}

void TForm1::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    m_leftPaneWidth = -1;
    applyPaneSplit();
}

void TForm1::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isMinimized() && QSystemTrayIcon::isSystemTrayAvailable())
        QTimer::singleShot(0, this, [this] { hideToTray(); });
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    // Every quit passes here: the tray's "Shut down", the session's end, the last
    // window. A progress window refuses to close while its operation works, and Qt
    // gives up quitting when a window refuses, so the operations stop first (whole
    // files only); their windows then close and the quit goes through.
    if (watched == qApp && event->type() == QEvent::Quit) {
        m_terminating = true;
        TShellFileOperation::CancelAll();
        TShellFileOperation::WaitForAll(3000);
        return false;
    }
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (TDirData* pane = PaneOfFilter(watched);
            pane && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            FilterApply(*pane);
            return true;
        }
        // The application's filter sees a key once for its window and again for every
        // widget it propagates to; the window previews it once, at the focused widget.
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : this;
        if (watched == target && target->window() == this && handleKey(watched, key))
            return true;
        break;
    }
    case QEvent::MouseButtonPress:
        if (TDirData* pane = PaneOfList(watched)) {
            ActivatePane(*pane);
        } else if (TDirData* filterPane = PaneOfFilter(watched)) {
            ActivatePane(*filterPane);
        } else if (watched == m_panLeft->PathLabel || watched == m_panLeft->FilterPanel) {
            ActivatePane(m_left);
        } else if (watched == m_panRight->PathLabel || watched == m_panRight->FilterPanel) {
            ActivatePane(m_right);
        }
        break;
    case QEvent::MouseButtonRelease:
        if (TDirData* pane = PaneOfList(watched); pane && watched == pane->FileList->viewport()) {
            const bool left = static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
            QTimer::singleShot(0, this, [this, pane, left] {
                FilesMouseUp(*pane);
                // While the viewer is on it shows the row the user clicked.
                if (left && m_viewer->IsShown() && m_viewerSource == pane)
                    ShowInViewer(*pane, false, false, currentItemRow(*pane));
            });
        }
        break;
    case QEvent::ToolTip:
        if (showItemHint(watched, static_cast<QHelpEvent*>(event)))
            return true;
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TForm1::handleKey(QObject* watched, QKeyEvent* key)
{
    // Hot keys 1-3 first; the key still goes on to the focused control.
    switch (m_session.HotKeys().Match(key->key(), key->modifiers())) {
    case 1:
        if (m_sbViewer->isChecked())
            ToggleFullScreenViewer();
        return false;
    case 2:
        m_sbViewer->toggle();
        return false;
    case 3:
        if (m_viewer->IsShown())
            SetViewerMode(ActivePane(), false);
        else
            MinimizeApplication();
        return false;
    default:
        break;
    }
    if (m_fullScreenViewer && m_sbViewer->isChecked() && routeKeyToTextView(watched, key))
        return true;
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
        MessageBeep();
        TDirData& other = OtherPane();
        if (other.FileList)
            other.FileList->setFocus(Qt::TabFocusReason);
        return true;
    }
    TDirData* pane = PaneOfList(watched);
    const Qt::KeyboardModifiers mods = key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (!pane || watched != pane->FileList || mods != Qt::NoModifier)
        return false;
    if (key->key() == Qt::Key_Delete) {
        m_popup.Delete->trigger();
        return false;
    }
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        ActivateItem(*pane);
        return true;
    }
    return false;
}

void TForm1::DirPopupOpening(TDirData& pane, const QPoint& pos)
{
    ActivatePane(pane);
    m_popupPane = &pane;
    QListView* list = pane.FileList;
    const QModelIndex current = list->currentIndex();
    if (!current.isValid() || !list->selectionModel()->isSelected(current)) {
        const QModelIndex under = list->indexAt(pos);
        if (under.isValid())
            list->setCurrentIndex(under);
    }
    const QModelIndex now = list->currentIndex();
    const TFileData* e = now.isValid() && now.row() < pane.Count ? pane.Item(now.row()) : nullptr;
    const bool fileRow = e && e->Kind == fkFile;
    m_popup.View->setEnabled(fileRow && m_viewer->IsViewable(e->Name));
    m_popup.ViewAsText->setEnabled(fileRow);
    m_popup.Open->setEnabled(fileRow || (e && e->Kind == fkDirectory && pane.ArchiveDepth == 0));
    BuildQuickDirMenu(m_popup.QuickDir, pane);
    m_dirPopup->exec(list->viewport()->mapToGlobal(pos));
}

void TForm1::MainMenuOpening()
{
    TDirData& pane = ActivePane();
    bool sfv = false;
    if (pane.FileList && pane.ArchiveDepth == 0) {
        const QModelIndexList selected = pane.FileList->selectionModel()->selectedIndexes();
        const QModelIndex current = pane.FileList->currentIndex();
        if (selected.size() == 1 && selected.first() == current && current.row() < pane.Count) {
            const TFileData& e = *pane.Item(current.row());
            sfv = e.Kind == fkFile && e.Name.toUpper().endsWith(QLatin1String(".SFV"));
        }
    }
    m_checkSfv->setEnabled(sfv);
}

void TForm1::About1Click()
{
    TDlgAbout dialog(this);
    ShowModal(dialog);
}

void TForm1::Contents1Click()
{
    HelpWindow::ShowTopic(this, QStringLiteral("Introduction"));
}

int RunDorvane(QApplication& app)
{
    QApplication::setApplicationName(QStringLiteral("Dorvane"));
    QApplication::setQuitOnLastWindowClosed(false);
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    std::unique_ptr<TSharedMemory> channel;
    try {
        channel = std::make_unique<TSharedMemory>();
    } catch (const std::exception& e) {
        TMessages::Show(MsgKind::Error, QString::fromUtf8(e.what()));
        return 1;
    }
    if (channel->Existed()) {
        // Another instance runs: it comes to the front (or uninstalls); this one ends.
        channel->Post(CommandLine::IsSingleRemove(arguments) ? WM_REMOVE : WM_RESTORE);
        return 0;
    }
    TForm1 form(arguments);
    QObject::connect(channel.get(), &TSharedMemory::MessageReceived, &form,
                     [&form](uint32_t message, const QByteArray&) {
                         if (message == WM_RESTORE || message == WM_REMOVE)
                             form.HandleMessage(message);
                     });
    // The session may always end; settings are written when the window goes.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &form, [](QSessionManager&) {});
    // A program started to sit in the notification area never flashes its window.
    if (!CommandLine::Parse(arguments).minimize && !form.StartMinimized())
        form.show();
    form.Startup();
    return app.exec();
}
