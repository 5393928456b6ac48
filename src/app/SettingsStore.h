// Reading and writing the program's settings under Software\Molvek\zpt: the viewer
// extensions, bookmarks, hot keys, tool-bar bands, column widths, text viewer
// appearance and the main window's placement. Reading never creates a key; a value of
// the wrong type raises the store's error.
#pragma once

#include "app/HotKeyTable.h"

#include <QRect>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

class ViewerExtensions;

struct TextViewSettings {
    QString FontName = QStringLiteral("Fixedsys");
    int FontSize = 12;
    int FontFore = 0xFFFFFF;     // colours as 0x00BBGGRR
    int FontBack = 0x000000;
    int LinkFore = 0xFFFF00;     // aqua
    int TabSize = 8;
    bool PrintPage = false;
};

// One tool-bar band, in the order the bands stand.
struct CoolBand {
    QString Name;                // TBGeneral, TBNavigation, TBDrives
    bool Break = false;          // starts a new row
    int Width = 0;
};

struct WindowPlacement {
    int Left = 0, Top = 0, Width = 0, Height = 0;   // the normal (restored) bounds
    int State = 1;               // 1 normal, 2 minimized, 3 maximized
    bool RestoreToMax = false;
    // The stored bounds are applied only when all four are non-zero.
    bool HasBounds() const { return Left != 0 && Top != 0 && Width != 0 && Height != 0; }
};

class SettingsStore {
public:
    static void LoadSupported(ViewerExtensions& table);
    static void SaveSupported(const ViewerExtensions& table);

    // Bookmark folders in the store's order (slashes are kept as they are: on Linux
    // a path already uses them, and the store separates keys with backslashes).
    static QStringList LoadBookmarks();
    static void SaveBookmarks(const QStringList& folders);
    // The sub-key name of a bookmark, unique among the (lower-cased) names taken.
    static QString BookmarkKeyName(const QString& folder, const QStringList& takenLower);
    static QString BookmarkFolder(const QString& keyName);

    // Only when the HotKeys key exists; missing sub-keys or values keep the entry.
    static void LoadHotKeys(HotKeyTable& table);
    static void SaveHotKeys(const HotKeyTable& table);
    static uint32_t DecodeModifiers(const QString& words);
    static QString EncodeModifiers(uint32_t bits);

    // Applies the stored break, width and position to the bands; returns the new order.
    static std::vector<CoolBand> LoadCoolBar(std::vector<CoolBand> bands);
    static void SaveCoolBar(const std::vector<CoolBand>& bands);

    // keyName: LeftHeader or RightHeader.
    static void LoadHeaderWidths(const QString& keyName, std::array<int, 4>& widths);
    static void SaveHeaderWidths(const QString& keyName, const std::array<int, 4>& widths);

    static void LoadTextView(TextViewSettings& settings);
    static void SaveTextView(const TextViewSettings& settings);

    static std::optional<WindowPlacement> LoadPlacement();
    static void SavePlacement(const WindowPlacement& placement);
};
