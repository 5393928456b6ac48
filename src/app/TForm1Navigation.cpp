// Moving a pane: rows, parent, root, history, the other pane's folder, volumes,
// bookmarks and quick-go menus. Most moves "leave" the old location (remember the
// position, keep folder sizes), then record the new one in the history and read it.
#include "app/TForm1.h"

#include "app/ArchiveLister.h"
#include "app/PaneHistory.h"
#include "app/PaneListModel.h"
#include "app/PaneMoves.h"
#include "app/QuickDirMenu.h"
#include "app/TDlgBookmarks.h"
#include "app/TDlgConnectDrive.h"
#include "app/TDlgDisconnectDrive.h"
#include "app/WindowMessages.h"
#include "components/TFolderMonitor.h"
#include "platform/DesktopOpen.h"
#include "platform/TMountWatcher.h"
#include "app/PanePanel.h"
#include "platform/TMessages.h"

#include <QComboBox>
#include <QItemSelectionModel>
#include <QCursor>
#include <QMenu>
#include <QListView>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolButton>

namespace {

void makeRowCurrent(TDirData& pane, const QString& name)
{
    if (!pane.FileList || !pane.Model)
        return;
    for (int i = 0; i < pane.DirCount + pane.FileCount; ++i) {
        if (pane.Item(i)->Name != name)
            continue;
        const QModelIndex row = pane.Model->index(i);
        pane.FileList->selectionModel()->setCurrentIndex(row, QItemSelectionModel::NoUpdate);
        pane.FileList->scrollTo(row);
        return;
    }
}

// The name of the zip a move to the parent leaves, or "" when it stays in or out of one.
QString zipLeftByParent(const TDirData& pane)
{
    if (pane.ArchiveDepth == 0 || !pane.ArchivePath.isEmpty())
        return {};
    const QString zip = ArchiveLister::ZipFileOf(pane);
    return zip.mid(zip.lastIndexOf(QLatin1Char('/')) + 1);
}

} // namespace

int TForm1::TopRow(const TDirData& pane) const
{
    if (!pane.FileList || pane.Count == 0)
        return 0;
    const QModelIndex top = pane.FileList->indexAt(QPoint(1, 1));
    return top.isValid() ? top.row() : 0;
}

void TForm1::RememberPosition(TDirData& pane)
{
    const QModelIndex current = pane.FileList ? pane.FileList->currentIndex() : QModelIndex();
    pane.Positions.Store(pane.Path + pane.ArchivePath, TopRow(pane), current.isValid() ? current.row() : -1);
}

void TForm1::RestorePosition(TDirData& pane)
{
    const auto record = pane.Positions.Find(pane.Path + pane.ArchivePath);
    if (!record || !pane.FileList || pane.Count == 0)
        return;
    QListView* list = pane.FileList;
    if (record->TopRow >= 0 && record->TopRow < pane.Count)
        list->scrollTo(list->model()->index(record->TopRow, 0), QAbstractItemView::PositionAtTop);
    if (record->CurrentRow >= 0 && record->CurrentRow < pane.Count)
        list->selectionModel()->setCurrentIndex(list->model()->index(record->CurrentRow, 0),
                                                QItemSelectionModel::NoUpdate);
}

void TForm1::Leave(TDirData& pane)
{
    RememberPosition(pane);
    SaveDirSizes(pane);
}

void TForm1::RecordHistory(TDirData& pane)
{
    PaneHistory::Record(pane);
    UpdateNavButtons();
}

void TForm1::UpdateNavButtons()
{
    const TDirData& pane = ActivePane();
    if (m_navBack)
        m_navBack->setEnabled(PaneHistory::CanGoBack(pane));
    if (m_navForward)
        m_navForward->setEnabled(PaneHistory::CanGoForward(pane));
}

void TForm1::MoveTo(TDirData& pane, const QString& path, bool leave)
{
    if (leave)
        Leave(pane);
    PaneMoves::ToFolder(pane, path);
    RecordHistory(pane);
    ReadDirectory(pane);
}

void TForm1::ActivateItem(TDirData& pane)
{
    ActivatePane(pane);
    if (pane.FilterCombo) {
        pane.FilterCombo->setCurrentIndex(0);
        pane.FilterCombo->setEditText(QStringLiteral("*"));
    }
    SetViewerMode(pane, false);
    if (!pane.FileList)
        return;
    const QModelIndex current = pane.FileList->currentIndex();
    if (!current.isValid() || current.row() >= pane.Count)
        return;
    const TFileData e = *pane.Item(current.row());
    if (e.IsParent()) {
        Leave(pane);
        GoParent(pane);
    } else if (e.Kind == fkDirectory) {
        Leave(pane);
        PaneMoves::IntoFolder(pane, e.Name);
        RecordHistory(pane);
        ReadDirectory(pane);
    } else if (e.Kind == fkDrive) {
        MoveTo(pane, e.Name, true);
    } else if (pane.ArchiveDepth == 0 && ArchiveLister::IsZipName(e.Name) && ArchiveListingAvailable()) {
        Leave(pane);
        PaneMoves::IntoZip(pane, e.Name);
        RecordHistory(pane);
        ReadDirectory(pane);
    } else {
        OpenOrView(pane, false, false, false);
    }
}

void TForm1::GoParent(TDirData& pane)
{
    // Out of a zip's top the zip's own row is current, whatever was remembered for
    // its folder (the pane may have started inside the zip).
    const QString zip = zipLeftByParent(pane);
    PaneMoves::ToParent(pane);
    RecordHistory(pane);
    ReadDirectory(pane);
    if (!zip.isEmpty())
        makeRowCurrent(pane, zip);
}

void TForm1::GoParentButton(TDirData& pane)
{
    Leave(pane);
    GoParent(pane);
}

void TForm1::NavBackClick()
{
    TDirData& pane = ActivePane();
    if (PaneHistory::Back(pane))
        ReadDirectory(pane);
    UpdateNavButtons();
}

void TForm1::NavForwardClick()
{
    TDirData& pane = ActivePane();
    if (PaneHistory::Forward(pane))
        ReadDirectory(pane);
    UpdateNavButtons();
}

void TForm1::NavRootClick()
{
    TDirData& pane = ActivePane();
    MoveTo(pane, VolumeRootOf(pane.Path, m_volumes), false);
}

void TForm1::Synchronize1Click()
{
    TDirData& target = ActivePane();
    TDirData& source = OtherPane();
    Leave(source);
    Leave(target);
    PaneMoves::SameAs(target, source);
    RecordHistory(target);
    ReadDirectory(target);
}

void TForm1::BTNRefreshClick()
{
    SetLastPopup(m_popup.Refresh);
    Leave(m_left);
    Leave(m_right);
    RecordHistory(ActivePane());
    ReadDirectory(ActivePane());
}

void TForm1::RefreshSide(TDirData& pane)
{
    Leave(pane);
    RecordHistory(pane);
    ReadDirectory(pane);
}

void TForm1::SBDriveClick(int index)
{
    if (index < 0 || index >= m_volumes.size())
        return;
    MoveTo(ActivePane(), m_volumes.at(index).mountPoint, true);
}

void TForm1::Refreshdrivelist1Click()
{
    RefreshVolumes();
    ReadDirectory(m_left);
    ReadDirectory(m_right);
}

bool TForm1::DriveOnDisplay(const QString& mountPoint) const
{
    for (const TDirData* pane : {&m_left, &m_right})
        if (VolumeRootOf(pane->Path, m_volumes) == mountPoint)
            return true;
    return false;
}

void TForm1::AddbookmarkClick()
{
    const TDirData& pane = ActivePane();
    if (pane.ArchiveDepth > 0) {
        TMessages::Show(MsgKind::Information, tr("You can't bookmark a compressed file (yet)."));
        return;
    }
    m_bookmarks->Add(PaneMoves::WithTrailingSlash(pane.Path));
}

void TForm1::BookmarkClick(const QString& folder)
{
    MoveTo(ActivePane(), folder, true);
}

void TForm1::Editbookmarks1Click()
{
    TDlgBookmarks dialog(m_bookmarks->Folders(), this);
    if (ShowModal(dialog) == QDialog::Accepted)
        m_bookmarks->Replace(dialog.Bookmarks());
}

void TForm1::BuildQuickDirMenu(QMenu* menu, TDirData& target)
{
    QuickDirMenu::Build(menu, m_volumes, [this, &target](const QString& folder) { MoveTo(target, folder, true); });
}

void TForm1::QuickGo(int paneId)
{
    TDirData& target = paneId == 1 ? m_left : m_right;
    BuildQuickDirMenu(m_quickDirPopup, target);
    m_quickDirPopup->exec(QCursor::pos());
}

void TForm1::PointMonitor(TDirData& pane)
{
    TFolderMonitor* monitor = pane.Monitor;
    if (!monitor)
        return;
    monitor->SetActive(false);
    if (pane.ArchiveDepth > 0)
        return;
    QString folder = pane.Path;
    if (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    monitor->SetFolder(folder);
    // Watching a whole volume from its root is costly; only on request.
    const bool volumeRoot = VolumeRootOf(folder, m_volumes) == folder;
    monitor->SetWatchSubtree(!volumeRoot || m_session.Options().MonRootSubDirs);
    bool remote = false;
    for (const TVolume& v : m_volumes)
        if (v.mountPoint == VolumeRootOf(folder, m_volumes))
            remote = v.type == DriveType::Remote;
    if (m_session.Options().MonFoldChanges && !remote)
        monitor->SetActive(true);
}

void TForm1::MonitorChange(TDirData& pane)
{
    // The pane keeps the rows the user looks at: remember them before reading anew.
    RememberPosition(pane);
    ReadDirectory(pane);
}

void TForm1::MountsChanged(const QVector<TVolume>& before, const QVector<TVolume>& after)
{
    const QStringList affected = TMountWatcher::AffectedMountPoints(before, after);
    RefreshVolumes();
    auto touches = [&](const TDirData& pane) {
        for (const QString& mount : affected) {
            const QString mountDir = PaneMoves::WithTrailingSlash(mount);
            if (pane.Path.startsWith(mountDir) || mountDir.startsWith(pane.Path))
                return true;
        }
        return false;
    };
    if (touches(m_left))
        PostMessage(WM_REFRESHLEFT);
    if (touches(m_right))
        PostMessage(WM_REFRESHRIGHT);
}

void TForm1::OpenClick(TDirData& pane)
{
    QString folder = PaneMoves::WithTrailingSlash(pane.Path);
    if (pane.ArchiveDepth > 0) {   // the file manager opens the folder holding the zip
        const QString zip = ArchiveLister::ZipFileOf(pane);
        folder = zip.left(zip.lastIndexOf(QLatin1Char('/')) + 1);
    }
    QString error;
    if (!OpenFolderInFileManager(folder, &error))
        TMessages::Show(MsgKind::Error, error);
}

void TForm1::Connect1Click()
{
    TDlgConnectDrive dialog(this);
    ShowModal(dialog);
}

void TForm1::Disconnectnetworkdrive1Click()
{
    TDlgDisconnectDrive dialog(this);
    ShowModal(dialog);
}
