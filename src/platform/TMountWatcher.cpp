// Mount-table watcher (see TMountWatcher.h). How the kernel signals, from proc(5)
// and fs/proc_namespace.c: poll() on an open mountinfo file reports POLLPRI|POLLERR
// once per change of the namespace's mount table, and the poll itself clears the mark,
// so the file never needs to be read through this descriptor.
#include "platform/TMountWatcher.h"

#include <QSet>
#include <QSocketNotifier>

#include <algorithm>
#include <utility>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int kDefaultCoalesceMs = 200;

// What makes a volume "the same" for a pane: a stick swapped for another at the same
// mount point is a different volume even when both are vfat.
QString identityOf(const TVolume& volume)
{
    return volume.mountPoint + QChar(0) + volume.fsType + QChar(0) + volume.device;
}

QSet<QString> identitiesOf(const QVector<TVolume>& volumes)
{
    QSet<QString> ids;
    for (const TVolume& v : volumes)
        ids.insert(identityOf(v));
    return ids;
}

} // namespace

TMountWatcher::TMountWatcher(QObject* parent)
    : QObject(parent)
{
    m_coalesce.setSingleShot(true);
    m_coalesce.setInterval(kDefaultCoalesceMs);
    connect(&m_coalesce, &QTimer::timeout, this, &TMountWatcher::rereadVolumes);

    // Opened before the first read so that no change between the two is missed.
    m_fd = ::open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC);
    m_volumes = ListVolumes();
    if (m_fd < 0)
        return;
    m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Exception, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TMountWatcher::onKernelSignal);
}

TMountWatcher::~TMountWatcher()
{
    // The notifier must stop watching before its descriptor is closed.
    delete m_notifier;
    if (m_fd >= 0)
        ::close(m_fd);
}

bool TMountWatcher::IsWatching() const { return m_notifier != nullptr; }

const QVector<TVolume>& TMountWatcher::Volumes() const { return m_volumes; }

void TMountWatcher::SetCoalesceInterval(int milliseconds) { m_coalesce.setInterval(std::max(0, milliseconds)); }

void TMountWatcher::onKernelSignal()
{
    // A desktop mounting a disk touches the table several times (mount, remount,
    // propagation); the first signal opens the window and the rest fall into it.
    if (!m_coalesce.isActive())
        m_coalesce.start();
}

void TMountWatcher::rereadVolumes()
{
    QVector<TVolume> after = ListVolumes();
    // Most changes are to mounts a user never sees (/run, containers): stay quiet then.
    if (identitiesOf(after) == identitiesOf(m_volumes))
        return;
    const QVector<TVolume> before = std::exchange(m_volumes, std::move(after));
    Q_EMIT MountsChanged(before, m_volumes);
}

QStringList TMountWatcher::AffectedMountPoints(const QVector<TVolume>& before, const QVector<TVolume>& after)
{
    const QSet<QString> beforeIds = identitiesOf(before);
    const QSet<QString> afterIds = identitiesOf(after);
    QSet<QString> points;
    for (const TVolume& v : before) {
        if (!afterIds.contains(identityOf(v)))
            points.insert(v.mountPoint);
    }
    for (const TVolume& v : after) {
        if (!beforeIds.contains(identityOf(v)))
            points.insert(v.mountPoint);
    }
    QStringList sorted(points.cbegin(), points.cend());
    sorted.sort();
    return sorted;
}
