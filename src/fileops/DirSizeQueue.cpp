#include "fileops/DirSizeQueue.h"

#include <QDeadlineTimer>
#include <QMutexLocker>
#include <limits>

void DirSizeQueue::Queue(const QStringList& folders)
{
    QMutexLocker locker(&m_lock);
    for (const QString& folder : folders) {
        const auto found = m_byPath.constFind(folder);
        if (found == m_byPath.cend()) {
            m_requests.push_back(Request{folder, 1});
            m_byPath.insert(folder, std::prev(m_requests.end()));
        } else if (found.value()->Count < std::numeric_limits<uint16_t>::max()) {
            // Saturates rather than wrapping to 0, which would lose the request early.
            ++found.value()->Count;
        }
    }
    wakeLocked();
}

void DirSizeQueue::Withdraw(const QStringList& folders)
{
    QMutexLocker locker(&m_lock);
    for (const QString& folder : folders) {
        const auto found = m_byPath.find(folder);
        if (found == m_byPath.end())
            continue;
        if (found.value()->Count < 2) {
            m_requests.erase(found.value());
            m_byPath.erase(found);
        } else {
            --found.value()->Count;
        }
    }
}

bool DirSizeQueue::Take(QString* path, bool* more)
{
    QMutexLocker locker(&m_lock);
    if (m_requests.empty()) {
        *more = false;
        return false;
    }
    *path = std::move(m_requests.front().Path);
    m_byPath.remove(*path);
    m_requests.pop_front();
    *more = !m_requests.empty();
    return true;
}

bool DirSizeQueue::WaitForWork(int msecs)
{
    QMutexLocker locker(&m_lock);
    QDeadlineTimer deadline(msecs);
    // Loops because a condition variable may wake without being signalled.
    while (!m_signalled)
        if (!m_woken.wait(&m_lock, deadline))
            break;
    const bool woken = m_signalled;
    m_signalled = false;
    return woken;
}

void DirSizeQueue::Wake()
{
    QMutexLocker locker(&m_lock);
    wakeLocked();
}

int DirSizeQueue::CountOf(const QString& path) const
{
    QMutexLocker locker(&m_lock);
    const auto found = m_byPath.constFind(path);
    return found == m_byPath.cend() ? 0 : found.value()->Count;
}

QStringList DirSizeQueue::Paths() const
{
    QMutexLocker locker(&m_lock);
    QStringList paths;
    for (const Request& r : m_requests)
        paths.append(r.Path);
    return paths;
}

void DirSizeQueue::wakeLocked()
{
    m_signalled = true;
    m_woken.wakeAll();
}
