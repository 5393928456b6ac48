// The main window's settings: read at their places in start-up, written once at
// shutdown in a fixed order, and the window placement.
#include "app/TForm1.h"

#include "app/PanePanel.h"
#include "app/PaneHeader.h"
#include "components/TFolderMonitor.h"
#include "platform/TMessages.h"
#include "platform/TRegistry.h"

#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

namespace {

std::array<int, 4> headerWidths(const QHeaderView* header)
{
    std::array<int, 4> widths{};
    for (int i = 0; i < 4; ++i)
        widths[size_t(i)] = header->sectionSize(i);
    return widths;
}

void applyHeaderWidths(QHeaderView* header, const std::array<int, 4>& widths)
{
    for (int i = 0; i < 4; ++i)
        header->resizeSection(i, widths[size_t(i)]);
}

} // namespace

// A damaged value stops only its own step: the user is told, the rest goes on with
// what was read, instead of the program failing to start or to save the others.
template <typename Step>
void TForm1::settingsStep(Step step)
{
    try {
        step();
    } catch (const ERegistryException& e) {
        TMessages::Show(MsgKind::Error, e.text());
    }
}

void TForm1::loadSupportedAndHeaders()
{
    // The first settings read of start-up. A settings file that is there but cannot be
    // read leaves every default in force and is then kept as it is, never saved over:
    // the user has to hear it now, not find the bookmarks gone later.
    const QString unreadable = TRegistry::LoadError(RegistryHive::CurrentUser);
    if (!unreadable.isEmpty())
        TMessages::Show(MsgKind::Error, unreadable);
    settingsStep([this] { SettingsStore::LoadSupported(m_viewerExtensions); });
    settingsStep([this] {
        for (PanePanel* panel : {m_panLeft, m_panRight}) {
            std::array<int, 4> widths = headerWidths(panel->Header);
            SettingsStore::LoadHeaderWidths(panel == m_panLeft ? QStringLiteral("LeftHeader")
                                                               : QStringLiteral("RightHeader"),
                                            widths);
            applyHeaderWidths(panel->Header, widths);
        }
    });
}

void TForm1::loadGeneralSettings()
{
    settingsStep([this] {
        for (const QString& folder : SettingsStore::LoadBookmarks())
            AddBookmarkItem(folder);
    });
    settingsStep([this] {
        // Without stored options the monitors keep their initial delay.
        if (m_settings.Load())
            for (TDirData* pane : {&m_left, &m_right})
                pane->Monitor->SetDelay(m_settings.MonFoldDelay * 100);
    });
    settingsStep([this] {
        std::vector<CoolBand> bands;
        for (QToolBar* tb : CoolBarBands())
            bands.push_back({tb->objectName(), toolBarBreak(tb), tb->width()});
        ApplyCoolBar(SettingsStore::LoadCoolBar(bands));
    });
    settingsStep([this] { SettingsStore::LoadTextView(m_textView); });
}

void TForm1::loadHotKeys()
{
    settingsStep([this] { SettingsStore::LoadHotKeys(m_hotKeys); });
    RegisterSystemHotKey();
}

void TForm1::SaveSettings()
{
    settingsStep([this] { SettingsStore::SaveSupported(m_viewerExtensions); });
    settingsStep([this] { m_settings.Save(); });
    settingsStep([this] { SettingsStore::SaveBookmarks(BookmarkFolders()); });
    settingsStep([this] { SettingsStore::SaveHotKeys(m_hotKeys); });
    settingsStep([this] {
        std::vector<CoolBand> bands;
        for (QToolBar* tb : CoolBarBands())
            bands.push_back({tb->objectName(), toolBarBreak(tb), tb->width()});
        SettingsStore::SaveCoolBar(bands);
    });
    // The text viewer's appearance is written by the text viewer once it exists.
    settingsStep([this] { SettingsStore::SaveHeaderWidths(QStringLiteral("LeftHeader"), headerWidths(m_left.Header)); });
    settingsStep(
        [this] { SettingsStore::SaveHeaderWidths(QStringLiteral("RightHeader"), headerWidths(m_right.Header)); });
}

QList<QToolBar*> TForm1::CoolBarBands() const
{
    // Bands in the order they stand: row by row, left to right.
    QList<QToolBar*> bands{m_tbGeneral, m_tbNavigation, m_tbDrives};
    std::sort(bands.begin(), bands.end(), [](const QToolBar* a, const QToolBar* b) {
        return a->y() != b->y() ? a->y() < b->y() : a->x() < b->x();
    });
    return bands;
}

void TForm1::ApplyCoolBar(const std::vector<CoolBand>& bands)
{
    for (QToolBar* tb : {m_tbGeneral, m_tbNavigation, m_tbDrives})
        removeToolBar(tb);
    bool first = true;
    for (const CoolBand& band : bands) {
        QToolBar* tb = findChild<QToolBar*>(band.Name);
        if (!tb)
            continue;
        if (band.Break && !first)
            addToolBarBreak();
        first = false;
        addToolBar(tb);
        tb->show();
    }
    for (QToolBar* tb : {m_tbGeneral, m_tbNavigation, m_tbDrives}) {
        if (toolBarArea(tb) == Qt::NoToolBarArea) {
            addToolBar(tb);
            tb->show();
        }
    }
}

void TForm1::LoadPlacement()
{
    settingsStep([this] {
        const auto placement = SettingsStore::LoadPlacement();
        if (!placement)
            return;
        if (placement->HasBounds())
            setGeometry(placement->Left, placement->Top, placement->Width, placement->Height);
        m_restoreToMax = placement->RestoreToMax;
        if (placement->State == 3)
            setWindowState(Qt::WindowMaximized);
        m_startMinimized = placement->State == 2;
    });
}

void TForm1::SavePlacement()
{
    settingsStep([this] {
        WindowPlacement p;
        const QRect normal = normalGeometry().isValid() ? normalGeometry() : geometry();
        p.Left = normal.left();
        p.Top = normal.top();
        p.Width = normal.width();
        p.Height = normal.height();
        const bool minimized = IsMinimizedToTray();
        p.State = minimized ? 2 : 1;
        if (isMaximized() || (minimized && m_restoreToMax)) {
            if (minimized)
                p.RestoreToMax = true;
            else
                p.State = 3;
        }
        SettingsStore::SavePlacement(p);
    });
}
