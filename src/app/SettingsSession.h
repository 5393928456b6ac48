// The program's stored settings for one run: read step by step at their places in
// start-up, written once at shutdown in a fixed order. A damaged value stops only its
// own step: the user is told, and the rest goes on with what was read, instead of the
// program failing to start or to save the others.
#pragma once

#include "app/AppSettings.h"
#include "app/HotKeyTable.h"
#include "app/SettingsStore.h"
#include "viewers/ViewerExtensions.h"

#include <QStringList>
#include <array>
#include <optional>
#include <vector>

class SettingsSession {
public:
    // What the window holds of its own and stores with the settings.
    struct WindowState {
        QStringList Bookmarks;
        std::vector<CoolBand> Bands;
        std::array<int, 4> LeftHeader{};
        std::array<int, 4> RightHeader{};
    };

    AppSettings& Options() { return m_options; }
    ViewerExtensions& Viewers() { return m_viewers; }
    TextViewSettings& TextView() { return m_textView; }
    HotKeyTable& HotKeys() { return m_hotKeys; }

    // The first read of start-up: the viewer table, and the header widths over the
    // window's present ones. A settings file that is there but cannot be read leaves
    // every default in force and is kept as it is, never saved over: the user has to
    // hear it now, not find the bookmarks gone later.
    void LoadFirst(WindowState& state);
    // Bookmarks, options, tool-bar bands (over the present ones) and the text viewer's
    // appearance. True when stored options were found.
    bool LoadGeneral(WindowState& state);
    void LoadHotKeys();
    void Save(const WindowState& state);

    std::optional<WindowPlacement> LoadPlacement();
    void SavePlacement(const WindowPlacement& placement);
    // Whether any section width of that pane's header is stored; a damaged value,
    // reported at start, counts as stored so the header is left as it is.
    static bool HeaderWidthsStored(int paneId);
    // Whether a window position and size is stored; a damaged one counts as stored.
    static bool PlacementStored();

private:
    template <typename Step>
    void step(Step run);

    AppSettings m_options;
    ViewerExtensions m_viewers;
    TextViewSettings m_textView;
    HotKeyTable m_hotKeys;
};
