// The UI-thread side of a folder monitor: starting and stopping its watch thread and
// turning the thread's notifications into one Changed per delay.
#include "components/TFolderMonitor.h"

#include "platform/FileNames.h"

#include <QMetaObject>

TFolderMonitor::TFolderMonitor(QObject* parent)
    : QObject(parent)
{
    m_delayTimer.setSingleShot(true);
    connect(&m_delayTimer, &QTimer::timeout, this, &TFolderMonitor::Changed);
}

TFolderMonitor::~TFolderMonitor()
{
    // The thread is joined before QObject's destructor runs; whatever it posted to this
    // object meanwhile is discarded with the object's pending events.
    stop();
}

void TFolderMonitor::SetFolder(const QString& path)
{
    if (path == m_folder)
        return;
    m_folder = path;
    restartIfActive();
}

QString TFolderMonitor::Folder() const { return m_folder; }

void TFolderMonitor::SetWatchSubtree(bool on)
{
    if (on == m_watchSubtree)
        return;
    m_watchSubtree = on;
    restartIfActive();
}

bool TFolderMonitor::WatchSubtree() const { return m_watchSubtree; }

void TFolderMonitor::SetDelay(int milliseconds) { m_delay = qMax(0, milliseconds); }

int TFolderMonitor::Delay() const { return m_delay; }

void TFolderMonitor::SetActive(bool on)
{
    if (on == m_active)
        return;
    m_active = on;
    if (on)
        start();
    else
        stop();
}

bool TFolderMonitor::Active() const { return m_active; }

bool TFolderMonitor::Watching() const { return m_watcher && m_watcher->Watching(); }

void TFolderMonitor::SetMaxWatches(int count) { m_maxWatches = qMax(0, count); }

void TFolderMonitor::start()
{
    stop();
    if (m_folder.isEmpty())
        return;
    const quint64 generation = ++m_generation;
    // Runs on the watch thread: it may only post. The monitor outlives the thread
    // (stop() joins it), so `this` is valid for every post.
    auto notify = [this, generation](TFolderWatcher::Event event) {
        QMetaObject::invokeMethod(
            this, [this, generation, event] { onWatchEvent(generation, event); }, Qt::QueuedConnection);
    };
    const QByteArray path = EncodeFileName(m_folder);
    m_watcher = std::make_unique<TFolderWatcher>(std::string(path.constData(), size_t(path.size())),
                                                 m_watchSubtree, m_maxWatches, std::move(notify));
}

void TFolderMonitor::stop()
{
    m_delayTimer.stop();
    ++m_generation;
    m_watcher.reset();
}

void TFolderMonitor::restartIfActive()
{
    if (m_active)
        start();
}

void TFolderMonitor::onWatchEvent(quint64 generation, TFolderWatcher::Event event)
{
    if (generation != m_generation || !m_watcher)
        return;
    switch (event) {
    case TFolderWatcher::Event::Changed:
        m_watcher->ChangeSeen();
        onChange();
        break;
    case TFolderWatcher::Event::LimitReached:
        Q_EMIT WatchLimitReached(m_folder);
        break;
    case TFolderWatcher::Event::Ready:
        Q_EMIT WatchReady();
        break;
    }
}

void TFolderMonitor::onChange()
{
    if (m_delay == 0) {
        Q_EMIT Changed();
        return;
    }
    // Changes while the delay runs are covered by the re-read it ends with.
    if (!m_delayTimer.isActive())
        m_delayTimer.start(m_delay);
}
