// Looks up the icon type of every entry of one pane listing in the background, at the
// lowest priority, and hands them to the UI thread in batches - when a batch is full,
// a few times a second, and as soon as the rows on screen are done - waiting until
// each batch has been applied. One hand-over per entry kept the UI thread busy for
// half a second after entering a full folder. The UI thread turns the MIME type name
// into an icon (pixmaps may only be made there).
//
// Rows are looked up in list order, except that the rows named by Prioritize() (the
// ones on screen) go first.
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

    // Most entries and longest time one hand-over to the UI thread waits for.
    static constexpr int kBatchEntries = 1024;
    static constexpr int kBatchMsecs = 150;

    // `paths`: one per entry, in list order. `deliver` runs on the thread of `context`,
    // once per entry.
    TReadIconsThread(int paneId, int generation, QStringList paths, QObject* context, Delivery deliver,
                     QObject* parent = nullptr);
    ~TReadIconsThread() override;   // stops the thread and waits for it

    // Asks the thread to end after the current entry; does not wait.
    void Stop();

    // Rows first..last (the rows on screen) are looked up next, before the rest; the
    // latest call wins. Any thread; may be called before start().
    void Prioritize(int first, int last);

    // Icon passes made and not yet ended, stopped ones included: zero means no icon
    // work is left anywhere (benchmarks wait for that before stopping the clock).
    static int Unfinished() { return s_unfinished.load(); }

    int PaneId() const { return m_paneId; }
    int Generation() const { return m_generation; }

protected:
    void run() override;

private:
    struct Found {
        int Index;
        QString MimeType;
    };
    void deliver(std::vector<Found>&& batch);

    const int m_paneId;
    const int m_generation;
    const QStringList m_paths;
    QObject* m_context;
    Delivery m_deliver;
    // Shared with deliveries still queued on the UI thread, which may outlive this object.
    std::shared_ptr<std::atomic<bool>> m_stop = std::make_shared<std::atomic<bool>>(false);
    // The prioritized rows, first in the high half and last in the low half, so both
    // change at once; kNoRows until Prioritize() is called.
    static constexpr uint64_t kNoRows = ~uint64_t(0);
    std::atomic<uint64_t> m_priority{kNoRows};
    std::atomic<bool> m_counted{true};   // still counted in s_unfinished
    static inline std::atomic<int> s_unfinished{0};
};
