#include "fileops/TReadIconsThread.h"

#include "fileops/TDirSizeThread.h"
#include "platform/TSysImageList.h"
#include "platform/UiThreadCall.h"

TReadIconsThread::TReadIconsThread(int paneId, int generation, QStringList paths, QObject* context,
                                   Delivery deliver, QObject* parent)
    : QThread(parent)
    , m_paneId(paneId)
    , m_generation(generation)
    , m_paths(std::move(paths))
    , m_context(context)
    , m_deliver(std::move(deliver))
{
}

TReadIconsThread::~TReadIconsThread()
{
    Stop();
    wait();
}

void TReadIconsThread::Stop() { m_stop->store(true); }

void TReadIconsThread::run()
{
    LowerCurrentThreadPriority();
    const std::atomic<bool>& stop = *m_stop;
    for (int index = 0; index < m_paths.size() && !stop.load(); ++index) {
        const QString mimeType = TSysImageList::MimeTypeOf(m_paths.at(index));
        if (stop.load())
            break;
        RunOnUiThreadAndWait(m_context, [deliver = m_deliver, flag = m_stop, paneId = m_paneId,
                                         generation = m_generation, index, mimeType] {
            if (!flag->load())
                deliver(paneId, generation, index, mimeType);
        }, stop);
    }
}
