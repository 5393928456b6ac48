// Looks up the icon type of every entry of one pane listing in the background, at the
// lowest priority, and hands each to the UI thread in list order, waiting until it has
// been applied. The UI thread turns the MIME type name into an icon (pixmaps may only
// be made there).
//
// Lifetime, for the pane that owns it:
//   - create it with the listing's paths, connect finished() to deleteLater(), start();
//   - when the pane lists again, call Stop() and forget the pointer: the thread ends
//     after the entry it is working on and deletes itself once finished;
//   - at shutdown, delete any thread still known (the destructor stops it and waits,
//     which is safe on the UI thread).
// Once Stop() has returned on the UI thread, `deliver` is not called again, even for a
// result already on its way; results also carry the listing's generation, so one
// could never be mistaken for an entry of a newer listing.
#pragma once

#include <QString>
#include <QStringList>
#include <QThread>
#include <atomic>
#include <functional>
#include <memory>

class TReadIconsThread : public QThread {
public:
    using Delivery = std::function<void(int paneId, int generation, int index, const QString& mimeType)>;

    // `paths`: one per entry, in list order. `deliver` runs on the thread of `context`.
    TReadIconsThread(int paneId, int generation, QStringList paths, QObject* context, Delivery deliver,
                     QObject* parent = nullptr);
    ~TReadIconsThread() override;   // stops the thread and waits for it

    // Asks the thread to end after the current entry; does not wait.
    void Stop();

    int PaneId() const { return m_paneId; }
    int Generation() const { return m_generation; }

protected:
    void run() override;

private:
    const int m_paneId;
    const int m_generation;
    const QStringList m_paths;
    QObject* m_context;
    Delivery m_deliver;
    // Shared with deliveries still queued on the UI thread, which may outlive this object.
    std::shared_ptr<std::atomic<bool>> m_stop = std::make_shared<std::atomic<bool>>(false);
};
