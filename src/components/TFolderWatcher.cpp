// The inotify watch thread of a folder monitor (see TFolderWatcher.h).
//
// Only the watch thread touches m_paths after construction. Folders that move are
// tracked by their names: a folder moved away has its watches removed (it may now lie
// outside the tree) and a folder moved in is watched afresh, so the path kept for each
// watch stays true and later sub-folders are added at the right place.
#include "components/TFolderWatcher.h"

#include <cerrno>
#include <cstring>
#include <utility>
#include <vector>
#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Names, sizes and write times of the entries, and the folder itself going away.
constexpr uint32_t kWatchMask = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_MODIFY
    | IN_ATTRIB | IN_CLOSE_WRITE | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;

std::string joinPath(const std::string& folder, const char* name)
{
    std::string path = folder;
    if (path.empty() || path.back() != '/')
        path += '/';
    path += name;
    return path;
}

bool isDotOrDotDot(const char* name)
{
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// Appends the sub-folders of a folder that lie on the given device; symbolic links are
// never followed (except the top folder itself when it was given as a link).
void listSubfolders(const std::string& folder, bool followLink, uint64_t device,
                    std::vector<std::string>& into)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | (followLink ? 0 : O_NOFOLLOW));
    if (fd < 0)
        return;
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return;
    }
    while (const dirent* entry = ::readdir(dir)) {
        if ((entry->d_type != DT_DIR && entry->d_type != DT_UNKNOWN) || isDotOrDotDot(entry->d_name))
            continue;
        struct stat st;
        if (::fstatat(fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        if (S_ISDIR(st.st_mode) && uint64_t(st.st_dev) == device)
            into.push_back(joinPath(folder, entry->d_name));
    }
    ::closedir(dir);
}

} // namespace

TFolderWatcher::TFolderWatcher(std::string folder, bool subtree, int maxWatches, Notify notify)
    : m_folder(std::move(folder))
    , m_subtree(subtree)
    , m_maxWatches(maxWatches)
    , m_notify(std::move(notify))
{
    m_stopFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m_stopFd < 0)
        return;
    m_inotify = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_inotify < 0) {
        // EMFILE: the per-user number of inotify instances is used up.
        m_limitHit = errno == EMFILE;
    } else {
        struct stat st;
        if (::stat(m_folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
            m_rootDevice = uint64_t(st.st_dev);
            addWatch(m_folder, true, &m_rootWatch);
        }
    }
    if (m_rootWatch >= 0 || m_limitHit)
        m_thread = std::thread([this] {
            try {
                run();
            } catch (...) {
                // Out of memory in the thread: the watch ends, the program goes on.
            }
        });
}

TFolderWatcher::~TFolderWatcher()
{
    m_stop.store(true, std::memory_order_release);
    if (m_stopFd >= 0) {
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(m_stopFd, &one, sizeof one);
    }
    if (m_thread.joinable())
        m_thread.join();
    if (m_inotify >= 0)
        ::close(m_inotify);
    if (m_stopFd >= 0)
        ::close(m_stopFd);
}

void TFolderWatcher::run()
{
    if (m_rootWatch >= 0 && m_subtree)
        watchTree(m_folder, true);
    reportLimitOnce();
    if (m_rootWatch < 0 || stopping())
        return;
    m_notify(Event::Ready);

    pollfd fds[2] = {{m_inotify, POLLIN, 0}, {m_stopFd, POLLIN, 0}};
    while (!stopping()) {
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (fds[1].revents != 0)
            return;
        if (fds[0].revents & (POLLERR | POLLNVAL))
            return;
        if (fds[0].revents & POLLIN)
            drainEvents();
    }
}

void TFolderWatcher::drainEvents()
{
    // Large enough for hundreds of events per read; aligned as the kernel writes them.
    alignas(inotify_event) char buffer[64 * 1024];
    bool changed = false;
    bool overflowed = false;
    while (!stopping()) {
        const ssize_t length = ::read(m_inotify, buffer, sizeof buffer);
        if (length < 0 && errno == EINTR)
            continue;
        if (length <= 0)
            break; // EAGAIN: everything read
        for (const char* p = buffer; p < buffer + length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(p);
            p += sizeof(inotify_event) + event->len;
            if (event->mask & IN_IGNORED) {
                m_paths.erase(event->wd);
                continue;
            }
            changed = true;
            if (event->mask & IN_Q_OVERFLOW) {
                overflowed = true;
                continue;
            }
            if (!m_subtree || !(event->mask & IN_ISDIR) || event->len == 0)
                continue;
            const std::string path = childPath(event->wd, event->name);
            if (path.empty())
                continue;
            if (event->mask & IN_MOVED_FROM)
                forgetTree(path);
            else if (event->mask & (IN_CREATE | IN_MOVED_TO))
                watchTree(path, false);
        }
    }
    // Lost events may have created folders nobody watches yet: walk the tree again
    // (folders already watched keep their watch).
    if (overflowed && m_subtree)
        watchTree(m_folder, true);
    // The change is reported after new folders are watched, so whoever reacts to it
    // cannot miss anything that happens inside them from then on.
    if (changed)
        reportChange();
    reportLimitOnce();
}

void TFolderWatcher::reportChange()
{
    if (!m_changePending.exchange(true, std::memory_order_acq_rel))
        m_notify(Event::Changed);
}

void TFolderWatcher::reportLimitOnce()
{
    if (m_limitHit && !m_limitReported) {
        m_limitReported = true;
        m_notify(Event::LimitReached);
    }
}

TFolderWatcher::Added TFolderWatcher::addWatch(const std::string& path, bool isRoot, int* watchOut)
{
    // The top folder may be a link the user went through; below it links are not followed.
    const uint32_t mask = kWatchMask | (isRoot ? 0 : IN_DONT_FOLLOW);
    const int watch = ::inotify_add_watch(m_inotify, path.c_str(), mask);
    if (watch < 0) {
        if (errno != ENOSPC)
            return Added::Skipped; // gone meanwhile, not readable, not a folder
        m_limitHit = true;
        return Added::Limit;
    }
    if (m_maxWatches > 0 && m_paths.count(watch) == 0 && int(m_paths.size()) >= m_maxWatches) {
        ::inotify_rm_watch(m_inotify, watch);
        m_limitHit = true;
        return Added::Limit;
    }
    m_paths[watch] = path;
    if (watchOut)
        *watchOut = watch;
    return Added::Ok;
}

bool TFolderWatcher::watchTree(const std::string& top, bool topWatched)
{
    // An explicit stack: trees can be deeper than a thread's stack allows for recursion.
    std::vector<std::string> pending{top};
    bool isTop = true;
    while (!pending.empty()) {
        if (stopping())
            return false;
        const std::string folder = std::move(pending.back());
        pending.pop_back();
        if (!(isTop && topWatched)) {
            const Added added = addWatch(folder, false);
            if (added == Added::Limit)
                return false; // every further folder would fail the same way
            if (added == Added::Skipped) {
                isTop = false;
                continue;
            }
        }
        listSubfolders(folder, isTop && folder == m_folder, m_rootDevice, pending);
        isTop = false;
    }
    return true;
}

void TFolderWatcher::forgetTree(const std::string& top)
{
    const std::string below = top + '/';
    for (auto it = m_paths.begin(); it != m_paths.end();) {
        const std::string& path = it->second;
        if (it->first != m_rootWatch && (path == top || path.compare(0, below.size(), below) == 0)) {
            ::inotify_rm_watch(m_inotify, it->first);
            it = m_paths.erase(it);
        } else {
            ++it;
        }
    }
}

std::string TFolderWatcher::childPath(int watch, const char* name) const
{
    const auto it = m_paths.find(watch);
    return it == m_paths.end() ? std::string() : joinPath(it->second, name);
}
