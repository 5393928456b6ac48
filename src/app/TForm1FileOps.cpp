// The main window's commands that change the file system: copy, move, delete, rename,
// properties, new folder or zip, descriptions and attributes, and the table of file
// operations running in the background.
#include "app/TForm1.h"

#include "app/PaneListModel.h"
#include "app/WindowMessages.h"
#include "components/TFolderMonitor.h"
#include "fileops/AttributesCommand.h"
#include "fileops/DescribeCommand.h"
#include "fileops/NewDirOrZip.h"
#include "fileops/TDlgRename.h"
#include "fileops/TShellBrowser.h"
#include "platform/FileAttributes.h"
#include "platform/TMessages.h"
#include "zip/TFileSource.h"

#include <QAction>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>

#include <algorithm>

namespace {

// A rename stays in its folder: no separators, no "." or "..".
bool validNewName(const QString& name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
        && !name.contains(QLatin1Char('/')) && !name.contains(QChar(0));
}

} // namespace

std::vector<int> TForm1::SelectedRows(const TDirData& pane) const
{
    std::vector<int> rows;
    if (!pane.FileList)
        return rows;
    for (const QModelIndex& i : pane.FileList->selectionModel()->selectedIndexes())
        if (i.row() < pane.Count)
            rows.push_back(i.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

QStringList TForm1::SelectedPaths(const TDirData& pane) const
{
    // The parent entry is never a source: copying or deleting ".." would act on the
    // folder that holds the pane's own folder.
    QStringList paths;
    for (int row : SelectedRows(pane)) {
        const TFileData& e = *pane.Item(row);
        if (e.Kind != fkDrive && !e.IsParent())
            paths << pane.Path + e.Name;
    }
    return paths;
}

bool TForm1::MonitorActive(const TDirData& pane) const
{
    return pane.Monitor && pane.Monitor->Active();
}

void TForm1::BTNCopyClick()
{
    SetLastPopup(m_popup.Copy);
    ExecuteFileOperation(FO_COPY);
}

void TForm1::BTNMoveClick()
{
    SetLastPopup(m_popup.Move);
    ExecuteFileOperation(FO_MOVE);
}

void TForm1::BTNDeleteClick()
{
    SetLastPopup(m_popup.Delete);
    ExecuteFileOperation(FO_DELETE);
}

void TForm1::BTNRenameClick()
{
    SetLastPopup(m_popup.Rename);
    ExecuteFileOperation(FO_RENAME);
}

void TForm1::Properties1Click()
{
    SetLastPopup(m_popup.Properties);
    ExecuteFileOperation(kPropertiesOperation);
}

void TForm1::BTNNewDirClick()
{
    SetLastPopup(m_popup.NewDir);
    CreateDirOrZip(ActivePane(), false);
}

void TForm1::ExecuteFileOperation(uint32_t code)
{
    TDirData& source = ActivePane();
    TDirData& target = OtherPane();
    if (code == FO_RENAME && SelectedRows(source).size() != 1) {
        OpenBatchRenamer(source);
        return;
    }
    for (TDirData* pane : {&source, &target}) {
        RememberPosition(*pane);
        SaveDirSizes(*pane);
    }
    if (source.ArchiveDepth > 0 || (target.ArchiveDepth > 0 && (code == FO_MOVE || code == FO_COPY))) {
        ZipFileOperation(code, source, target);
        return;
    }
    TShellFileOpRecord record;
    record.Function = code;
    record.Source = SelectedPaths(source);
    if (record.Source.isEmpty())
        return;
    record.Target = target.Path;
    if (code == FO_RENAME) {
        const std::optional<QString> name = AskNewName(source);
        if (!name || source.Path + *name == record.Source.front())
            return;   // cancelled, or the name left as it was
        record.Target = source.Path + *name;
    }
    if (code == kPropertiesOperation) {
        ShowProperties(record.Source);
        return;
    }
    if (m_session.Options().UseAsyncShell && (code == FO_MOVE || code == FO_COPY)) {
        m_operations.Launch(record, source.Path, target.Path);
        return;
    }
    record.Owner = this;
    TShellFileOperation::Execute(record);
    if ((code == FO_MOVE || code == FO_DELETE || code == FO_RENAME) && !MonitorActive(source))
        ReadDirectory(source);
    if ((code == FO_MOVE || code == FO_COPY) && !MonitorActive(target))
        ReadDirectory(target);
}

std::optional<QString> TForm1::AskNewName(TDirData& source)
{
    const std::vector<int> rows = SelectedRows(source);
    TDlgRename dialog(this);
    dialog.SetName(source.Item(rows.front())->Name);
    for (;;) {
        if (ShowModal(dialog) != QDialog::Accepted)
            return std::nullopt;
        const QString name = dialog.Name();
        if (validNewName(name))
            return name;
        TMessages::Show(MsgKind::Warning, tr("\"%1\" is not a valid name.").arg(name),
                        MsgButtons::Ok, this);
    }
}

void TForm1::OpenBatchRenamer(TDirData& pane)
{
    // The batch renamer arrives with the renaming tools; a selection of several
    // entries (or none) is not renamed one by one meanwhile, and the user is told so
    // rather than left wondering why the command did nothing.
    Q_UNUSED(pane);
    TMessages::Show(MsgKind::Information,
                    tr("Select one file or folder to rename. Renaming several at once is not "
                       "available yet."),
                    MsgButtons::Ok, this);
}

void TForm1::ShowProperties(const QStringList& paths)
{
    if (!m_theShell) {
        m_theShell = new TShellBrowser(this);
        m_theShell->setObjectName(QStringLiteral("TheShell"));
    }
    if (paths.size() == 1)
        m_theShell->SetObjectName(paths.front());
    else
        m_theShell->SetObjectList(paths);
    m_theShell->InvokeVerb(QStringLiteral("properties"));
}

void TForm1::ShellOperationDone(uint32_t wparam)
{
    const std::optional<PendingOperation> ended = m_operations.Finish(uint16_t(wparam & 0xFFFF));
    if (!ended || m_session.Options().MonFoldChanges)
        return;
    const bool move = ended->Operation.Function == FO_MOVE;
    const bool copy = ended->Operation.Function == FO_COPY;
    // Both directories may be shown, also in both panes; each pane is read once.
    for (TDirData* pane : {&m_left, &m_right}) {
        if (pane->ArchiveDepth > 0)
            continue;
        const bool isSource = move && pane->Path == ended->SourceDir;
        const bool isTarget = (move || copy) && pane->Path == ended->TargetDir;
        if (isSource || isTarget)
            ReadDirectory(*pane);
    }
}

QString TForm1::CreateDirOrZip(TDirData& pane, bool zipOnly)
{
    const QString created = ::CreateDirOrZip(pane.Path, zipOnly, m_sfEmptyZip->FileName(), this);
    if (!created.isEmpty())
        ReadDirectory(pane);
    return created;
}

void TForm1::SetLastPopup(QAction* command)
{
    QAction* last = m_popup.Last;
    last->setText(command->text());
    last->setToolTip(command->toolTip());
    last->setStatusTip(command->statusTip());
    last->disconnect(this);
    connect(last, &QAction::triggered, command, &QAction::trigger);
    // Repeating the command right beside itself would only double it.
    const QList<QAction*> items = m_dirPopup->actions();
    const int at = int(items.indexOf(command));
    last->setVisible(at != 0 && at != 2);
}

void TForm1::SBDescribeClick()
{
    TDirData& pane = ActivePane();
    if (pane.ArchiveDepth > 0) {
        TMessages::Show(MsgKind::Information,
                        tr("I'm currently unable to set descriptions inside ZIP files. Sorry."),
                        MsgButtons::Ok, this);
        return;
    }
    const QStringList paths = SelectedPaths(pane);
    if (paths.isEmpty())
        return;
    RunDescribeCommand(paths, this);
    RefreshPane(pane);
}

void TForm1::BTNAttributesClick()
{
    TDirData& pane = ActivePane();
    if (pane.ArchiveDepth > 0) {
        TMessages::Show(MsgKind::Information,
                        tr("Attributes are not (yet) supported for compressed files."),
                        MsgButtons::Ok, this);
        return;
    }
    std::vector<int> rows;
    std::vector<AttributeEntry> entries;
    for (int row : SelectedRows(pane)) {
        TFileData& e = *pane.Item(row);
        if (e.Kind == fkDrive)
            continue;
        // A listing leaves the DOS bits of user.DOSATTRIB unread for speed, so the
        // dialog starts from what the file system holds now.
        uint32_t attr = e.Attributes;
        if (!e.IsParent() && ReadFileAttributes(pane.Path + e.Name, &attr))
            e.Attributes = attr;
        rows.push_back(row);
        entries.push_back({pane.Path + e.Name, e.Name, e.Attributes});
    }
    const AttributeResults results = RunAttributesCommand(entries, this);
    for (size_t i = 0; i < results.size() && i < rows.size(); ++i)
        if (results[i])
            pane.Item(rows[i])->Attributes = *results[i];
    if (pane.FileList)
        pane.FileList->viewport()->update();
}
