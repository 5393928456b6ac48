// The rules and steps of the window's zip commands that need no window: when "Convert
// ZIP to EXE" and "Extract all ZIPs" may be chosen, which rows extract-all takes, and
// the conversion of one zip with the options of the SFX dialog.
#pragma once

#include "SfxSet.h"

#include <QString>
#include <QStringList>
#include <vector>

class TZipMaster;

class ZipCommands {
public:
    // One selected row of the active pane.
    struct SelectedRow {
        QString Name;
        bool IsFile = false;
        bool IsCurrent = false;
    };

    static bool IsZipName(const QString& name);
    // Exactly one row selected, the current one, a file named *.zip; not inside a zip.
    static bool CanConvertToExe(bool paneInZip, const std::vector<SelectedRow>& selected);
    // At least one row selected and every one named *.zip; not inside a zip.
    static bool CanExtractAll(bool paneInZip, const std::vector<SelectedRow>& selected);
    // The selected names that extract-all takes, in pane order.
    static QStringList ZipNames(const std::vector<SelectedRow>& selected);

    // Makes `zipPath` into a self-extractor beside it (name.exe) with the stub searched
    // for as the component does; the component reports failures. Its return value.
    static int ConvertToExe(TZipMaster& zip, const QString& zipPath, const SfxSet& options);
};
