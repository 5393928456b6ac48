#include "app/DriveSpace.h"

#include "platform/DriveList.h"

#include <chrono>

DriveSpace::DriveSpace()
    : DriveSpace(&DiskSpace)
{
}

DriveSpace::DriveSpace(Query query, Clock clock)
    : m_query(std::move(query))
    , m_clock(std::move(clock))
{
    if (!m_clock)
        m_clock = [] {
            return qint64(std::chrono::duration_cast<std::chrono::milliseconds>(
                              std::chrono::steady_clock::now().time_since_epoch()).count());
        };
}

bool DriveSpace::ask(const QString& mountPoint, qint64* freeBytes, qint64* totalBytes)
{
    Memory& mem = m_memory[mountPoint];
    if (mem.failedAtMs >= 0 && m_clock() - mem.failedAtMs < 1000)
        return false;
    if (m_query(mountPoint, freeBytes, totalBytes)) {
        mem.failedAtMs = -1;
        return true;
    }
    mem.failedAtMs = m_clock();
    return false;
}

qint64 DriveSpace::DriveFreeBytes(const QString& mountPoint)
{
    qint64 freeBytes = 0;
    qint64 totalBytes = 0;
    return ask(mountPoint, &freeBytes, &totalBytes) ? freeBytes : 0;
}

qint64 DriveSpace::DriveTotalBytes(const QString& mountPoint)
{
    qint64 freeBytes = 0;
    qint64 totalBytes = 0;
    return ask(mountPoint, &freeBytes, &totalBytes) ? totalBytes : 0;
}
