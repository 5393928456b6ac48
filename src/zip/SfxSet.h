// The options of a self-extractor as the "Sfx Zip properties" dialog shows them and a
// named set in DORVN.INI keeps them. The defaults are those of a set missing a key.
#pragma once

#include <QString>

struct SfxSet {
    QString Caption;
    QString CommandLine;
    QString DefDirectory;
    bool UseTempDir = false;
    bool CanDisableCmdLine = true;
    bool CanSelectFiles = false;
    bool UserOverwrite = false;
    int OverwriteMode = 0;     // 0 ask, 1 always, 2 never

    bool operator==(const SfxSet&) const = default;
};
