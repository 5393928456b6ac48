// The zip component of the window and the file operations when a pane shows the
// inside of a zip: the window gives the panes' sides and selection, the zip classes
// do the work.
#include "app/TForm1.h"

#include "app/PaneMoves.h"
#include "platform/PrivateTempFolder.h"
#include "zip/TPasswordDlg.h"
#include "zip/TZipMaster.h"
#include "zip/ZipFileCommands.h"
#include "zip/ZipOverwriteQuestion.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QStatusBar>

void TForm1::setupZip()
{
    m_zip = std::make_unique<TZipMaster>();
    m_zip->Verbose = true;
    m_zip->AddOptions = AddOpt::AddDirNames | AddOpt::AddRecurseDirs;
    m_zip->ExtrOptions = ExtrOpt::ExtrDirNames;
    m_zip->AddStoreSuffixes = AddStoreExts::fromInt(0x7FF);   // every suffix but exe
    m_zip->SFXOptions = {};
    m_zip->OnMessage = [this](int code, const QString& text) { showZipMessage(code, text); };
    m_zip->AskPassword = &TPasswordDlg::Ask;
    m_zip->BusyCursor = [](bool busy) {
        if (busy)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    };
    m_zipCommands = std::make_unique<ZipFileCommands>(*m_zip);
    m_zipCommands->AskOverwrite = [this](const FileOpConflict& conflict) {
        return ZipOverwriteQuestion::Ask(conflict, this);
    };
}

void TForm1::showZipMessage(int errorCode, const QString& text)
{
    Q_UNUSED(errorCode);
    statusBar()->showMessage(QString(text).replace(QLatin1Char('\n'), QLatin1Char(' ')));
}

void TForm1::ZipFileOperation(uint32_t code, TDirData& source, TDirData& target)
{
    std::vector<ZipFileCommands::Selected> selection;
    for (const int row : SelectedRows(source)) {
        const TFileData& e = *source.Item(row);
        if ((e.Kind == fkFile || e.Kind == fkDirectory) && !e.IsParent())
            selection.push_back({e.Name, e.Kind == fkDirectory});
    }
    if (selection.empty())
        return;
    // The component's callbacks let commands run while it works; it must finish first.
    if (m_zip->Busy()) {
        showZipMessage(0, tr("The zip component is busy with another operation"));
        return;
    }
    if (code == FO_RENAME && !AskNewName(source))
        return;
    const auto side = [](const TDirData& pane) {
        return ZipFileCommands::Side{PaneMoves::WithTrailingSlash(pane.Path), pane.ArchiveDepth > 0, pane.ArchivePath};
    };
    const ZipFileCommands::Outcome outcome =
        m_zipCommands->Run(int(code), side(source), side(target), selection, m_session.Options().FastZipMove);
    if (outcome.SourceChanged && (source.ArchiveDepth > 0 || !MonitorActive(source)))
        ReadDirectory(source);
    if (outcome.TargetChanged && (target.ArchiveDepth > 0 || !MonitorActive(target)))
        ReadDirectory(target);
}

QString TForm1::extractZipMember(TDirData& pane, const QString& name, const QString& subfolder)
{
    const QString folder = PrivateTempFolder::Subfolder(subfolder);
    if (folder.isEmpty() || m_zip->Busy())
        return {};
    const QString target = QDir(folder).filePath(name);
    QFile::remove(target);
    const QString zipFile = PaneMoves::WithTrailingSlash(pane.Path).chopped(1);
    if (m_zip->ZipFileName() != zipFile)
        m_zip->SetZipFileName(zipFile);
    m_zip->ExtrBaseDir = folder;
    m_zip->ExtrOptions = ExtrOpt::ExtrOverWrite;
    m_zip->FSpecArgs = QStringList{pane.ArchivePath + name};
    m_zip->ExtractFiles();
    m_zip->ExtrOptions = ExtrOpt::ExtrDirNames;
    return QFile::exists(target) ? target : QString();
}
