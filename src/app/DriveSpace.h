// Free and total space of volumes for the volume rows. A volume whose query failed is
// not asked again for one second, so a missing medium does not slow every repaint.
#pragma once

#include <QHash>
#include <QString>
#include <functional>

class DriveSpace {
public:
    using Query = std::function<bool(const QString& mountPoint, qint64* freeBytes, qint64* totalBytes)>;
    using Clock = std::function<qint64()>;   // milliseconds, steady

    DriveSpace();                        // asks the file system
    // Tests count the queries and move the clock.
    explicit DriveSpace(Query query, Clock clock = {});

    qint64 DriveFreeBytes(const QString& mountPoint);
    qint64 DriveTotalBytes(const QString& mountPoint);

private:
    struct Memory {
        qint64 failedAtMs = -1;          // clock reading of the last failure, -1 none
    };
    bool ask(const QString& mountPoint, qint64* freeBytes, qint64* totalBytes);

    Query m_query;
    Clock m_clock;
    QHash<QString, Memory> m_memory;
};
