#include "app/DriveSpace.h"

#include "platform/DriveList.h"

DriveSpace::DriveSpace()
    : DriveSpace(&DiskSpace)
{
}

DriveSpace::DriveSpace(Query query)
    : m_query(std::move(query))
{
    m_clock.start();
}

bool DriveSpace::ask(const QString& mountPoint, qint64* freeBytes, qint64* totalBytes)
{
    Memory& mem = m_memory[mountPoint];
    if (mem.failedAtMs >= 0 && m_clock.elapsed() - mem.failedAtMs < 1000)
        return false;
    if (m_query(mountPoint, freeBytes, totalBytes)) {
        mem.failedAtMs = -1;
        return true;
    }
    mem.failedAtMs = m_clock.elapsed();
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
