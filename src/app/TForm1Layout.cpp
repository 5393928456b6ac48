// Building the main window's widgets, menus and tool bars, with the object names and
// captions users and screen readers know them by.
#include "app/TForm1.h"

#include "app/AppIcon.h"
#include "app/PaneHeader.h"
#include "app/PaneItemDelegate.h"
#include "app/PaneListModel.h"
#include "app/PanePanel.h"
#include "app/WindowMessages.h"
#include "viewers/ViewerHost.h"
#include "components/TFolderMonitor.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QString withoutMnemonic(QString caption)
{
    caption.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    return caption;
}

// The 3-pixel bar between the left pane and the command column; dragging it sets
// the left pane's width until the window is resized again.
class SplitBar : public QWidget {
public:
    SplitBar(QWidget* parent, std::function<void(int)> moved)
        : QWidget(parent)
        , m_moved(std::move(moved))
    {
        setFixedWidth(3);
        setCursor(Qt::SplitHCursor);
    }

protected:
    void mouseMoveEvent(QMouseEvent* e) override
    {
        if (e->buttons() & Qt::LeftButton)
            m_moved(mapToParent(e->position().toPoint()).x());
    }

private:
    std::function<void(int)> m_moved;
};

} // namespace

void TForm1::buildLayout()
{
    setObjectName(QStringLiteral("Form1"));
    // The default size was laid out for a font of 5 pixels' average width (8 points at
    // 96 dpi); a wider desktop font scales it, as forms scaled with the screen font.
    // A stored placement replaces it later.
    const double scale = std::max(1.0, QFontMetricsF(QApplication::font()).averageCharWidth() / 5.0);
    resize(int(593 * scale), int(455 * scale));
    auto* central = new QWidget(this);
    auto* row = new QHBoxLayout(central);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    m_panLeft = new PanePanel(PanePanel::Left, central);
    m_leftSplit = new SplitBar(central, [this](int x) {
        // Mirrored for a viewer of the right pane's file, the bar sizes the right pane.
        const int wanted = viewerMirrored() ? width() - x - m_leftSplit->width() : x;
        m_leftPaneWidth = std::clamp(wanted, 40, std::max(40, width() - m_panCenter->width() - 40));
        applyPaneSplit();
    });
    m_leftSplit->setObjectName(QStringLiteral("LeftSplit"));
    m_leftSplit->setAccessibleName(QStringLiteral("LeftSplit"));
    m_panCenter = new QWidget(central);
    m_panCenter->setObjectName(QStringLiteral("PanCenter"));
    m_panCenter->setAccessibleName(QStringLiteral("PanCenter"));
    m_panRight = new PanePanel(PanePanel::Right, central);
    row->addWidget(m_panLeft);
    row->addWidget(m_leftSplit);
    row->addWidget(m_panCenter);
    row->addWidget(m_panRight, 1);
    setCentralWidget(central);

    m_driveList = new QComboBox(central);
    m_driveList->setObjectName(QStringLiteral("DriveList"));
    m_driveList->hide();

    statusBar()->setObjectName(QStringLiteral("StatusBar"));
    statusBar()->setAccessibleName(QStringLiteral("StatusBar"));
    statusBar()->setSizeGripEnabled(true);
    m_listingNotice = new QLabel(statusBar());
    m_listingNotice->setObjectName(QStringLiteral("ListingNotice"));
    m_listingNotice->setAccessibleName(QStringLiteral("ListingNotice"));
    m_listingNotice->setTextFormat(Qt::PlainText);
    // A long path must not widen the window; the tip holds the whole text.
    m_listingNotice->setMinimumWidth(1);
    m_listingNotice->hide();
    statusBar()->addPermanentWidget(m_listingNotice);

    buildToolBars();
    buildCommandColumn();
    buildMenus();
    buildDirPopup();
    buildHeaderPopup();
    buildTray();
}

void TForm1::buildToolBars()
{
    auto band = [this](const QString& name, const QString& title) {
        auto* tb = addToolBar(title);
        tb->setObjectName(name);
        tb->setAccessibleName(title);
        tb->setIconSize(QSize(16, 16));
        tb->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        return tb;
    };
    auto button = [](QToolBar* tb, const QString& name, const QString& caption, const QString& hint,
                     const QIcon& icon = {}) {
        auto* b = new QToolButton(tb);
        b->setObjectName(name);
        b->setText(caption);
        b->setAccessibleName(caption);
        b->setToolTip(hint.isEmpty() ? caption : hint);
        b->setStatusTip(hint.isEmpty() ? caption : hint);
        b->setIcon(icon);
        b->setAutoRaise(true);
        tb->addWidget(b);
        return b;
    };
    QStyle* st = style();
    m_tbGeneral = band(QStringLiteral("TBGeneral"), tr("Viewer"));
    m_sbViewer = button(m_tbGeneral, QStringLiteral("SBViewer"), tr("Viewer"),
                        tr("Viewer on/off"), st->standardIcon(QStyle::SP_FileDialogContentsView));
    m_sbViewer->setCheckable(true);
    connect(m_sbViewer, &QToolButton::toggled, this, &TForm1::SBViewerClick);
    m_speedButton2 = button(m_tbGeneral, QStringLiteral("SpeedButton2"), tr("Full screen"),
                            tr("Full screen viewer"), st->standardIcon(QStyle::SP_TitleBarMaxButton));
    connect(m_speedButton2, &QToolButton::clicked, this, [this] {
        if (m_sbViewer->isChecked())
            ToggleFullScreenViewer();
    });

    m_tbNavigation = band(QStringLiteral("TBNavigation"), tr("Navigation"));
    m_navBack = button(m_tbNavigation, QStringLiteral("NavBack"), tr("Back"), {},
                       st->standardIcon(QStyle::SP_ArrowBack));
    connect(m_navBack, &QToolButton::clicked, this, &TForm1::NavBackClick);
    m_navForward = button(m_tbNavigation, QStringLiteral("NavForward"), tr("Forward"), {},
                          st->standardIcon(QStyle::SP_ArrowForward));
    connect(m_navForward, &QToolButton::clicked, this, &TForm1::NavForwardClick);
    auto* refresh = button(m_tbNavigation, QStringLiteral("NavRefresh"), tr("Refresh"), {},
                           st->standardIcon(QStyle::SP_BrowserReload));
    connect(refresh, &QToolButton::clicked, this, &TForm1::BTNRefreshClick);
    auto* root = button(m_tbNavigation, QStringLiteral("NavRoot"), tr("Root"), {},
                        st->standardIcon(QStyle::SP_DriveHDIcon));
    connect(root, &QToolButton::clicked, this, &TForm1::NavRootClick);

    addToolBarBreak();
    m_tbDrives = band(QStringLiteral("TBDrives"), tr("Drives"));
    for (int i = 1; i <= 26; ++i) {
        auto* b = button(m_tbDrives, QStringLiteral("TBDrive%1").arg(i, 2, 10, QLatin1Char('0')),
                         QString(QChar(char16_t(u'a' + i - 1))) + QLatin1Char(':'), {});
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        connect(b, &QToolButton::clicked, this, [this, i] { SBDriveClick(i - 1); });
        m_driveActions << m_tbDrives->actions().last();
        m_driveActions.last()->setVisible(false);
    }
}

QToolButton* TForm1::addCommandButton(const QString& objectName, const QString& caption, const QString& hint)
{
    auto* b = new QToolButton(m_panCenter);
    b->setObjectName(objectName);
    b->setText(caption);
    b->setAccessibleName(withoutMnemonic(caption));
    b->setToolTip(hint);
    b->setStatusTip(hint);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    m_panCenter->layout()->addWidget(b);
    if (objectName.startsWith(QLatin1String("BTN")))
        m_commandButtons << b;
    return b;
}

void TForm1::buildCommandColumn()
{
    auto* column = new QVBoxLayout(m_panCenter);
    column->setContentsMargins(2, 4, 2, 4);
    column->setSpacing(1);
    m_direction = addCommandButton(QStringLiteral("direction"), QStringLiteral(">>>>"), {});
    m_direction->setAccessibleName(QStringLiteral("direction"));
    connect(m_direction, &QToolButton::clicked, this, &TForm1::directionClick);
    struct Command {
        const char* name;
        const char* caption;
        const char* hint;
    };
    static const Command commands[] = {
        {"BTNCopy", QT_TR_NOOP("&Copy"), QT_TR_NOOP("Copy selected files and directories")},
        {"BTNMove", QT_TR_NOOP("&Move"), QT_TR_NOOP("Move selected files and directories")},
        {"BTNDelete", QT_TR_NOOP("&Delete"), QT_TR_NOOP("Delete selected files and directories")},
        {"BTNRename", QT_TR_NOOP("Re&name"), QT_TR_NOOP("Rename the selected file or directory")},
        {"BTNOpen", QT_TR_NOOP("&Open"), QT_TR_NOOP("Open the last selected file or directory")},
        {"BTNViewAsText", QT_TR_NOOP("View as &text"), QT_TR_NOOP("View as text the last selected file or directory")},
        {"BTNDescribe", QT_TR_NOOP("De&scribe"), QT_TR_NOOP("Describe file or directory")},
        {"BTNAttributes", QT_TR_NOOP("A&ttributes"), QT_TR_NOOP("View/change file or directory attributes")},
        {"BTNToZip", QT_TR_NOOP("To zip"), QT_TR_NOOP("View/change file or directory attributes")},
        {"BTNProperties", QT_TR_NOOP("Properties"), QT_TR_NOOP("View/change file or directory attributes")},
        {"BTNRefresh", QT_TR_NOOP("&Refresh"), QT_TR_NOOP("Refresh directory listing")},
        {"BTNNewDir", QT_TR_NOOP("Ne&w dir/zip"), QT_TR_NOOP("Create new directory")},
        {"BTNGoToOther", QT_TR_NOOP("&Go to other"),
         QT_TR_NOOP("Go to the same directory that is shown in the other pane")},
        {"BTNViewInfos", QT_TR_NOOP("View &infos"),
         QT_TR_NOOP("View informations about the last selected file or directory")},
    };
    QHash<QString, QToolButton*> byName;
    for (const Command& c : commands)
        byName.insert(QLatin1String(c.name), addCommandButton(QLatin1String(c.name), tr(c.caption), tr(c.hint)));
    byName.value(QStringLiteral("BTNViewInfos"))->hide();
    const std::pair<const char*, void (TForm1::*)()> handlers[] = {
        {"BTNCopy", &TForm1::BTNCopyClick},           {"BTNMove", &TForm1::BTNMoveClick},
        {"BTNDelete", &TForm1::BTNDeleteClick},       {"BTNRename", &TForm1::BTNRenameClick},
        {"BTNDescribe", &TForm1::SBDescribeClick},    {"BTNAttributes", &TForm1::BTNAttributesClick},
        {"BTNProperties", &TForm1::Properties1Click}, {"BTNNewDir", &TForm1::BTNNewDirClick},
        {"BTNRefresh", &TForm1::BTNRefreshClick},     {"BTNGoToOther", &TForm1::Synchronize1Click},
        {"BTNOpen", &TForm1::Open1Click},             {"BTNViewAsText", &TForm1::Viewastext1Click},
        {"BTNViewInfos", &TForm1::Viewinfos1Click},   {"BTNToZip", &TForm1::BTNToZipClick},
    };
    for (const auto& [name, handler] : handlers)
        connect(byName.value(QLatin1String(name)), &QToolButton::clicked, this, handler);
    column->addStretch(1);
}

void TForm1::sizeCommandColumn()
{
    // Every button of the column as wide as the widest caption needs.
    int widest = 0;
    for (QToolButton* b : m_commandButtons)
        widest = std::max(widest, b->sizeHint().width());
    widest += 4;
    for (QToolButton* b : m_commandButtons)
        b->setFixedWidth(widest);
    m_direction->setFixedWidth(widest);
    const int offset = m_panCenter->layout()->contentsMargins().left();
    m_panCenter->setFixedWidth(2 * offset + widest + 4);
}

bool TForm1::viewerMirrored() const
{
    return m_viewer && m_viewer->IsShown() && m_viewerSource == &m_right;
}

void TForm1::applyPaneSplit()
{
    if (!m_panCenter)
        return;
    // The viewer takes the pane that fills the window: for a file of the right pane
    // the row is mirrored, the right pane keeps a fixed width at the window's right
    // edge and the left one, holding the viewer, fills the rest.
    const bool mirrored = viewerMirrored();
    auto* row = static_cast<QBoxLayout*>(centralWidget()->layout());
    if ((row->indexOf(m_leftSplit) < row->indexOf(m_panCenter)) == mirrored) {
        row->removeWidget(m_leftSplit);
        row->insertWidget(mirrored ? 2 : 1, m_leftSplit);
    }
    row->setStretchFactor(m_panLeft, mirrored ? 1 : 0);
    row->setStretchFactor(m_panRight, mirrored ? 0 : 1);
    const int centre = m_panCenter->isHidden() ? 0 : m_panCenter->width();
    const int paneWidth = m_leftPaneWidth >= 0 ? m_leftPaneWidth : (width() - centre - m_leftSplit->width()) / 2;
    QWidget* fixed = mirrored ? static_cast<QWidget*>(m_panRight) : m_panLeft;
    QWidget* filling = mirrored ? static_cast<QWidget*>(m_panLeft) : m_panRight;
    filling->setMinimumWidth(0);
    filling->setMaximumWidth(QWIDGETSIZE_MAX);
    fixed->setFixedWidth(std::max(0, paneWidth));
}

QAction* TForm1::addMenuAction(QMenu* menu, const QString& objectName, const QString& caption, const QString& hint)
{
    QAction* a = menu->addAction(caption);
    a->setObjectName(objectName);
    if (!hint.isEmpty())
        a->setStatusTip(hint);
    return a;
}

void TForm1::buildMenus()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    auto topMenu = [bar](const QString& name, const QString& caption) {
        QMenu* m = bar->addMenu(caption);
        m->setObjectName(name);
        m->menuAction()->setObjectName(name);
        return m;
    };
    QMenu* file = topMenu(QStringLiteral("File1"), tr("&File"));
    connect(addMenuAction(file, QStringLiteral("MinimizeDorvane1"), tr("Minimize Dorvane")),
            &QAction::triggered, this, &TForm1::MinimizeApplication);
    connect(addMenuAction(file, QStringLiteral("Exit1"), tr("Shutdown Dorvane")), &QAction::triggered,
            this, &TForm1::Terminate);

    QMenu* edit = topMenu(QStringLiteral("Edit1"), tr("&Edit"));
    connect(addMenuAction(edit, QStringLiteral("Copypathtoclipboard1"), tr("Copy path to clipboard")),
            &QAction::triggered, this, &TForm1::Copypathtoclipboard1Click);
    QMenu* selectAll = edit->addMenu(tr("Select &all"));
    selectAll->setObjectName(QStringLiteral("Selectall1"));
    connect(addMenuAction(selectAll, QStringLiteral("Filesanddirectories1"), tr("Files a&nd directories")),
            &QAction::triggered, this, [this] { SelectGroup(ActivePane(), 2); });
    connect(addMenuAction(selectAll, QStringLiteral("Files1"), tr("&Files")), &QAction::triggered, this,
            [this] { SelectGroup(ActivePane(), 1); });
    connect(addMenuAction(selectAll, QStringLiteral("Directories1"), tr("&Directories")),
            &QAction::triggered, this, [this] { SelectGroup(ActivePane(), 0); });

    QMenu* dir = topMenu(QStringLiteral("Directory"), tr("Director&y"));
    connect(addMenuAction(dir, QStringLiteral("Refresh2"), tr("Refresh")), &QAction::triggered, this,
            &TForm1::BTNRefreshClick);
    connect(addMenuAction(dir, QStringLiteral("Synchronize1"), tr("Synchronize")), &QAction::triggered,
            this, &TForm1::Synchronize1Click);

    QMenu* bookmarks = topMenu(QStringLiteral("Bookmarks"), tr("&Bookmarks"));
    connect(addMenuAction(bookmarks, QStringLiteral("Addbookmark"), tr("Add bookmark")),
            &QAction::triggered, this, &TForm1::AddbookmarkClick);
    connect(addMenuAction(bookmarks, QStringLiteral("Editbookmarks1"), tr("Edit bookmarks")),
            &QAction::triggered, this, &TForm1::Editbookmarks1Click);
    bookmarks->addSeparator();
    m_bookmarks = std::make_unique<BookmarksMenu>(bookmarks, [this](const QString& folder) { BookmarkClick(folder); });

    QMenu* viewer = topMenu(QStringLiteral("MenuViewer"), tr("&Viewer"));
    m_viewerMenu = viewer;
    addMenuAction(viewer, QStringLiteral("Copytoclipboard1"), tr("Copy to clipboard"));
    addMenuAction(viewer, QStringLiteral("Print1"), tr("Print"));
    addMenuAction(viewer, QStringLiteral("Search1"), tr("Search"));
    viewer->menuAction()->setVisible(false);

    QMenu* utility = topMenu(QStringLiteral("Utility"), tr("&Utility"));
    connect(addMenuAction(utility, QStringLiteral("Refreshdrivelist1"), tr("Refresh drive list")),
            &QAction::triggered, this, &TForm1::Refreshdrivelist1Click);
    addMenuAction(utility, QStringLiteral("Uninstall1"), tr("Uninstall"),
                  tr("Remove some software currently installed on this machine"));
    connect(addMenuAction(utility, QStringLiteral("Connect1"), tr("Connect drive"),
                          tr("Connect network drive")),
            &QAction::triggered, this, &TForm1::Connect1Click);
    connect(addMenuAction(utility, QStringLiteral("Disconnectnetworkdrive1"), tr("Disconnect drive"),
                          tr("Disconnect network drive")),
            &QAction::triggered, this, &TForm1::Disconnectnetworkdrive1Click);
    addMenuAction(utility, QStringLiteral("Editmp3ID3tags1"), tr("Edit mp3 ID3 tags"));
    m_convertZipToExe = addMenuAction(utility, QStringLiteral("ConvertZIPdiEXE1"), tr("Convert ZIP to EXE"));
    connect(m_convertZipToExe, &QAction::triggered, this, &TForm1::ConvertZIPdiEXE1Click);
    m_extractAllZips = addMenuAction(utility, QStringLiteral("ExtractallZIPs1"), tr("Extract all ZIPs"));
    connect(m_extractAllZips, &QAction::triggered, this, &TForm1::ExtractallZIPs1Click);
    connect(utility, &QMenu::aboutToShow, this, &TForm1::ZipMenuOpening);
    m_checkSfv = addMenuAction(utility, QStringLiteral("CheckSFVvalues1"), tr("Check SFV values"));
    connect(m_checkSfv, &QAction::triggered, this, &TForm1::CheckSFVvalues1Click);

    QAction* configure = bar->addAction(tr("Config&ure"));
    configure->setObjectName(QStringLiteral("Configure1"));

    QMenu* help = topMenu(QStringLiteral("Help1"), tr("&Help"));
    connect(addMenuAction(help, QStringLiteral("Contents1"), tr("&Contents")), &QAction::triggered, this,
            &TForm1::Contents1Click);
    connect(addMenuAction(help, QStringLiteral("About1"), tr("&About")), &QAction::triggered, this,
            &TForm1::About1Click);

    for (QMenu* m : {file, edit, dir, bookmarks, utility, help})
        connect(m, &QMenu::aboutToShow, this, &TForm1::MainMenuOpening);
}

void TForm1::buildDirPopup()
{
    m_dirPopup = new QMenu(this);
    m_dirPopup->setObjectName(QStringLiteral("DirPopup"));
    m_popup.QuickDir = m_dirPopup->addMenu(tr("Quick dir"));
    m_popup.QuickDir->setObjectName(QStringLiteral("Quickdir1"));
    m_quickDirPopup = new QMenu(this);
    m_quickDirPopup->setObjectName(QStringLiteral("QuickDirPopup"));
    m_popup.Last = addMenuAction(m_dirPopup, QStringLiteral("LastPopup"), QString());
    m_popup.Last->setVisible(false);
    m_popup.Open = addMenuAction(m_dirPopup, QStringLiteral("Open1"), tr("Open"));
    m_popup.View = addMenuAction(m_dirPopup, QStringLiteral("View1"), tr("View"));
    m_popup.ViewAsText = addMenuAction(m_dirPopup, QStringLiteral("Viewastext1"), tr("View as text"));
    m_popup.ViewInfos = addMenuAction(m_dirPopup, QStringLiteral("Viewinfos1"), tr("View infos"));
    m_dirPopup->addSeparator();
    m_popup.Copy = addMenuAction(m_dirPopup, QStringLiteral("Copy1"), tr("Copy"));
    m_popup.Move = addMenuAction(m_dirPopup, QStringLiteral("Move1"), tr("Move"));
    m_popup.Delete = addMenuAction(m_dirPopup, QStringLiteral("Delete1"), tr("Delete"));
    m_popup.Rename = addMenuAction(m_dirPopup, QStringLiteral("Rename1"), tr("Rename"));
    m_dirPopup->addSeparator();
    m_popup.NewDir = addMenuAction(m_dirPopup, QStringLiteral("Newdir1"), tr("New dir/zip"));
    m_popup.Refresh = addMenuAction(m_dirPopup, QStringLiteral("Refresh1"), tr("Refresh"));
    m_popup.Properties = addMenuAction(m_dirPopup, QStringLiteral("Properties1"), tr("Properties"));
    connect(m_popup.Open, &QAction::triggered, this, &TForm1::Open1Click);
    connect(m_popup.View, &QAction::triggered, this, &TForm1::View1Click);
    connect(m_popup.ViewAsText, &QAction::triggered, this, &TForm1::Viewastext1Click);
    connect(m_popup.ViewInfos, &QAction::triggered, this, &TForm1::Viewinfos1Click);
    connect(m_popup.Copy, &QAction::triggered, this, &TForm1::BTNCopyClick);
    connect(m_popup.Move, &QAction::triggered, this, &TForm1::BTNMoveClick);
    connect(m_popup.Delete, &QAction::triggered, this, &TForm1::BTNDeleteClick);
    connect(m_popup.Rename, &QAction::triggered, this, &TForm1::BTNRenameClick);
    connect(m_popup.NewDir, &QAction::triggered, this, &TForm1::BTNNewDirClick);
    connect(m_popup.Refresh, &QAction::triggered, this, &TForm1::BTNRefreshClick);
    connect(m_popup.Properties, &QAction::triggered, this, &TForm1::Properties1Click);
}

void TForm1::buildHeaderPopup()
{
    m_headerPopup = new QMenu(this);
    m_headerPopup->setObjectName(QStringLiteral("HeaderPopup"));
    m_autoSizeColumns = addMenuAction(m_headerPopup, QStringLiteral("Autosizecolumns1"), tr("Auto-size columns"));
}

void TForm1::buildTray()
{
    m_trayMenu = new QMenu(this);
    m_trayMenu->setObjectName(QStringLiteral("TrayMenu"));
    connect(addMenuAction(m_trayMenu, QStringLiteral("Restore"), tr("Restore")), &QAction::triggered,
            this, &TForm1::RestoreApplication);
    connect(addMenuAction(m_trayMenu, QStringLiteral("Shutdown1"), tr("Shut down")), &QAction::triggered,
            this, &TForm1::Terminate);
    m_tray = new QSystemTrayIcon(AppIcon::Make(), this);
    m_tray->setObjectName(QStringLiteral("TrayIcon"));
    m_tray->setContextMenu(m_trayMenu);
    connect(m_tray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger)
            RestoreApplication();
    });
    m_tray->show();
}

void TForm1::wirePane(TDirData& pane, PanePanel* panel, TDirData& other, PanePanel* otherPanel)
{
    pane.FileList = panel->Files;
    pane.ViewerPanel = otherPanel->ViewerPanel;
    pane.OtherFilterPanel = otherPanel->FilterPanel;
    pane.TopPanel = panel->TopPanel;
    pane.OtherTopPanel = otherPanel->TopPanel;
    pane.FilterCombo = panel->Filter;
    pane.SortCombo = panel->Sort;
    pane.SetSortMode(std::max(0, panel->Sort->currentIndex()));
    connect(panel->Sort, qOverload<int>(&QComboBox::currentIndexChanged), this,
            [&pane](int index) { pane.SetSortMode(std::max(0, index)); });
    pane.PathLabel = panel->PathLabel;
    pane.Header = panel->Header;
    pane.OtherHeader = otherPanel->Header;
    pane.Gauge = panel->Gauge;
    pane.Ascending = 1;
    pane.ArchiveDepth = 0;
    pane.ArchivePath.clear();

    auto* model = new PaneListModel(pane, m_session.Options(), panel->Files);
    pane.Model = model;
    panel->Files->setModel(model);
    panel->Files->setItemDelegate(new PaneItemDelegate(pane, m_drawContext, panel->Files));
    connect(panel->Files->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this, &pane] { followSelection(pane); });
    panel->Header->SetSortState([&pane] { return pane.SortMode(); }, [&pane] { return pane.Ascending != 0; });

    connect(panel->Header, &QHeaderView::sectionClicked, this,
            [this, &pane](int section) { LHeaderSectionClick(pane, section); });
    connect(panel->Header, &QHeaderView::sectionResized, panel->Files->viewport(), qOverload<>(&QWidget::update));
    connect(panel->Files->verticalScrollBar(), &QScrollBar::valueChanged, this,
            [this, &pane] { PrioritizeVisibleIcons(pane); });
    panel->Header->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(panel->Header, &QWidget::customContextMenuRequested, this, [this, &pane, panel](const QPoint& pos) {
        QAction* chosen = m_headerPopup->exec(panel->Header->mapToGlobal(pos));
        if (chosen == m_autoSizeColumns)
            AutoSizeColumns(pane);
    });
    connect(panel->Sort, qOverload<int>(&QComboBox::activated), this, [this, &pane] { SortChange(pane); });
    connect(panel->Filter, qOverload<int>(&QComboBox::activated), this, [this, &pane] { FilterApply(pane); });
    connect(panel->Files, &QListView::doubleClicked, this, [this, &pane] { FilesDblClick(pane); });
    connect(panel->GoParent, &QToolButton::clicked, this, [this, &pane] { GoParentButton(pane); });
    connect(panel->Open, &QToolButton::clicked, this, [this, &pane] { OpenClick(pane); });
    auto* monitor = new TFolderMonitor(this);
    monitor->setObjectName(pane.PaneId == 1 ? QStringLiteral("LeftMonitor") : QStringLiteral("RightMonitor"));
    pane.Monitor = monitor;
    connect(monitor, &TFolderMonitor::Changed, this, [this, &pane] { MonitorChange(pane); });
    connect(monitor, &TFolderMonitor::WatchLimitReached, this, [this](const QString& folder) {
        if (m_watchLimitShown)
            return;
        m_watchLimitShown = true;
        statusBar()->showMessage(
            tr("%1 holds more folders than the system lets one program watch: changes deep inside it "
               "may not show until you refresh.")
                .arg(folder));
    });
    connect(panel->QuickGo, &QToolButton::clicked, this,
            [this, &pane] { PostMessage(WM_QUICKGO, uint32_t(pane.PaneId)); });
    connect(panel->Files, &QWidget::customContextMenuRequested, this,
            [this, &pane](const QPoint& pos) { DirPopupOpening(pane, pos); });
    // Clicks and keys reach the window through its application-wide event filter.
    Q_UNUSED(other);
}
