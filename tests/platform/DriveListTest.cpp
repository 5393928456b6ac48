// Volumes: which mounts a user sees, in which order, and which volume holds a path.
#include "platform/DriveList.h"

#include "QtPrinters.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

QStringList mountPoints(const QVector<TVolume>& volumes)
{
    QStringList points;
    for (const TVolume& v : volumes)
        points += v.mountPoint;
    return points;
}

const TVolume* volumeAt(const QVector<TVolume>& volumes, const QString& mountPoint)
{
    for (const TVolume& v : volumes) {
        if (v.mountPoint == mountPoint)
            return &v;
    }
    return nullptr;
}

const QByteArray kSample =
    "22 27 0:21 / /proc rw,relatime shared:12 - proc proc rw\n"
    "23 27 0:22 / /sys rw,relatime - sysfs sysfs rw\n"
    "24 27 0:6 / /dev rw - devtmpfs udev rw,size=100k\n"
    "25 24 0:23 / /dev/shm rw - tmpfs tmpfs rw\n"
    "26 23 0:24 / /sys/fs/cgroup rw - cgroup2 cgroup2 rw\n"
    "27 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
    "28 27 8:2 / /home rw,relatime shared:2 master:3 - ext4 /dev/sda2 rw\n"
    "29 27 0:30 / /run rw - tmpfs tmpfs rw\n"
    "30 29 0:31 / /run/user/1000 rw - tmpfs tmpfs rw\n"
    "31 29 8:17 / /run/media/anna/USB\\040STICK rw - vfat /dev/sdb1 rw\n"
    "32 27 0:33 / /tmp rw - tmpfs tmpfs rw\n"
    "33 27 7:0 / /snap/core/123 ro - squashfs /dev/loop0 ro\n"
    "34 27 0:40 / /var/lib/docker/overlay2/abc/merged rw - overlay overlay rw\n"
    "35 27 0:41 / /mnt/share rw - cifs //srv/My\\040Share rw\n"
    "36 27 8:3 / /mnt/data rw - ext4 /dev/sda3 rw\n"
    "37 27 0:42 / /mnt/data rw - nfs4 srv:/export rw\n"
    "38 27 8:4 / /mnt/back\\134slash rw - ext4 /dev/sda4 rw\n"
    "39 22 0:43 / /proc/sys/fs/binfmt_misc rw - binfmt_misc binfmt_misc rw\n"
    "40 27 0:44 / /srv/overlay rw - overlay overlay rw\n"
    "41 27 8:5 / /boot/efi rw - vfat /dev/sda5 rw\n"
    "this line is not a mount\n"
    "42 27 8:6 / /broken rw\n"
    "\n";

TEST(DriveList, userVolumesAreKeptAndSystemMountsLeftOut)
{
    const QVector<TVolume> volumes = ParseMountInfo(kSample);
    EXPECT_EQ(mountPoints(volumes),
              QStringList({"/", "/boot/efi", "/home", "/mnt/back\\slash", "/mnt/data", "/mnt/share",
                           "/run/media/anna/USB STICK", "/tmp"}));
    const TVolume* share = volumeAt(volumes, QStringLiteral("/mnt/share"));
    ASSERT_NE(share, nullptr);
    EXPECT_EQ(share->device, QStringLiteral("//srv/My Share"));
    EXPECT_EQ(share->type, DriveType::Remote);
    // The top mount of a point hides the one below it.
    const TVolume* data = volumeAt(volumes, QStringLiteral("/mnt/data"));
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->fsType, QStringLiteral("nfs4"));
    EXPECT_EQ(data->type, DriveType::Remote);
    EXPECT_EQ(volumeAt(volumes, QStringLiteral("/tmp"))->type, DriveType::RamDisk);
    EXPECT_EQ(volumes.first().device, QStringLiteral("/dev/sda1"));
}

TEST(DriveList, rootComesFirstEvenWhenMissingAndTheListStopsAt26)
{
    QByteArray text;
    for (int i = 0; i < 40; ++i)
        text += "5" + QByteArray::number(i) + " 1 8:1 / /media/v" + QByteArray::number(100 + i)
            + " rw - ext4 /dev/x rw\n";
    const QVector<TVolume> volumes = ParseMountInfo(text);
    ASSERT_EQ(volumes.size(), 26);
    EXPECT_EQ(volumes.first().mountPoint, QStringLiteral("/"));
    EXPECT_EQ(volumes[1].mountPoint, QStringLiteral("/media/v100"));
    EXPECT_EQ(volumes.last().mountPoint, QStringLiteral("/media/v124"));
    EXPECT_EQ(mountPoints(ParseMountInfo(QByteArray())), QStringList{"/"});
}

TEST(DriveList, overlayRootOfAContainerIsKept)
{
    const QVector<TVolume> volumes = ParseMountInfo("1 0 0:50 / / rw - overlay overlay rw,lowerdir=/a\n");
    ASSERT_EQ(volumes.size(), 1);
    EXPECT_EQ(volumes[0].fsType, QStringLiteral("overlay"));
}

TEST(DriveList, volumeRootMatchesOnNameBoundaries)
{
    QVector<TVolume> volumes(3);
    volumes[0].mountPoint = QStringLiteral("/");
    volumes[1].mountPoint = QStringLiteral("/home");
    volumes[2].mountPoint = QStringLiteral("/home/anna/mnt");
    EXPECT_EQ(VolumeRootOf(QStringLiteral("/homework/x"), volumes), QStringLiteral("/"));
    EXPECT_EQ(VolumeRootOf(QStringLiteral("/home"), volumes), QStringLiteral("/home"));
    EXPECT_EQ(VolumeRootOf(QStringLiteral("/home/"), volumes), QStringLiteral("/home"));
    EXPECT_EQ(VolumeRootOf(QStringLiteral("/home/anna/"), volumes), QStringLiteral("/home"));
    EXPECT_EQ(VolumeRootOf(QStringLiteral("/home/anna/mnt/a/"), volumes), QStringLiteral("/home/anna/mnt"));
    EXPECT_EQ(VolumeRootOf(QStringLiteral("/home/anna/mntx"), volumes), QStringLiteral("/home"));
    EXPECT_EQ(VolumeRootOf(QStringLiteral("/"), volumes), QStringLiteral("/"));
    EXPECT_EQ(VolumeRootOf(QStringLiteral("/etc"), {}), QStringLiteral("/"));
}

TEST(DriveList, driveTypesFollowTheFileSystem)
{
    const struct {
        const char* fsType;
        DriveType type;
    } table[] = {
        {"nfs", DriveType::Remote},      {"nfs4", DriveType::Remote},       {"cifs", DriveType::Remote},
        {"smb3", DriveType::Remote},     {"fuse.sshfs", DriveType::Remote}, {"fuse.rclone", DriveType::Remote},
        {"9p", DriveType::Remote},       {"iso9660", DriveType::CdRom},     {"udf", DriveType::CdRom},
        {"tmpfs", DriveType::RamDisk},   {"ramfs", DriveType::RamDisk},     {"ext4", DriveType::Fixed},
        {"btrfs", DriveType::Fixed},
    };
    for (const auto& row : table)
        EXPECT_EQ(DriveTypeOf(QString::fromLatin1(row.fsType), QStringLiteral("/dev/none-such")), row.type)
            << row.fsType;
}

TEST(DriveList, thisMachineListsRootFirstAndItsSpace)
{
    const QVector<TVolume> volumes = ListVolumes();
    ASSERT_FALSE(volumes.isEmpty());
    EXPECT_EQ(volumes.first().mountPoint, QStringLiteral("/"));
    EXPECT_LE(volumes.size(), 26);
    EXPECT_EQ(volumeAt(volumes, QStringLiteral("/proc")), nullptr);

    qint64 freeBytes = -1, totalBytes = -1;
    ASSERT_TRUE(DiskSpace(QStringLiteral("/"), &freeBytes, &totalBytes));
    EXPECT_GT(totalBytes, 0);
    EXPECT_GE(freeBytes, 0);
    EXPECT_LE(freeBytes, totalBytes);
    EXPECT_FALSE(DiskSpace(QStringLiteral("/no/such/place"), &freeBytes, &totalBytes));
}

} // namespace
