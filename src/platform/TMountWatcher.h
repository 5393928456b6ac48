// Tells when the mount table changes: the stand-in for the device-change broadcast.
// The kernel marks /proc/self/mountinfo with POLLPRI whenever a mount or unmount
// happens in this mount namespace; the watcher then re-reads the volume list and
// reports it when the volumes a user sees actually differ.
// UI thread only (the notifier and the timer live in the thread that made the watcher).
#pragma once

#include "platform/DriveList.h"

#include <QObject>
#include <QStringList>
#include <QTimer>
#include <QVector>

class QSocketNotifier;

class TMountWatcher : public QObject {
    Q_OBJECT
public:
    explicit TMountWatcher(QObject* parent = nullptr);
    ~TMountWatcher() override;

    // False when the mount table could not be opened (no /proc): nothing is reported then.
    bool IsWatching() const;
    // The volumes as last read.
    const QVector<TVolume>& Volumes() const;
    // How long a burst of changes is gathered into one report (200 ms by default).
    void SetCoalesceInterval(int milliseconds);

    // The mount points whose volume appeared, went away or was replaced by another
    // (different file system type or device), sorted, each once.
    static QStringList AffectedMountPoints(const QVector<TVolume>& before, const QVector<TVolume>& after);

Q_SIGNALS:
    void MountsChanged(const QVector<TVolume>& before, const QVector<TVolume>& after);

private:
    void onKernelSignal();
    void rereadVolumes();

    int m_fd = -1;
    QSocketNotifier* m_notifier = nullptr;
    QTimer m_coalesce;
    QVector<TVolume> m_volumes;
};
