// The main window's pane work: reading, sorting, filtering, selecting, and applying
// results that background work delivers.
#include "app/TForm1.h"

#include "app/ArchiveLister.h"
#include "app/PaneColumnWidths.h"
#include "app/PaneLister.h"
#include "app/PaneMoves.h"
#include "app/PaneItemDelegate.h"
#include "app/PaneListModel.h"
#include "app/PanePanel.h"
#include "app/PaneSelection.h"
#include "app/PaneSorter.h"
#include "core/TextOrder.h"
#include "fileops/Descriptions.h"
#include "platform/FileNames.h"
#include "platform/TMessages.h"
#include "zip/TZipMaster.h"
#include "zip/ZipDirectoryReader.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>
#include <QProgressBar>
#include <QLayout>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QStatusBar>

#include <utility>

namespace {

// Restores the previous cursor on every way out of a long operation.
class HourglassCursor {
public:
    HourglassCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~HourglassCursor() { QApplication::restoreOverrideCursor(); }
};

// The pane's progress bar for the life of a listing: shown while it runs, hidden on
// every way out.
class PaneGauge {
public:
    explicit PaneGauge(QProgressBar* bar)
        : m_bar(bar)
    {
        if (m_bar)
            m_bar->show();
    }
    ~PaneGauge()
    {
        if (m_bar)
            m_bar->hide();
    }
    PaneGauge(const PaneGauge&) = delete;
    PaneGauge& operator=(const PaneGauge&) = delete;

    void Move(int done, int count)
    {
        if (!m_bar)
            return;
        if (m_bar->maximum() != count)
            m_bar->setRange(0, count);
        // Every step would repaint the bar per member of a large archive.
        if (done == 0 || done == count || done % 256 == 0)
            m_bar->setValue(done);
    }

private:
    QPointer<QProgressBar> m_bar;
};

void reportInternalError(const QString& where)
{
    TMessages::Show(MsgKind::Plain, TForm1::tr("INTERNAL SOFTWARE ERROR in ") + where);
}

} // namespace

void TForm1::ReadDirectory(TDirData& pane)
{
    HourglassCursor hourglass;
    m_background.StopIcons(pane);
    m_background.WithdrawSizes(pane);
    m_extIconCache.Harvest(pane);
    const QString filter = pane.FilterCombo ? pane.FilterCombo->currentText() : QStringLiteral("*");
    const QHash<QString, QString> descriptions = pane.ArchiveDepth > 0 ? QHash<QString, QString>() : LoadDescriptions(pane.Path);

    pane.Path = PaneMoves::WithTrailingSlash(pane.Path);
    pane.LastPath = pane.Path;
    if (pane.PathLabel) {
        QString label = pane.Path;
        if (pane.ArchiveDepth > 0)
            label += pane.ArchivePath;
        pane.PathLabel->setText(DisplayFileName(label));
        pane.PathLabel->setToolTip(DisplayFileName(label));
    }

    PointMonitor(pane);
    if (pane.Model)
        pane.Model->BeginListing();
    ++pane.Generation;

    const AppSettings& options = m_session.Options();
    ListingInputs in;
    in.Filter = filter.isEmpty() ? QStringLiteral("*") : filter;
    in.Options = {options.HideHidden, options.HideExtra, options.HideDescription, options.ShowDrives};
    for (int i = 0; i < m_driveList->count(); ++i)
        in.Drives << m_driveList->itemText(i);
    in.Descriptions = descriptions;
    in.CachedSize = [this](const QString& path) { return m_dirSizes.Lookup(path); };
    if (pane.ArchiveDepth > 0)
        ListArchive(pane, in);
    else
        PaneLister::ListFolder(pane, in);

    PaneSorter::SortPane(pane, true, true);
    if (pane.Model)
        pane.Model->EndListing();
    if (pane.FileList)
        pane.FileList->clearSelection();
    RestorePosition(pane);

    if (pane.FilterCombo) {
        const QSignalBlocker block(pane.FilterCombo);
        pane.FilterCombo->clear();
        pane.FilterCombo->addItems(pane.FilterMasks);
        const int index = pane.FilterMasks.indexOf(in.Filter.toLower());
        pane.FilterCombo->setCurrentIndex(index);
        pane.FilterCombo->setEditText(index >= 0 ? pane.FilterMasks.at(index) : in.Filter);
    }
    ComputeColumnWidths(pane);
    settleSections(pane);
    if (pane.ArchiveDepth == 0) {
        m_background.QueueSizes(pane);
        m_background.StartIcons(pane);
        PrioritizeVisibleIcons(pane);
    }
    UpdateListingNotice();
}

void TForm1::settleSections(TDirData& pane)
{
    // The default section widths were made for a narrower font than Linux desktops
    // use: kept without stored widths, they would start every date and size cut.
    if (pane.SectionsSettled || !pane.Header || pane.DirCount + pane.FileCount == 0)
        return;
    pane.SectionsSettled = true;
    if (SettingsSession::HeaderWidthsStored(pane.PaneId))
        return;
    pane.Header->resizeSection(1, pane.ColumnWidths[1]);
    pane.Header->resizeSection(2, pane.ColumnWidths[2]);
    if (!m_startupDone)
        widenDefaultWindow(pane);
}

void TForm1::widenDefaultWindow(TDirData& pane)
{
    // Scaling by the font's average width leaves the panes a little short where the
    // locale writes long dates ("22 Sep 2026 04:55"), so a window at its default size
    // grows until both panes show the fitted sections whole. A stored placement is the
    // user's choice and stays.
    PanePanel* panel = PanelOf(pane);
    if (!panel || isMaximized() || isFullScreen())
        return;
    if (SettingsSession::PlacementStored())
        return;
    const QMargins margins = panel->layout()->contentsMargins();
    const int paneWidth = pane.Header->sectionPosition(2) + pane.Header->sectionSize(2) + margins.left()
        + margins.right() + pane.FileList->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, pane.FileList)
        + 2 * pane.FileList->frameWidth();
    int wanted = 2 * paneWidth + m_panCenter->width() + m_leftSplit->width();
    if (const QScreen* s = screen())
        wanted = std::min(wanted, s->availableGeometry().width());
    if (wanted > width())
        resize(wanted, height());
}

void TForm1::UpdateListingNotice()
{
    if (!m_listingNotice)
        return;
    QStringList notices;
    for (const TDirData* pane : {&m_left, &m_right}) {
        const QString path = DisplayFileName(pane->Path + pane->ArchivePath);
        if (!pane->ReadError.isEmpty())
            notices << tr("Cannot read %1: %2.").arg(path, pane->ReadError);
        else if (pane->Truncated)
            notices << tr("%1 holds more than %2 entries: only the first %2 by name are listed.")
                           .arg(path)
                           .arg(kMaxPaneItems);
    }
    notices.removeDuplicates();         // both panes on the same folder
    m_listingNotice->setText(notices.join(QStringLiteral("   ")));
    m_listingNotice->setToolTip(notices.join(QLatin1Char('\n')));
    m_listingNotice->setVisible(!notices.isEmpty());
}

void TForm1::PrioritizeVisibleIcons(TDirData& pane)
{
    if (!pane.FileList)
        return;
    const int top = TopRow(pane);
    m_background.PrioritizeIcons(pane, top, top + pane.FileList->viewport()->height() / kPaneRowHeight);
}

void TForm1::RefreshPane(TDirData& pane)
{
    RecordHistory(pane);
    RememberPosition(pane);
    SaveDirSizes(pane);
    ReadDirectory(pane);
}

void TForm1::SortPane(TDirData& pane, bool sortDirectories, bool sortFiles)
{
    HourglassCursor hourglass;
    if (pane.Model)
        pane.Model->BeginListing();
    PaneSorter::SortPane(pane, sortDirectories, sortFiles);
    if (pane.Model)
        pane.Model->EndListing();
    if (pane.FileList)
        pane.FileList->clearSelection();
}

void TForm1::SaveDirSizes(TDirData& pane)
{
    if (pane.ArchiveDepth > 0)
        return;
    for (int i = 0; i < pane.DirCount; ++i) {
        const TFileData& e = *pane.Item(i);
        if (e.SizeKnown == 1 && !e.IsParent())
            m_dirSizes.Store(pane.Path + e.Name, e.Size);
    }
}

void TForm1::SelectGroup(TDirData& pane, int group)
{
    if (!pane.FileList)
        return;
    QItemSelectionModel* sel = pane.FileList->selectionModel();
    sel->clearSelection();
    const auto range = PaneSelection::GroupRange(pane, group);
    if (!range)
        return;
    const QAbstractItemModel* model = pane.FileList->model();
    sel->select(QItemSelection(model->index(range->first, 0), model->index(range->second, 0)),
                QItemSelectionModel::Select);
}

QString TForm1::SelectionSummary(TDirData& pane)
{
    std::vector<int> rows;
    if (pane.FileList)
        for (const QModelIndex& i : pane.FileList->selectionModel()->selectedIndexes())
            rows.push_back(i.row());
    return PaneSelection::Summary(pane, rows);
}

void TForm1::NewIconFound(int paneId, int index, int iconIndex, quintptr imageList)
{
    try {
        TDirData* pane = paneId == 1 ? &m_left : (paneId == 2 ? &m_right : nullptr);
        if (!pane || index < 0 || index >= pane->Count)
            return;
        pane->Item(index)->SysIconIndex = iconIndex;
        pane->Item(index)->SysImageList = imageList;
        if (pane->FileList) {
            const QRect row = pane->FileList->visualRect(pane->Model->index(index));
            pane->FileList->viewport()->update(QRect(row.left(), row.top(), 16, row.height()));
        }
    } catch (const std::exception&) {
        reportInternalError(QStringLiteral("NewIconFound"));
    }
}

void TForm1::DirSizeFound(const QString& directoryPath, uint32_t fileCount, uint32_t dirCount,
                          int64_t allocatedSize, int64_t size)
{
    try {
        QString path = directoryPath;
        while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
            path.chop(1);
        const int cut = path.lastIndexOf(QLatin1Char('/'));
        const QString parent = path.left(cut + 1);
        const QString name = path.mid(cut + 1);
        for (TDirData* pane : {&m_left, &m_right}) {
            if (pane->ArchiveDepth > 0 || pane->Path != parent)
                continue;
            for (int i = 0; i < pane->DirCount; ++i) {
                TFileData& e = *pane->Item(i);
                if (e.Name != name)
                    continue;
                e.Size = size;
                e.AllocatedSize = allocatedSize;
                e.FileCount = fileCount;
                e.DirCount = dirCount;
                e.SizeKnown = 1;
                if (pane->Model)
                    pane->Model->RowChanged(i);
            }
        }
    } catch (const std::exception&) {
        reportInternalError(QStringLiteral("DirSizeFound"));
    }
}

void TForm1::ComputeColumnWidths(TDirData& pane)
{
    PaneColumnWidths::Measure(pane, QFontMetrics(pane.FileList ? pane.FileList->font() : font()));
}

void TForm1::AutoSizeColumns(TDirData& pane)
{
    if (!pane.Header)
        return;
    for (int i = 0; i < 3; ++i)
        pane.Header->resizeSection(i, pane.ColumnWidths[size_t(i)]);
    if (pane.FileList)
        pane.FileList->viewport()->update();
}

void TForm1::LHeaderSectionClick(TDirData& pane, int section)
{
    ActivatePane(pane);
    static const int modes[] = {SortByName, SortBySize, SortByTime, SortByDesc};
    if (section < 0 || section > 3)
        return;
    const int mode = modes[section];
    if (mode == pane.SortMode())
        pane.Ascending = pane.Ascending ? 0 : 1;
    pane.SetSortMode(mode);
    if (pane.SortCombo)
        pane.SortCombo->setCurrentIndex(mode);
    if (pane.Header)
        pane.Header->viewport()->update();
    SortPane(pane, true, true);
}

void TForm1::SortChange(TDirData& pane)
{
    ActivatePane(pane);
    if (pane.Header)
        pane.Header->viewport()->update();
    SortPane(pane, true, true);
}

void TForm1::FilterApply(TDirData& pane)
{
    ReadDirectory(pane);
}

void TForm1::FilesMouseUp(TDirData& pane)
{
    const QString summary = SelectionSummary(pane);
    if (pane.FileList) {
        pane.FileList->setStatusTip(summary);
        pane.FileList->setToolTip(summary);
    }
    statusBar()->showMessage(summary);
}

void TForm1::FilesDblClick(TDirData& pane)
{
    ActivateItem(pane);
}

bool TForm1::ArchiveListingAvailable() const
{
    return true;
}

void TForm1::ListArchive(TDirData& pane, const ListingInputs& in)
{
    const QString zipFile = ArchiveLister::ZipFileOf(pane);
    ArchiveListingInputs archive;
    archive.Filter = in.Filter;
    archive.HideHidden = in.Options.HideHidden;
    archive.ZipTime = ArchiveLister::PackedFileTime(zipFile);
    PaneGauge gauge(pane.Gauge);
    const ArchiveMembers members = listZip(zipFile, [&gauge](int listed, int count) { gauge.Move(listed, count); });
    gauge.Move(0, members.Count);
    archive.Progress = [&gauge, &members](int done) { gauge.Move(done, members.Count); };
    ArchiveLister::List(pane, members, archive);
    PaneLister::AppendDrives(pane, in.Options.ShowDrives ? in.Drives : QStringList());
}

ArchiveMembers TForm1::listZip(const QString& zipFile, const std::function<void(int listed, int count)>& progress)
{
    TZipMaster& zip = *m_zip;
    if (zip.Busy()) {
        // A re-read while an operation runs must not swap the archive under it.
        m_zipListing = ZipDirectoryReader::List(zipFile, zip.CodePage);
        return {int(m_zipListing.Entries.size()),
                [this](int index) -> const ZipDirEntry& { return m_zipListing.Entries.at(size_t(index)); }};
    }
    const auto before = std::exchange(zip.OnNewName, [&zip, &progress](int listed) {
        if (progress)
            progress(listed, zip.EntryCount());
    });
    zip.SetZipFileName(zipFile);
    zip.OnNewName = before;
    return {zip.EntryCount(), [&zip](int index) -> const ZipDirEntry& { return zip.Entry(index); }};
}

QString TForm1::zipCommentOf(const QString& zipFile)
{
    // The component keeps the archive it lists: a hint borrows it and gives it back,
    // never in the middle of an operation on it.
    TZipMaster& zip = *m_zip;
    if (zip.Busy())
        return {};
    // A damaged zip under the mouse says so in the status bar, not in a box.
    const bool unattended = std::exchange(zip.Unattended, true);
    const QString previous = zip.ZipFileName();
    zip.SetZipFileName(zipFile);
    const QString comment = zip.ArchiveComment();
    zip.SetZipFileName(previous);
    zip.Unattended = unattended;
    return comment;
}


QString TForm1::CopyPathText()
{
    TDirData& pane = ActivePane();
    QString text = pane.Path;
    if (pane.ArchiveDepth > 0)
        text += pane.ArchivePath;
    if (pane.FileList) {
        const QModelIndex current = pane.FileList->currentIndex();
        if (current.isValid() && current.row() < pane.Count
            && pane.FileList->selectionModel()->isSelected(current)) {
            const TFileData& e = *pane.Item(current.row());
            if (e.Kind == fkDirectory || e.Kind == fkFile)
                text += e.Name;
        }
    }
    return text;
}

void TForm1::Copypathtoclipboard1Click()
{
    QApplication::clipboard()->setText(CopyPathText());
}
