#include "fileops/DirSizeCounter.h"

#include "platform/FileNames.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>
#include <limits>
#include <string>
#include <unordered_set>
#include <vector>

namespace {

// Kernel file systems whose files describe the running system rather than hold data:
// their sizes mean nothing, and walking /proc costs a great deal.
bool isPseudoFileSystem(int fd)
{
    struct statfs fs;
    if (::fstatfs(fd, &fs) != 0)
        return false;
    switch (static_cast<unsigned long>(fs.f_type)) {
    case 0x9fa0:        // proc
    case 0x62656572:    // sysfs
    case 0x27e0eb:      // cgroup
    case 0x63677270:    // cgroup2
    case 0x64626720:    // debugfs
    case 0x74726163:    // tracefs
    case 0x73636673:    // securityfs
    case 0x6165676c:    // pstore
    case 0xcafe4a11:    // bpf
    case 0x62656570:    // configfs
    case 0x1cd1:        // devpts
    case 0x19800202:    // mqueue
    case 0x65735543:    // fusectl
    case 0x42494e4d:    // binfmt_misc
    case 0xde5e81e4:    // efivarfs
        return true;
    default:
        return false;
    }
}

// Folders deeper than this give their parent's descriptor back while they are walked
// and reopen it through ".." afterwards, so a tree thousands of levels deep cannot run
// the process out of descriptors (panes, icon threads and copies need theirs too).
constexpr size_t kHeldLevels = 64;
constexpr size_t kListBufferBytes = 64 * 1024;
constexpr int kOpenFolder = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY;

uint32_t clampCount(uint64_t n) { return n > std::numeric_limits<uint32_t>::max() ? std::numeric_limits<uint32_t>::max() : uint32_t(n); }

// One walk over a folder tree, depth first, without recursion. Every entry is stat'ed
// (never opened) before anything else is done with it: stat does not trigger an
// automount, so a folder on another file system is recognised and passed over before it
// could be opened, and a symbolic link is seen as the link itself.
class TreeWalk {
public:
    explicit TreeWalk(const std::atomic<bool>& stop) : m_stop(stop), m_buffer(kListBufferBytes) {}
    ~TreeWalk()
    {
        for (const Level& level : m_levels)
            closeFolder(level.Fd);
    }
    TreeWalk(const TreeWalk&) = delete;
    TreeWalk& operator=(const TreeWalk&) = delete;

    // False when stopped. A top folder that cannot be opened leaves every total at 0.
    bool Run(const QByteArray& path);

    uint64_t Files = 0;
    uint64_t Folders = 0;
    int64_t Size = 0;
    int64_t Allocated = 0;

private:
    struct Level {
        int Fd;                             // -1 while released (deep levels)
        ino_t Inode;
        std::vector<std::string> Subfolders;
        size_t Next = 0;
    };

    bool stopped() const { return m_stop.load(std::memory_order_relaxed); }
    bool list(Level& level);
    void addFolder(Level& level, const char* name, const struct stat& st);
    void addFile(const struct stat& st);
    bool enterNext();
    void leave();
    static void closeFolder(int fd)
    {
        if (fd >= 0)
            ::close(fd);
    }

    const std::atomic<bool>& m_stop;
    std::vector<char> m_buffer;
    std::vector<Level> m_levels;
    dev_t m_device = 0;
    // A file with several names takes its blocks once; only those are remembered, and
    // one file system means the inode number alone identifies the file.
    std::unordered_set<ino_t> m_linkedFiles;
};

bool TreeWalk::Run(const QByteArray& path)
{
    if (stopped())
        return false;
    const int fd = ::open(path.constData(), kOpenFolder);
    if (fd < 0)
        return true;
    struct stat st;
    if (::fstat(fd, &st) != 0 || isPseudoFileSystem(fd)) {
        ::close(fd);
        return true;
    }
    m_device = st.st_dev;
    Allocated += int64_t(st.st_blocks) * 512;
    m_levels.push_back(Level{fd, st.st_ino, {}});
    if (!list(m_levels.back()))
        return false;
    while (!m_levels.empty()) {
        if (stopped())
            return false;
        Level& top = m_levels.back();
        if (top.Next == top.Subfolders.size())
            leave();
        else if (!enterNext())
            return false;
    }
    return true;
}

// Counts every entry of one folder and keeps the names of the subfolders to enter.
bool TreeWalk::list(Level& level)
{
    for (;;) {
        const ssize_t got = ::getdents64(level.Fd, m_buffer.data(), m_buffer.size());
        if (got <= 0)
            return true;   // the end, or a read error: what was read still counts
        for (ssize_t offset = 0; offset < got;) {
            const auto* entry = reinterpret_cast<const struct dirent64*>(m_buffer.data() + offset);
            offset += entry->d_reclen;
            if (stopped())
                return false;
            const char* name = entry->d_name;
            if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
                continue;
            struct stat st;
            if (::fstatat(level.Fd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
                continue;   // removed since it was listed
            if (S_ISDIR(st.st_mode))
                addFolder(level, name, st);
            else
                addFile(st);
        }
    }
}

void TreeWalk::addFolder(Level& level, const char* name, const struct stat& st)
{
    if (st.st_dev != m_device)
        return;   // a mount point: another file system is neither entered nor counted
    ++Folders;
    Allocated += int64_t(st.st_blocks) * 512;
    level.Subfolders.emplace_back(name);
}

// Anything that is not a folder counts as a file: a symbolic link with the size of the
// link itself, never of what it points to.
void TreeWalk::addFile(const struct stat& st)
{
    ++Files;
    Size += st.st_size;
    if (st.st_nlink > 1 && !m_linkedFiles.insert(st.st_ino).second)
        return;
    Allocated += int64_t(st.st_blocks) * 512;
}

bool TreeWalk::enterNext()
{
    Level& parent = m_levels.back();
    const std::string& name = parent.Subfolders[parent.Next++];
    const int fd = parent.Fd < 0 ? -1 : ::openat(parent.Fd, name.c_str(), kOpenFolder);
    if (fd < 0)
        return true;   // unreadable: counted as a folder, with nothing inside
    struct stat st;
    // A folder swapped for a mount point since it was stat'ed is still not entered.
    if (::fstat(fd, &st) != 0 || st.st_dev != m_device) {
        ::close(fd);
        return true;
    }
    if (m_levels.size() >= kHeldLevels) {
        ::close(parent.Fd);
        parent.Fd = -1;
    }
    m_levels.push_back(Level{fd, st.st_ino, {}});
    return list(m_levels.back());
}

void TreeWalk::leave()
{
    Level& done = m_levels.back();
    if (m_levels.size() > 1) {
        Level& parent = m_levels[m_levels.size() - 2];
        if (parent.Fd < 0 && done.Fd >= 0) {
            parent.Fd = ::openat(done.Fd, "..", kOpenFolder);
            struct stat st;
            // A parent moved away meanwhile is not the folder being measured any more.
            if (parent.Fd >= 0 && (::fstat(parent.Fd, &st) != 0 || st.st_ino != parent.Inode || st.st_dev != m_device)) {
                ::close(parent.Fd);
                parent.Fd = -1;
            }
        }
        if (parent.Fd < 0)
            parent.Next = parent.Subfolders.size();
    }
    closeFolder(done.Fd);
    m_levels.pop_back();
}

QByteArray nativeFolderPath(const QString& folder)
{
    QByteArray path = EncodeFileName(folder);
    // A trailing slash would make the kernel follow a link that names the folder.
    while (path.size() > 1 && path.endsWith('/'))
        path.chop(1);
    return path;
}

} // namespace

std::optional<DirSizeResult> DirSizeCounter::Measure(const QString& folder, const std::atomic<bool>& stop)
{
    TreeWalk walk(stop);
    if (!walk.Run(nativeFolderPath(folder)) || stop.load())
        return std::nullopt;
    DirSizeResult result;
    result.Path = folder;
    result.FileCount = clampCount(walk.Files);
    result.DirCount = clampCount(walk.Folders);
    result.AllocatedSize = walk.Allocated;
    result.Size = walk.Size;
    return result;
}
