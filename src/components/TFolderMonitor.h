// A pane's folder monitor: tells the pane to re-read when its folder changes on disk
// (names, sizes, write times, or the folder itself going away), at most once per delay.
// The watching runs on a thread of its own (TFolderWatcher); everything here, signals
// included, is UI thread only.
#pragma once

#include "components/TFolderWatcher.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>

class TFolderMonitor : public QObject {
    Q_OBJECT
public:
    explicit TFolderMonitor(QObject* parent = nullptr);
    ~TFolderMonitor() override;

    // Changing the folder or the sub-tree flag of an active monitor moves its watch.
    void SetFolder(const QString& path);
    QString Folder() const;
    void SetWatchSubtree(bool on);
    bool WatchSubtree() const;
    // Milliseconds between the first change and Changed (1000 at first); 0 reports each
    // change at once. A delay already running keeps its length.
    void SetDelay(int milliseconds);
    int Delay() const;
    // Deactivating stops the watch and drops a change still waiting for its delay.
    void SetActive(bool on);
    bool Active() const;

    // True when the folder is really watched: active and the folder existed and could be
    // watched when the monitor was activated (or last moved).
    bool Watching() const;
    // A change arrived and waits for its delay to pass before Changed.
    bool ChangePending() const { return m_delayTimer.isActive(); }

    // Caps the number of kernel watches below the system's limit (0: no cap of our own);
    // reaching it behaves like reaching the kernel's limit. Takes effect on activation.
    void SetMaxWatches(int count);

Q_SIGNALS:
    void Changed();
    // Once per activation, when the kernel's limit on watches or inotify instances left
    // part of the tree unwatched. What fits stays watched.
    void WatchLimitReached(const QString& folder);
    // Once per activation, when every folder that can be watched is watched: at once
    // without the sub-tree flag, after the tree has been walked with it.
    void WatchReady();

private:
    void start();
    void stop();
    void restartIfActive();
    void onWatchEvent(quint64 generation, TFolderWatcher::Event event);
    void onChange();

    QString m_folder;
    bool m_watchSubtree = false;
    int m_delay = 1000;
    bool m_active = false;
    int m_maxWatches = 0;
    QTimer m_delayTimer;
    // Notifications posted by an earlier watcher carry an older generation and are
    // dropped, so a stopped watch can never report into a newer one.
    quint64 m_generation = 0;
    std::unique_ptr<TFolderWatcher> m_watcher;
};
