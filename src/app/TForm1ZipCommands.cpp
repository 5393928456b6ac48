// The zip commands of the window: "To zip", "Convert ZIP to EXE" and "Extract all
// ZIPs". Their rules, dialogs and work are in zip/; the window gives the panes.
#include "app/TForm1.h"

#include "app/PaneMoves.h"
#include "platform/IniFile.h"
#include "platform/TMessages.h"
#include "platform/TShellFileOperation.h"
#include "zip/TDlgExtractAllZips.h"
#include "zip/TDlgSfxZip.h"
#include "zip/TZipMaster.h"
#include "zip/ZipCommands.h"

#include <QAction>
#include <QFileInfo>
#include <QListView>

namespace {

std::vector<ZipCommands::SelectedRow> selectedRows(const TForm1& form, const TDirData& pane)
{
    std::vector<ZipCommands::SelectedRow> rows;
    const int current = pane.FileList ? pane.FileList->currentIndex().row() : -1;
    for (const int row : form.SelectedRows(pane)) {
        const TFileData& e = *pane.Item(row);
        rows.push_back({e.Name, e.Kind == fkFile, row == current});
    }
    return rows;
}

} // namespace

void TForm1::BTNToZipClick()
{
    zipSelectionIntoNewZip(OtherPane());
}

void TForm1::ConvertZIPdiEXE1Click()
{
    convertToExe(ActivePane());
}

void TForm1::ExtractallZIPs1Click()
{
    extractAllZips(ActivePane(), OtherPane());
}

void TForm1::ZipMenuOpening()
{
    const TDirData& pane = ActivePane();
    const std::vector<ZipCommands::SelectedRow> rows = selectedRows(*this, pane);
    m_convertZipToExe->setEnabled(ZipCommands::CanConvertToExe(pane.ArchiveDepth > 0, rows));
    m_extractAllZips->setEnabled(ZipCommands::CanExtractAll(pane.ArchiveDepth > 0, rows));
}

// A new empty zip in the other pane, shown there, then the active pane's selection
// copied into it by the Copy command, which knows how to copy into zips.
void TForm1::zipSelectionIntoNewZip(TDirData& target)
{
    const QString zip = CreateDirOrZip(target, true);
    if (zip.isEmpty())
        return;
    Leave(target);
    PaneMoves::IntoZip(target, QFileInfo(zip).fileName());
    RecordHistory(target);
    ReadDirectory(target);
    if (PaneMoves::WithTrailingSlash(target.Path) == PaneMoves::WithTrailingSlash(zip))
        ExecuteFileOperation(FO_COPY);
}

void TForm1::convertToExe(TDirData& pane)
{
    if (m_zip->Busy())
        return;
    TDlgSfxZip dialog(SfxSets(IniFile::DorvnIni()), this);
    if (ShowModal(dialog) != QDialog::Accepted)
        return;
    // Without a zip of its own the component would convert, and trash, whatever zip
    // it held last: nothing is converted then.
    const int row = pane.FileList ? pane.FileList->currentIndex().row() : -1;
    if (pane.ArchiveDepth == 0 && row >= 0 && row < pane.Count)
        ZipCommands::ConvertToExe(*m_zip, PaneMoves::WithTrailingSlash(pane.Path) + pane.Item(row)->Name,
                                  dialog.Fields());
    RefreshPane(pane);
}

void TForm1::extractAllZips(TDirData& source, TDirData& target)
{
    TDlgExtractAllZips dialog(m_zip->DLLDirectory(), this);
    dialog.SetArchives(PaneMoves::WithTrailingSlash(source.Path), PaneMoves::WithTrailingSlash(target.Path),
                       ZipCommands::ZipNames(selectedRows(*this, source)));
    ShowModal(dialog);
    RefreshPane(target);
    RefreshPane(source);
}
