// The watch thread behind a folder monitor: one inotify instance watching a folder (and,
// when asked, every folder below it on the same file system) and a thread that waits
// for its events or a stop signal. It knows nothing of Qt or of the UI thread: it only
// calls the notify function, on its own thread, and the owner decides how to pass that
// on. Paths are bytes, exactly as the kernel keeps them.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <unordered_map>

class TFolderWatcher {
public:
    enum class Event {
        Changed,        // something under the watch changed (coalesced, see ChangeSeen)
        LimitReached,   // the kernel's watch or instance limit cut the watch short (once)
        Ready           // every folder that can be watched is watched now (once)
    };
    // Called on the watch thread; must neither block nor throw.
    using Notify = std::function<void(Event)>;

    // Places the watch on the folder itself before returning, so nothing that happens
    // after construction is missed there; sub-folders are added on the watch thread,
    // because a large tree takes seconds. maxWatches > 0 caps the number of watches as
    // if the kernel's limit were that low.
    TFolderWatcher(std::string folder, bool subtree, int maxWatches, Notify notify);
    // Stops the thread and waits for it; the stop signal also interrupts a tree scan.
    ~TFolderWatcher();
    TFolderWatcher(const TFolderWatcher&) = delete;
    TFolderWatcher& operator=(const TFolderWatcher&) = delete;

    // False when the folder itself could not be watched (missing, unreadable, limit).
    bool Watching() const { return m_rootWatch >= 0; }
    // The owner has taken the last Changed: the next change may be reported again.
    // Until then changes are not reported twice, so a busy folder cannot flood the
    // owner's queue. Any thread.
    void ChangeSeen() { m_changePending.store(false, std::memory_order_release); }

private:
    // Outcome of one inotify_add_watch.
    enum class Added { Ok, Skipped, Limit };

    void run();
    void drainEvents();
    void reportChange();
    void reportLimitOnce();
    Added addWatch(const std::string& path, bool isRoot, int* watch = nullptr);
    // Watches the folder (unless topWatched) and every folder below it; false once the
    // limit stopped it or a stop was requested.
    bool watchTree(const std::string& top, bool topWatched);
    void forgetTree(const std::string& top);
    std::string childPath(int watch, const char* name) const;
    bool stopping() const { return m_stop.load(std::memory_order_acquire); }

    const std::string m_folder;
    const bool m_subtree;
    const int m_maxWatches;
    const Notify m_notify;

    int m_inotify = -1;
    int m_stopFd = -1;                               // eventfd, written once by the destructor
    int m_rootWatch = -1;
    uint64_t m_rootDevice = 0;                       // sub-folders on other file systems are left out
    bool m_limitHit = false;                         // watch thread only (after construction)
    bool m_limitReported = false;                    // watch thread only
    std::unordered_map<int, std::string> m_paths;    // watch descriptor -> folder; watch thread only
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_changePending{false};
    std::thread m_thread;
};
