#include "ZipCommands.h"

#include "TZipMaster.h"

#include <algorithm>

bool ZipCommands::IsZipName(const QString& name)
{
    return name.endsWith(QLatin1String(".ZIP"), Qt::CaseInsensitive);
}

bool ZipCommands::CanConvertToExe(bool paneInZip, const std::vector<SelectedRow>& selected)
{
    if (paneInZip || selected.size() != 1)
        return false;
    const SelectedRow& row = selected.front();
    return row.IsCurrent && row.IsFile && IsZipName(row.Name);
}

bool ZipCommands::CanExtractAll(bool paneInZip, const std::vector<SelectedRow>& selected)
{
    return !paneInZip && !selected.empty()
           && std::all_of(selected.begin(), selected.end(), [](const SelectedRow& row) { return IsZipName(row.Name); });
}

QStringList ZipCommands::ZipNames(const std::vector<SelectedRow>& selected)
{
    QStringList names;
    for (const SelectedRow& row : selected)
        if (IsZipName(row.Name))
            names << row.Name;
    return names;
}

int ZipCommands::ConvertToExe(TZipMaster& zip, const QString& zipPath, const SfxSet& options)
{
    zip.SetZipFileName(zipPath);
    zip.SFXPath.clear();
    zip.SFXCaption = options.Caption;
    zip.SFXCommandLine = options.CommandLine;
    // "><" tells the stub to extract into a new temporary folder.
    zip.SFXDefaultDir = options.UseTempDir ? QStringLiteral("><") : options.DefDirectory;
    SFXOpts flags = SFXOpt::SFXCheckSize;
    if (options.CanDisableCmdLine)
        flags |= SFXOpt::SFXAskCmdLine;
    if (options.CanSelectFiles)
        flags |= SFXOpt::SFXAskFiles;
    if (!options.UserOverwrite)
        flags |= SFXOpt::SFXHideOverWriteBox;
    zip.SFXOptions = flags;
    zip.SFXOverWriteMode = options.OverwriteMode == 1   ? OvrOpts::OvrAlways
                           : options.OverwriteMode == 2 ? OvrOpts::OvrNever
                                                        : OvrOpts::OvrConfirm;
    return zip.ConvertToSfx();
}
