#include "app/SettingsSession.h"

#include "platform/TMessages.h"
#include "platform/TRegistry.h"

#include <algorithm>

namespace {

QString headerKey(int paneId)
{
    return paneId == 1 ? QStringLiteral("LeftHeader") : QStringLiteral("RightHeader");
}

} // namespace

template <typename Step>
void SettingsSession::step(Step run)
{
    try {
        run();
    } catch (const ERegistryException& e) {
        TMessages::Show(MsgKind::Error, e.text());
    }
}

void SettingsSession::LoadFirst(WindowState& state)
{
    const QString unreadable = TRegistry::LoadError(RegistryHive::CurrentUser);
    if (!unreadable.isEmpty())
        TMessages::Show(MsgKind::Error, unreadable);
    step([this] { SettingsStore::LoadSupported(m_viewers); });
    step([&state] {
        SettingsStore::LoadHeaderWidths(headerKey(1), state.LeftHeader);
        SettingsStore::LoadHeaderWidths(headerKey(2), state.RightHeader);
    });
}

bool SettingsSession::LoadGeneral(WindowState& state)
{
    bool optionsFound = false;
    step([&state] { state.Bookmarks = SettingsStore::LoadBookmarks(); });
    step([&] { optionsFound = m_options.Load(); });
    step([&state] { state.Bands = SettingsStore::LoadCoolBar(state.Bands); });
    step([this] { SettingsStore::LoadTextView(m_textView); });
    return optionsFound;
}

void SettingsSession::LoadHotKeys()
{
    step([this] { SettingsStore::LoadHotKeys(m_hotKeys); });
}

void SettingsSession::Save(const WindowState& state)
{
    step([this] { SettingsStore::SaveSupported(m_viewers); });
    step([this] { m_options.Save(); });
    step([&state] { SettingsStore::SaveBookmarks(state.Bookmarks); });
    step([this] { SettingsStore::SaveHotKeys(m_hotKeys); });
    step([&state] { SettingsStore::SaveCoolBar(state.Bands); });
    step([this] { SettingsStore::SaveTextView(m_textView); });
    step([&state] { SettingsStore::SaveHeaderWidths(headerKey(1), state.LeftHeader); });
    step([&state] { SettingsStore::SaveHeaderWidths(headerKey(2), state.RightHeader); });
}

std::optional<WindowPlacement> SettingsSession::LoadPlacement()
{
    std::optional<WindowPlacement> placement;
    step([&placement] { placement = SettingsStore::LoadPlacement(); });
    return placement;
}

void SettingsSession::SavePlacement(const WindowPlacement& placement)
{
    step([&placement] { SettingsStore::SavePlacement(placement); });
}

bool SettingsSession::HeaderWidthsStored(int paneId)
{
    std::array<int, 4> widths;
    widths.fill(-1);
    try {
        SettingsStore::LoadHeaderWidths(headerKey(paneId), widths);
    } catch (const ERegistryException&) {
        return true;
    }
    return std::any_of(widths.begin(), widths.end(), [](int w) { return w >= 0; });
}

bool SettingsSession::PlacementStored()
{
    try {
        const std::optional<WindowPlacement> placement = SettingsStore::LoadPlacement();
        return placement && placement->HasBounds();
    } catch (const ERegistryException&) {
        return true;
    }
}
