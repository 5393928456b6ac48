// The window's side of the viewers: the commands that show a pane's entry, the room
// the viewer takes (the other pane's place, mirrored for the right pane's files), the
// title while it is on, and the item hint.
#include "app/TForm1.h"

#include "app/PanePanel.h"
#include "platform/FileAttributes.h"
#include "platform/FileNames.h"
#include "platform/TMessages.h"
#include "viewers/ItemHintWindow.h"
#include "viewers/TFRVwText.h"
#include "viewers/ViewerHost.h"
#include "viewers/text/TTextView.h"

#include <QFile>
#include <QFileInfo>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QAction>
#include <QListView>
#include <QMenu>
#include <QTimer>
#include <QToolButton>

void TForm1::wireViewer()
{
    connect(m_viewer, &ViewerHost::CloseRequested, this, [this] { SetViewerMode(ActivePane(), false); });
    // The editor is shown while the window is out of the way, as it was before.
    connect(m_viewer, &ViewerHost::EditorOpening, this, [this] {
        m_stateBeforeEditor = windowState();
        setWindowState(windowState() | Qt::WindowMinimized);
    });
    connect(m_viewer, &ViewerHost::EditorClosed, this, [this] { setWindowState(m_stateBeforeEditor); });
    const QList<QAction*> items = m_viewerMenu->actions();
    connect(items.value(0), &QAction::triggered, this, [this] { m_viewer->TextFrame()->CopyText(); });
    connect(items.value(1), &QAction::triggered, this, [this] { m_viewer->TextFrame()->PrintText(); });
    connect(items.value(2), &QAction::triggered, this, [this] { m_viewer->TextFrame()->Find(); });
}

void TForm1::applyTextViewSettings()
{
    // Colours are stored as 0x00BBGGRR.
    auto colour = [](int bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); };
    const TextViewSettings& stored = m_session.TextView();
    TTextView* view = m_viewer->TextFrame()->View();
    QFont font(stored.FontName, stored.FontSize);
    font.setStyleHint(QFont::TypeWriter);   // "Fixedsys" is no Linux font: a fixed-width one stands in
    font.setFixedPitch(true);
    view->setFont(font);
    view->SetTextColor(colour(stored.FontFore));
    view->SetBackColor(colour(stored.FontBack));
    view->SetLinkColor(colour(stored.LinkFore));
    if (stored.TabSize >= 1 && stored.TabSize <= 20)
        view->SetTabSize(stored.TabSize);
    view->SetPrintPageNum(stored.PrintPage);
}

int TForm1::currentItemRow(const TDirData& pane) const
{
    if (!pane.FileList)
        return -1;
    const QModelIndex current = pane.FileList->currentIndex();
    return current.isValid() && current.row() < pane.Count ? current.row() : -1;
}

void TForm1::Open1Click()
{
    OpenOrView(ActivePane(), true, false, false);
}

void TForm1::View1Click()
{
    OpenOrView(ActivePane(), false, false, false);
}

void TForm1::Viewastext1Click()
{
    OpenOrView(ActivePane(), false, false, true);
}

void TForm1::Viewinfos1Click()
{
    OpenOrView(ActivePane(), false, true, false);
}

void TForm1::SBViewerClick(bool down)
{
    if (!down) {
        SetViewerMode(ActivePane(), false);
        return;
    }
    Viewastext1Click();
    // Nothing to show (no current row): the button does not stay down over nothing.
    if (!m_viewer->IsShown()) {
        const QSignalBlocker block(m_sbViewer);
        m_sbViewer->setChecked(false);
    }
}

void TForm1::OpenOrView(TDirData& pane, bool forceOpen, bool info, bool asText)
{
    const int row = currentItemRow(pane);
    if (row < 0)
        return;
    const TFileData e = *pane.Item(row);
    // A folder named like a picture is still a folder: only files go to a viewer by name.
    if (info || asText || (!forceOpen && e.Kind == fkFile && m_viewer->IsViewable(e.Name))) {
        ShowInViewer(pane, asText, info, row);
        return;
    }
    QString path = e.Kind == fkDrive ? e.Name : pane.Path + e.Name;
    QString copy;
    if (pane.ArchiveDepth > 0) {
        copy = path = extractZipMember(pane, e.Name, QStringLiteral("zpttmp/sh"));
        if (copy.isEmpty())
            return;
    }
    // A zip's inside is no folder a program could start in: it starts beside the zip.
    const QString workingDir = pane.ArchiveDepth > 0 ? QFileInfo(pane.Path.chopped(1)).path() : pane.Path;
    if (m_viewer->Launch(path, workingDir, copy))
        return;
    if (!copy.isEmpty())
        QFile::remove(copy);
    ShowInViewer(pane, asText, info, row);
}

void TForm1::ShowInViewer(TDirData& pane, bool asText, bool info, int index)
{
    if (index < 0 || index >= pane.Count)
        return;
    m_viewer->StopViewers();
    const TFileData e = *pane.Item(index);
    ViewerHost::Item item{pane.Path, e.Name, e.Kind == fkFile};
    if (e.Kind == fkDrive)
        item.Folder.clear();   // a volume row's name is its whole mount point
    if (pane.ArchiveDepth > 0 && e.Kind == fkFile) {
        const QString copy = extractZipMember(pane, e.Name, QStringLiteral("zpttmp/vw"));
        if (copy.isEmpty())
            return;
        m_viewer->SetViewerTempFile(copy);
        item.Folder = copy.left(copy.lastIndexOf(QLatin1Char('/')) + 1);
    }
    SetViewerMode(pane, true);
    m_viewerShownPath = item.Folder + item.Name;
    m_viewer->Show(item, asText, info);
    m_viewerMenu->menuAction()->setVisible(m_viewer->TextFrame()->isVisible());
}

void TForm1::showViewerSides(bool viewerOn)
{
    // The viewer lies in the other pane's place: that pane's list, path row and filter
    // row make way, and the command column goes. Leaving restores both sides, whichever
    // pane is active by then.
    for (PanePanel* panel : {m_panLeft, m_panRight}) {
        const bool viewerSide = viewerOn && m_viewerSource && panel != PanelOf(*m_viewerSource);
        panel->ShowViewer(viewerSide);
        panel->TopPanel->setVisible(!viewerSide);
        panel->FilterPanel->setVisible(!viewerSide);
    }
    m_panCenter->setVisible(!viewerOn);
}

void TForm1::SetViewerMode(TDirData& pane, bool on)
{
    if (on) {
        m_viewerSource = &pane;
        m_viewer->Enter(PanelOf(pane.PaneId == 1 ? m_right : m_left)->ViewerPanel);
        showViewerSides(true);
        setWindowTitle(tr("Dorvane - ") + m_session.HotKeys().ViewerModeHint());
    } else {
        m_viewerMenu->menuAction()->setVisible(false);
        if (m_fullScreenViewer)
            ToggleFullScreenViewer();
        m_viewer->Leave();
        showViewerSides(false);
        m_viewerSource = nullptr;
        updateTitleHints();
    }
    applyPaneSplit();
    m_viewer->TextFrame()->SetCloseDown(on);
    const QSignalBlocker block(m_sbViewer);
    m_sbViewer->setChecked(on);
}

void TForm1::followSelection(TDirData& pane)
{
    // Keys move the current row quickly: the viewer catches up once they pause, so
    // holding Down over large pictures does not decode every one of them.
    if (!m_viewer->IsShown() || m_viewerSource != &pane)
        return;
    m_followTimer->disconnect();
    connect(m_followTimer, &QTimer::timeout, this, [this, &pane] {
        const int row = currentItemRow(pane);
        // A click has shown the row already; a re-read keeps it current.
        if (!m_viewer->IsShown() || m_viewerSource != &pane || row < 0
            || pane.Path + pane.Item(row)->Name == m_viewerShownPath)
            return;
        ShowInViewer(pane, false, false, row);
    });
    m_followTimer->start();
}

namespace {

// Whether a drive's hint tells its space: fixed, remote, CD and RAM drives always,
// removable ones only when a medium answers.
bool showsSpace(DriveType type, qint64 total)
{
    switch (type) {
    case DriveType::Fixed:
    case DriveType::Remote:
    case DriveType::CdRom:
    case DriveType::RamDisk:
        return true;
    case DriveType::Removable:
        return total > 0;
    default:
        return false;
    }
}

} // namespace

HintEntry TForm1::driveHint(const QString& mountPoint, HintEntry::Kind kind)
{
    HintEntry hint;
    hint.EntryKind = kind;
    hint.Name = mountPoint;
    hint.TotalBytes = m_driveSpace.DriveTotalBytes(mountPoint);
    hint.FreeBytes = m_driveSpace.DriveFreeBytes(mountPoint);
    DriveType type = DriveType::Unknown;
    for (const TVolume& v : m_volumes)
        if (v.mountPoint == mountPoint)
            type = v.type;
    hint.ShowsSpace = kind == HintEntry::Kind::DriveButton || showsSpace(type, hint.TotalBytes);
    return hint;
}

HintEntry TForm1::entryHint(const TDirData& pane, const TFileData& e)
{
    HintEntry hint;
    hint.EntryKind = e.Kind == fkFile ? HintEntry::Kind::File
                                      : (e.IsParent() ? HintEntry::Kind::Parent : HintEntry::Kind::Directory);
    hint.Name = DisplayFileName(e.Name);
    hint.DosTime = e.Time;
    hint.Size = e.Size;
    hint.SizeKnown = e.SizeKnown == 1;
    hint.AllocatedSize = e.AllocatedSize;
    hint.FileCount = e.FileCount;
    hint.DirCount = e.DirCount;
    hint.Viewable = e.Kind == fkFile && m_viewer->IsViewable(e.Name);
    hint.Hidden = (e.Attributes & faHidden) != 0;
    hint.Readonly = (e.Attributes & faReadOnly) != 0;
    hint.Description = e.Description;
    // Inside a zip the row is a member: there is no file to read a comment from.
    if (e.Kind == fkFile && pane.ArchiveDepth == 0 && m_session.Options().ShowZipComment
        && ArchiveLister::IsZipName(e.Name))
        hint.ZipComment = zipCommentOf(pane.Path + e.Name);
    return hint;
}

bool TForm1::showItemHint(QObject* watched, QHelpEvent* event)
{
    if (!m_session.Options().ShowListHints)
        return false;
    if (auto* button = qobject_cast<QToolButton*>(watched);
        button && button->objectName().startsWith(QLatin1String("TBDrive"))) {
        const int index = button->objectName().mid(7).toInt() - 1;
        if (index < 0 || index >= m_volumes.size())
            return false;
        const QString text = ItemHint::Text(driveHint(m_volumes.at(index).mountPoint, HintEntry::Kind::DriveButton));
        ItemHintWindow::Show(button, event->globalPos(), QRect(button->mapToGlobal(QPoint(0, 0)), button->size()),
                             text, ItemHint::MaxWidth(width() / 2));
        return true;
    }
    TDirData* pane = PaneOfList(watched);
    if (!pane || watched != pane->FileList->viewport())
        return false;
    const QModelIndex index = pane->FileList->indexAt(event->pos());
    if (!index.isValid() || index.row() >= pane->Count) {
        ItemHintWindow::Hide();
        return true;
    }
    const TFileData& e = *pane->Item(index.row());
    const HintEntry hint = e.Kind == fkDrive ? driveHint(e.Name, HintEntry::Kind::Drive) : entryHint(*pane, e);
    const QRect row = pane->FileList->visualRect(index);
    ItemHintWindow::Show(pane->FileList, event->globalPos(),
                         QRect(pane->FileList->viewport()->mapToGlobal(row.topLeft()), row.size()),
                         ItemHint::Text(hint), ItemHint::MaxWidth(pane->FileList->width()));
    return true;
}

bool TForm1::routeKeyToTextView(QObject* watched, QKeyEvent* key)
{
    // Without a menu the viewer owns the keyboard: plain keys move the text view, and
    // Ctrl+C copies its selection.
    TFRVwText* frame = m_viewer->TextFrame();
    auto* target = qobject_cast<QWidget*>(watched);
    if (!frame->isVisible() || (target && frame->View()->isAncestorOf(target)) || watched == frame->View())
        return false;
    const Qt::KeyboardModifiers mods = key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (mods == Qt::ControlModifier && key->key() == Qt::Key_C) {
        frame->CopyText();
        MessageBeep();
        return true;
    }
    if (mods != Qt::NoModifier)
        return false;
    QKeyEvent copy(key->type(), key->key(), key->modifiers(), key->text());
    QCoreApplication::sendEvent(frame->View(), &copy);
    return true;
}
