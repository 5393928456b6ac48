// The general options of the program (key cfg of the settings store), read once at
// start and written once at shutdown. Passed to whoever needs an option.
#pragma once

#include <QString>

// Root of every key the program keeps in the settings store.
inline const QString kSettingsRoot = QStringLiteral("Software\\Molvek\\zpt");

struct AppSettings {
    int QuitType = 0;            // 0 ask, 1 ignore, 2 quit, 3 minimize
    bool ShowBigSize = false;
    bool ShowAttrs = true;
    bool ShowListHints = true;
    bool ShowDrives = true;
    bool ShowZipComment = false;
    bool ShowSupported = true;
    bool FastZipMove = false;
    bool UseAsyncShell = false;
    bool MonFoldChanges = false;
    bool MonRootSubDirs = false;
    int MonFoldDelay = 15;       // tenths of a second
    bool HideDescription = true;
    bool HideHidden = false;
    bool HideExtra = false;

    // Reads the values that exist; missing ones keep their defaults. A value of the
    // wrong type raises the store's error. Returns false when the key does not exist.
    bool Load();
    void Save() const;
};
