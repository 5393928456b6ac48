// Volumes: the mounted file systems a user works with, from /proc/self/mountinfo.
// They stand where a drive list would stand: "/" first, at most 26, pseudo file
// systems, snaps and container internals left out.
#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

enum class DriveType { Unknown, Removable, Fixed, Remote, CdRom, RamDisk };

struct TVolume {
    QString mountPoint;   // "/", "/home", "/media/usb" (no trailing slash except "/")
    QString device;       // mount source
    QString fsType;       // "ext4", "nfs", ...
    DriveType type = DriveType::Unknown;
};

// Parses mountinfo text; kept separate from the file so tests and fuzzing can feed it.
QVector<TVolume> ParseMountInfo(const QByteArray& mountinfo);
// The volumes of this machine now.
QVector<TVolume> ListVolumes();
// Every mount point of this process now, pseudo file systems included, as the bytes
// the file system holds.
QList<QByteArray> AllMountPoints();

// The mount point of the volume that holds path (longest prefix on a name boundary);
// "/" when nothing else matches.
QString VolumeRootOf(const QString& path, const QVector<TVolume>& volumes);

// Bytes available to the user and total bytes of the file system holding path.
bool DiskSpace(const QString& path, qint64* freeBytes, qint64* totalBytes);

// The type a mount of this file system type and device has.
DriveType DriveTypeOf(const QString& fsType, const QString& device);
