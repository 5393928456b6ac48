// Work the panes hand to background threads: folder sizes, measured for the whole
// program by one thread, and the icons of each listing, looked up by a thread of its
// own. Results come back to the UI thread and repaint only their row.
#include "app/TForm1.h"

#include "fileops/TDirSizeThread.h"
#include "fileops/TReadIconsThread.h"
#include "platform/TSysImageList.h"

void TForm1::StartDirSizeThread()
{
    if (m_dirSizeThread)
        return;
    m_dirSizeThread = new TDirSizeThread(m_sizeQueue, this, [this](const DirSizeResult& r) {
        DirSizeFound(r.Path, r.FileCount, r.DirCount, r.AllocatedSize, r.Size);
    });
    m_dirSizeThread->start();
}

void TForm1::StopDirSizeThread()
{
    if (!m_dirSizeThread)
        return;
    m_dirSizeThread->Stop();
    delete m_dirSizeThread;
    m_dirSizeThread = nullptr;
}

void TForm1::QueueDirectorySizes(TDirData& pane)
{
    QStringList folders;
    for (int i = 0; i < pane.DirCount; ++i) {
        const TFileData& e = *pane.Item(i);
        if (e.Kind == fkDirectory && !e.IsParent())
            folders << pane.Path + e.Name;
    }
    pane.SizeRequests = folders;
    m_sizeQueue.Queue(folders);
}

void TForm1::WithdrawDirectorySizes(TDirData& pane)
{
    if (!pane.SizeRequests.isEmpty())
        m_sizeQueue.Withdraw(pane.SizeRequests);
    pane.SizeRequests.clear();
}

void TForm1::StartIconThread(TDirData& pane)
{
    StopIconThread(pane);
    QStringList paths;
    QStringList names;
    for (int i = 0; i < pane.Count; ++i) {
        const TFileData& e = *pane.Item(i);
        names << e.Name;
        if (e.Kind == fkDrive)
            paths << e.Name;
        else if (e.IsParent())
            paths << pane.Path + QLatin1Char('.');
        else
            paths << pane.Path + e.Name;
    }
    auto* thread = new TReadIconsThread(pane.PaneId, int(pane.Generation), paths, this,
                                        [this, names](int paneId, int generation, int index, const QString& mime) {
                                            ApplyIcon(paneId, generation, index, names.value(index), mime);
                                        });
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    iconThreadOf(pane) = thread;
    thread->start();
}

QPointer<TReadIconsThread>& TForm1::iconThreadOf(const TDirData& pane)
{
    return m_iconThreads[pane.PaneId == 1 ? 0 : 1];
}

void TForm1::StopIconThread(TDirData& pane)
{
    // The thread ends after its current entry and deletes itself.
    if (QPointer<TReadIconsThread>& thread = iconThreadOf(pane))
        thread->Stop();
    iconThreadOf(pane) = nullptr;
}

void TForm1::ApplyIcon(int paneId, int generation, int index, const QString& name, const QString& mimeType)
{
    TDirData* pane = paneId == 1 ? &m_left : (paneId == 2 ? &m_right : nullptr);
    if (!pane || int(pane->Generation) != generation)
        return;
    // A sort since the listing moves rows; the name finds the entry again.
    if (index >= pane->Count || pane->Item(index)->Name != name) {
        index = -1;
        for (int i = 0; i < pane->Count; ++i)
            if (pane->Item(i)->Name == name) {
                index = i;
                break;
            }
        if (index < 0)
            return;
    }
    TSysImageList& images = TSysImageList::Instance();
    NewIconFound(paneId, index, images.IndexForMimeType(mimeType), images.Handle());
}
