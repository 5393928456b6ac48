// Volumes from the kernel's mount table (see DriveList.h). The format of
// /proc/self/mountinfo is documented in proc(5):
//   36 35 98:0 /mnt1 /mnt2 rw,noatime master:1 - ext3 /dev/root rw,errors=continue
//   id parent major:minor root mount-point options [optional fields] - type source super-options
// Mount points and sources escape space, tab, newline and backslash as \ooo.
#include "DriveList.h"

#include "FileNames.h"

#include <QHash>
#include <QList>
#include <QSet>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

// At most as many volumes as there were drive letters.
constexpr int kMaxVolumes = 26;

QByteArray decodeOctalEscapes(const QByteArray& field)
{
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const char c = field[i];
        if (c == '\\' && i + 3 < field.size()) {
            const char a = field[i + 1], b = field[i + 2], d = field[i + 3];
            if (a >= '0' && a <= '3' && b >= '0' && b <= '7' && d >= '0' && d <= '7') {
                out += char(((a - '0') << 6) | ((b - '0') << 3) | (d - '0'));
                i += 3;
                continue;
            }
        }
        out += c;
    }
    return out;
}

bool isPseudoFileSystem(const QByteArray& fsType)
{
    static const QSet<QByteArray> pseudo = {
        "proc", "sysfs", "devpts", "devtmpfs", "cgroup", "cgroup2", "securityfs", "pstore",
        "bpf", "debugfs", "tracefs", "mqueue", "hugetlbfs", "configfs", "fusectl", "autofs",
        "binfmt_misc", "efivarfs", "nsfs", "rpc_pipefs", "squashfs", "selinuxfs",
        "fuse.gvfsd-fuse", "fuse.portal", "fuse.snapfuse", "fuse.lxcfs",
    };
    return pseudo.contains(fsType);
}

bool isAtOrUnder(const QByteArray& path, const char* folder)
{
    const qsizetype n = qstrlen(folder);
    return path.startsWith(folder) && (path.size() == n || path[n] == '/');
}

// System folders, snaps and container storage are no places a user works in;
// removable media that udisks mounts under /run/media are.
bool isSystemPlace(const QByteArray& mountPoint)
{
    if (isAtOrUnder(mountPoint, "/run"))
        return !mountPoint.startsWith("/run/media/");
    for (const char* folder : {"/proc", "/sys", "/dev", "/snap", "/var/lib/docker", "/var/lib/containers"}) {
        if (isAtOrUnder(mountPoint, folder))
            return true;
    }
    return false;
}

bool isUserVolume(const QByteArray& mountPoint, const QByteArray& fsType)
{
    if (mountPoint == "/")
        return true;   // whatever the root is (overlay in a container, tmpfs on a live system)
    if (isPseudoFileSystem(fsType) || fsType == "overlay")
        return false;
    return !isSystemPlace(mountPoint);
}

QByteArray readWholeFile(const char* path)
{
    QByteArray bytes;
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return bytes;
    char buffer[16384];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        bytes.append(buffer, n);
    }
    ::close(fd);
    return bytes;
}

bool sysfsFlagSet(const QByteArray& file)
{
    return readWholeFile(file.constData()).trimmed() == "1";
}

// A partition's "removable" flag is kept by its disk, the folder above it in sysfs.
bool isRemovableBlockDevice(const QString& device)
{
    struct stat st;
    if (::stat(EncodeFileName(device).constData(), &st) != 0 || !S_ISBLK(st.st_mode))
        return false;
    const QByteArray link = "/sys/dev/block/" + QByteArray::number(major(st.st_rdev)) + ':'
        + QByteArray::number(minor(st.st_rdev));
    char resolved[PATH_MAX];
    if (!::realpath(link.constData(), resolved))
        return false;
    const QByteArray folder(resolved);
    if (sysfsFlagSet(folder + "/removable"))
        return true;
    const qsizetype slash = folder.lastIndexOf('/');
    return slash > 0 && sysfsFlagSet(folder.left(slash) + "/removable");
}

} // namespace

QVector<TVolume> ParseMountInfo(const QByteArray& mountinfo)
{
    // Later lines are mounted on top of earlier ones: the last mount of a point wins.
    QHash<QByteArray, TVolume> byMountPoint;
    QHash<QByteArray, bool> keep;
    for (const QByteArray& line : mountinfo.split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        const qsizetype dash = fields.indexOf(QByteArray("-"), 6);   // after the six fixed fields
        if (dash < 6 || dash + 2 >= fields.size())
            continue;
        const QByteArray mountPoint = decodeOctalEscapes(fields[4]);
        if (!mountPoint.startsWith('/'))
            continue;
        const QByteArray& fsType = fields[dash + 1];
        TVolume volume;
        volume.mountPoint = DecodeFileName(mountPoint);
        volume.device = DecodeFileName(decodeOctalEscapes(fields[dash + 2]));
        volume.fsType = QString::fromLatin1(fsType);
        byMountPoint.insert(mountPoint, volume);
        keep.insert(mountPoint, isUserVolume(mountPoint, fsType));
    }

    QVector<TVolume> volumes;
    for (auto it = byMountPoint.cbegin(); it != byMountPoint.cend(); ++it) {
        if (keep.value(it.key()))
            volumes += it.value();
    }
    if (!byMountPoint.contains("/")) {
        TVolume root;
        root.mountPoint = QStringLiteral("/");
        volumes += root;
    }
    std::sort(volumes.begin(), volumes.end(), [](const TVolume& a, const TVolume& b) {
        if ((a.mountPoint == u'/') != (b.mountPoint == u'/'))
            return a.mountPoint == u'/';
        return a.mountPoint < b.mountPoint;
    });
    if (volumes.size() > kMaxVolumes)
        volumes.resize(kMaxVolumes);
    for (TVolume& volume : volumes)
        volume.type = volume.fsType.isEmpty() ? DriveType::Fixed : DriveTypeOf(volume.fsType, volume.device);
    return volumes;
}

QVector<TVolume> ListVolumes() { return ParseMountInfo(readWholeFile("/proc/self/mountinfo")); }

QList<QByteArray> AllMountPoints()
{
    QList<QByteArray> points;
    for (const QByteArray& line : readWholeFile("/proc/self/mountinfo").split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() > 4)
            points += decodeOctalEscapes(fields[4]);
    }
    return points;
}

QString VolumeRootOf(const QString& path, const QVector<TVolume>& volumes)
{
    QString bestRoot = QStringLiteral("/");
    qsizetype bestLength = 0;
    QString target = path;
    while (target.size() > 1 && target.endsWith(u'/'))
        target.chop(1);
    for (const TVolume& volume : volumes) {
        QString root = volume.mountPoint;
        while (root.size() > 1 && root.endsWith(u'/'))
            root.chop(1);
        if (root.size() <= bestLength || root == u'/')
            continue;
        // "/home" holds "/home" and "/home/x" but not "/homework".
        if (target == root || (target.startsWith(root) && target[root.size()] == u'/')) {
            bestRoot = root;
            bestLength = root.size();
        }
    }
    return bestRoot;
}

bool DiskSpace(const QString& path, qint64* freeBytes, qint64* totalBytes)
{
    struct statvfs st;
    if (::statvfs(EncodeFileName(path).constData(), &st) != 0)
        return false;
    if (freeBytes)
        *freeBytes = qint64(st.f_bavail) * qint64(st.f_frsize);
    if (totalBytes)
        *totalBytes = qint64(st.f_blocks) * qint64(st.f_frsize);
    return true;
}

DriveType DriveTypeOf(const QString& fsType, const QString& device)
{
    static const QSet<QString> remote = {
        QStringLiteral("nfs"), QStringLiteral("nfs4"), QStringLiteral("cifs"),
        QStringLiteral("smb3"), QStringLiteral("smbfs"), QStringLiteral("fuse.sshfs"),
        QStringLiteral("fuse.rclone"), QStringLiteral("9p"), QStringLiteral("afs"),
        QStringLiteral("ceph"), QStringLiteral("glusterfs"), QStringLiteral("fuse.glusterfs"),
        QStringLiteral("davfs"), QStringLiteral("fuse.davfs2"),
    };
    if (remote.contains(fsType))
        return DriveType::Remote;
    if (fsType == u"iso9660" || fsType == u"udf")
        return DriveType::CdRom;
    if (fsType == u"tmpfs" || fsType == u"ramfs")
        return DriveType::RamDisk;
    if (device.startsWith(QStringLiteral("/dev/")) && isRemovableBlockDevice(device))
        return DriveType::Removable;
    return DriveType::Fixed;
}
