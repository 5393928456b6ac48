#include "app/PaneBackgroundWork.h"

#include "fileops/TDirSizeThread.h"
#include "fileops/TReadIconsThread.h"
#include "platform/TSysImageList.h"

PaneBackgroundWork::PaneBackgroundWork(QObject* context, Receivers receivers)
    : m_context(context)
    , m_receivers(std::move(receivers))
{
}

PaneBackgroundWork::~PaneBackgroundWork()
{
    StopAll();
}

void PaneBackgroundWork::StartSizes()
{
    if (m_sizeThread)
        return;
    m_sizeThread = new TDirSizeThread(m_sizeQueue, m_context, m_receivers.SizeFound);
    m_sizeThread->start();
}

void PaneBackgroundWork::StopSizes()
{
    if (!m_sizeThread)
        return;
    m_sizeThread->Stop();
    delete m_sizeThread;
    m_sizeThread = nullptr;
}

void PaneBackgroundWork::QueueSizes(TDirData& pane)
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

void PaneBackgroundWork::WithdrawSizes(TDirData& pane)
{
    if (!pane.SizeRequests.isEmpty())
        m_sizeQueue.Withdraw(pane.SizeRequests);
    pane.SizeRequests.clear();
}

void PaneBackgroundWork::StartIcons(TDirData& pane)
{
    StopIcons(pane);
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
    auto* thread = new TReadIconsThread(pane.PaneId, int(pane.Generation), paths, m_context,
                                        [this, names](int paneId, int generation, int index, const QString& mime) {
                                            applyIcon(paneId, generation, index, names.value(index), mime);
                                        });
    QObject::connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    iconThreadOf(pane) = thread;
    thread->start();
}

QPointer<TReadIconsThread>& PaneBackgroundWork::iconThreadOf(const TDirData& pane)
{
    return m_iconThreads[pane.PaneId == 1 ? 0 : 1];
}

void PaneBackgroundWork::StopIcons(TDirData& pane)
{
    // The thread ends after its current entry and deletes itself.
    if (QPointer<TReadIconsThread>& thread = iconThreadOf(pane))
        thread->Stop();
    iconThreadOf(pane) = nullptr;
}

void PaneBackgroundWork::PrioritizeIcons(const TDirData& pane, int first, int last)
{
    if (TReadIconsThread* thread = m_iconThreads[pane.PaneId == 1 ? 0 : 1])
        thread->Prioritize(first, last);
}

void PaneBackgroundWork::StopAll()
{
    StopSizes();
    // Deleting waits for the thread, which never waits for this thread once stopped.
    for (QPointer<TReadIconsThread>& thread : m_iconThreads) {
        delete thread.data();
        thread = nullptr;
    }
}

void PaneBackgroundWork::applyIcon(int paneId, int generation, int index, const QString& name,
                                   const QString& mimeType)
{
    TDirData* pane = m_receivers.PaneOf(paneId);
    if (!pane || int(pane->Generation) != generation)
        return;
    const int row = rowOf(*pane, index, name);
    if (row < 0)
        return;
    TSysImageList& images = TSysImageList::Instance();
    m_receivers.IconFound(*pane, row, images.IndexForMimeType(mimeType), images.Handle());
}

int PaneBackgroundWork::rowOf(TDirData& pane, int index, const QString& name)
{
    if (index < pane.Count && pane.Item(index)->Name == name)
        return index;
    // A sort since the listing moved the rows. Searching the list for each of a
    // batch's thousand names would cost a million comparisons; the rows are indexed
    // by name once per order instead, and again only when a sort has moved them.
    NameIndex& byName = m_nameIndex[pane.PaneId == 1 ? 0 : 1];
    auto lookUp = [&]() -> int {
        const int row = byName.Rows.value(name, -1);
        return row >= 0 && row < pane.Count && pane.Item(row)->Name == name ? row : -1;
    };
    if (byName.Generation == int(pane.Generation))
        if (const int row = lookUp(); row >= 0)
            return row;
    byName.Generation = int(pane.Generation);
    byName.Rows.clear();
    byName.Rows.reserve(pane.Count);
    for (int i = 0; i < pane.Count; ++i)
        byName.Rows.insert(pane.Item(i)->Name, i);
    return lookUp();
}
