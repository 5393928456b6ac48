#include "fileops/TReadIconsThread.h"

#include "platform/FileNames.h"
#include "platform/LowerCurrentThreadPriority.h"
#include "platform/TSysImageList.h"
#include "platform/UiThreadCall.h"

#include <QElapsedTimer>
#include <QSet>
#include <cstring>
#include <dirent.h>
#include <vector>

namespace {

// The names of the plain files in `folder`, from one read of it: asking the file
// system whether each entry is a folder cost 40 ms of a 16,384-entry pass, ten times
// the MIME lookup itself. Links and entries of unknown kind are left out, so they are
// still asked about one by one.
QSet<QString> plainFilesIn(const QString& folder)
{
    QSet<QString> files;
    DIR* dir = ::opendir(EncodeFileName(folder).constData());
    if (!dir)
        return files;
    while (const dirent* entry = ::readdir(dir))
        if (entry->d_type == DT_REG)
            files.insert(DecodeFileName(entry->d_name, qsizetype(strlen(entry->d_name))));
    ::closedir(dir);
    return files;
}

// The one folder all `paths` lie in directly, or an empty string.
QString commonFolderOf(const QStringList& paths)
{
    QString folder;
    for (const QString& path : paths) {
        const qsizetype slash = path.lastIndexOf(u'/');
        if (slash < 0)
            continue;   // a drive's own name
        if (folder.isEmpty())
            folder = path.left(slash + 1);
        else if (slash + 1 != folder.size() || !path.startsWith(folder))
            return {};
    }
    return folder;
}

} // namespace

TReadIconsThread::TReadIconsThread(int paneId, int generation, QStringList paths, QObject* context,
                                   Delivery deliver, QObject* parent)
    : QThread(parent)
    , m_paneId(paneId)
    , m_generation(generation)
    , m_paths(std::move(paths))
    , m_context(context)
    , m_deliver(std::move(deliver))
{
    ++s_unfinished;
}

TReadIconsThread::~TReadIconsThread()
{
    Stop();
    wait();
    if (m_counted.exchange(false))   // never started
        --s_unfinished;
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
    const QString folder = commonFolderOf(m_paths);
    const QSet<QString> plainFiles = folder.isEmpty() ? QSet<QString>() : plainFilesIn(folder);
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
        const QString& path = m_paths.at(index);
        const bool plainFile =
            !plainFiles.isEmpty() && path.startsWith(folder) && plainFiles.contains(path.mid(folder.size()));
        batch.push_back({index, plainFile ? TSysImageList::MimeTypeOfFile(path) : TSysImageList::MimeTypeOf(path)});
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
    if (m_counted.exchange(false))
        --s_unfinished;
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
