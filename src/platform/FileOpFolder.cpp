// Folders of the file-operation walks with a bounded number of descriptors (see
// FileOpFolder.h).
#include "platform/FileOpFolder.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace {

constexpr int kOpenFolder = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY;

uint64_t mountIdOf(int fd, dev_t device)
{
    struct statx sx;
    if (::statx(fd, "", AT_EMPTY_PATH, STATX_MNT_ID, &sx) == 0 && (sx.stx_mask & STATX_MNT_ID))
        return sx.stx_mnt_id;
    return uint64_t(device);   // older kernels: the device tells file systems apart
}

} // namespace

int FileOpFolder::take(int fd, const std::string& path, int depth)
{
    if (fd < 0)
        return errno;
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        const int error = errno;
        ::close(fd);
        return error;
    }
    m_fd = FileOpFd(fd);
    m_lasting.reset();
    m_path = path;
    m_depth = depth;
    m_device = st.st_dev;
    m_inode = st.st_ino;
    m_mountId = mountIdOf(fd, st.st_dev);
    return 0;
}

int FileOpFolder::OpenPath(const std::string& path)
{
    // The path's own links are followed (a pane may stand in a linked folder); only
    // the walk below never follows one.
    return take(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOCTTY), path, 0);
}

int FileOpFolder::OpenChild(const FileOpFolder& parent, const std::string& name)
{
    if (parent.m_depth >= kMaxDepth)
        return ENAMETOOLONG;
    return take(::openat(parent.Fd(), name.c_str(), kOpenFolder), parent.PathOf(name), parent.m_depth + 1);
}

void FileOpFolder::ReleaseFor(const FileOpFolder& child) const
{
    if (child.m_depth > kHeldLevels && child.m_fd.valid())
        m_fd.reset();
}

bool FileOpFolder::Rejoin(const FileOpFolder& child) const
{
    if (m_fd.valid())
        return true;
    FileOpFd up(::openat(child.Fd(), "..", kOpenFolder));
    struct stat st;
    if (!up.valid() || ::fstat(up.get(), &st) != 0 || st.st_dev != m_device || st.st_ino != m_inode)
        return false;
    m_fd = std::move(up);
    return true;
}

std::shared_ptr<FileOpFd> FileOpFolder::Lasting() const
{
    if (auto kept = m_lasting.lock())
        return kept;
    auto kept = std::make_shared<FileOpFd>(::fcntl(m_fd.get(), F_DUPFD_CLOEXEC, 0));
    m_lasting = kept;
    return kept;
}
