// Free and total space of volume rows: a failed query waits a second before it is
// asked again, a good one is asked every time.
#include "app/DriveSpace.h"

#include <gtest/gtest.h>

#include <QDir>

namespace {

TEST(DriveSpace, failedVolumeIsAskedOnEveryRepaint)
{
    QHash<QString, int> calls;
    qint64 now = 5000;
    DriveSpace space([&](const QString& mount, qint64* freeBytes, qint64* totalBytes) {
        ++calls[mount];
        if (mount == QLatin1String("/gone"))
            return false;
        *freeBytes = 1000;
        *totalBytes = 5000;
        return true;
    }, [&] { return now; });
    EXPECT_EQ(space.DriveFreeBytes("/gone"), 0);
    EXPECT_EQ(space.DriveTotalBytes("/gone"), 0);
    EXPECT_EQ(space.DriveFreeBytes("/gone"), 0);
    EXPECT_EQ(calls.value("/gone"), 1);

    // Another volume is not held back by the failed one.
    EXPECT_EQ(space.DriveFreeBytes("/ok"), 1000);
    EXPECT_EQ(space.DriveTotalBytes("/ok"), 5000);
    EXPECT_EQ(space.DriveFreeBytes("/ok"), 1000);
    EXPECT_EQ(calls.value("/ok"), 3);

    now += 999;
    EXPECT_EQ(space.DriveFreeBytes("/gone"), 0);
    EXPECT_EQ(calls.value("/gone"), 1);
    now += 1;
    EXPECT_EQ(space.DriveFreeBytes("/gone"), 0);
    EXPECT_EQ(calls.value("/gone"), 2);
}

TEST(DriveSpace, realQueryReportsNothingForTheRoot)
{
    DriveSpace space;
    const qint64 total = space.DriveTotalBytes(QDir::rootPath());
    EXPECT_GT(total, 0);
    EXPECT_LE(space.DriveFreeBytes(QDir::rootPath()), total);
}

} // namespace
