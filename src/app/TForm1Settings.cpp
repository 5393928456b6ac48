// The window's side of the settings: what it shows of its own (bookmarks, tool-bar
// bands, header widths, placement) handed to the settings session and taken back.
#include "app/TForm1.h"

#include "app/PanePanel.h"
#include "app/PaneHeader.h"
#include "components/TFolderMonitor.h"

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

SettingsSession::WindowState TForm1::windowSettings() const
{
    SettingsSession::WindowState state;
    state.Bookmarks = m_bookmarks->Folders();
    for (QToolBar* tb : CoolBarBands())
        state.Bands.push_back({tb->objectName(), toolBarBreak(tb), tb->width()});
    state.LeftHeader = headerWidths(m_panLeft->Header);
    state.RightHeader = headerWidths(m_panRight->Header);
    return state;
}

void TForm1::loadSupportedAndHeaders()
{
    SettingsSession::WindowState state = windowSettings();
    m_session.LoadFirst(state);
    applyHeaderWidths(m_panLeft->Header, state.LeftHeader);
    applyHeaderWidths(m_panRight->Header, state.RightHeader);
}

void TForm1::loadGeneralSettings()
{
    SettingsSession::WindowState state = windowSettings();
    // Without stored options the monitors keep their initial delay.
    if (m_session.LoadGeneral(state))
        for (TDirData* pane : {&m_left, &m_right})
            pane->Monitor->SetDelay(m_session.Options().MonFoldDelay * 100);
    m_bookmarks->Replace(state.Bookmarks);
    ApplyCoolBar(state.Bands);
}

void TForm1::loadHotKeys()
{
    m_session.LoadHotKeys();
    RegisterSystemHotKey();
}

void TForm1::SaveSettings()
{
    m_session.Save(windowSettings());
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
    const QList<QToolBar*> toolBars{m_tbGeneral, m_tbNavigation, m_tbDrives};
    for (QToolBar* tb : toolBars)
        removeToolBar(tb);
    bool first = true;
    for (const CoolBand& band : bands) {
        const auto named = std::find_if(toolBars.begin(), toolBars.end(),
                                        [&band](const QToolBar* tb) { return tb->objectName() == band.Name; });
        if (named == toolBars.end())
            continue;
        if (band.Break && !first)
            addToolBarBreak();
        first = false;
        addToolBar(*named);
        (*named)->show();
    }
    for (QToolBar* tb : toolBars) {
        if (toolBarArea(tb) == Qt::NoToolBarArea) {
            addToolBar(tb);
            tb->show();
        }
    }
}

void TForm1::LoadPlacement()
{
    const std::optional<WindowPlacement> placement = m_session.LoadPlacement();
    if (!placement)
        return;
    if (placement->HasBounds())
        setGeometry(placement->Left, placement->Top, placement->Width, placement->Height);
    m_restoreToMax = placement->RestoreToMax;
    if (placement->State == 3)
        setWindowState(Qt::WindowMaximized);
    m_startMinimized = placement->State == 2;
}

void TForm1::SavePlacement()
{
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
    m_session.SavePlacement(p);
}
