#include "fileops/TReadIconsThread.h"

#include "fileops/TDirSizeThread.h"
#include "platform/TSysImageList.h"
#include "platform/UiThreadCall.h"

#include <QElapsedTimer>
#include <vector>

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

void TReadIconsThread::Prioritize(int first, int last)
{
    m_priority.store((uint64_t(uint32_t(std::max(0, first))) << 32) | uint32_t(std::max(-1, last)));
}

void TReadIconsThread::run()
{
    LowerCurrentThreadPriority();
    const std::atomic<bool>& stop = *m_stop;
    const int count = int(m_paths.size());
    std::vector<bool> done(size_t(count), false);
    int next = 0;                       // the next row in list order
    uint64_t priority = kNoRows;        // the prioritized rows being worked on
    int priorityNext = 0;
    int priorityLast = -1;
    std::vector<Found> batch;
    QElapsedTimer sinceDelivery;
    sinceDelivery.start();
    while (!stop.load()) {
        const uint64_t asked = m_priority.load();
        if (asked != priority) {
            priority = asked;
            priorityNext = asked == kNoRows ? 0 : int(asked >> 32);
            priorityLast = asked == kNoRows ? -1 : std::min(count - 1, int(int32_t(uint32_t(asked))));
        }
        int index = -1;
        while (priorityNext <= priorityLast && index < 0) {
            if (!done[size_t(priorityNext)])
                index = priorityNext;
            ++priorityNext;
        }
        const bool onScreen = index >= 0;
        if (!onScreen) {
            while (next < count && done[size_t(next)])
                ++next;
            if (next == count)
                break;
            index = next++;
        }
        done[size_t(index)] = true;
        batch.push_back({index, TSysImageList::MimeTypeOf(m_paths.at(index))});
        // The rows on screen are what the user waits for: they go over at once.
        const bool screenDone = onScreen && priorityNext > priorityLast;
        if (screenDone || int(batch.size()) >= kBatchEntries || sinceDelivery.elapsed() >= kBatchMsecs) {
            deliver(std::move(batch));
            batch.clear();
            sinceDelivery.restart();
        }
    }
    if (!batch.empty() && !stop.load())
        deliver(std::move(batch));
}

void TReadIconsThread::deliver(std::vector<Found>&& batch)
{
    RunOnUiThreadAndWait(m_context, [deliver = m_deliver, flag = m_stop, paneId = m_paneId,
                                     generation = m_generation, batch = std::move(batch)] {
        // A delivery may stop the thread; the rest of the batch is then dropped.
        for (const Found& found : batch) {
            if (flag->load())
                return;
            deliver(paneId, generation, found.Index, found.MimeType);
        }
    }, *m_stop);
}
