#include "TempFile.h"

#include "platform/doors/TemporaryName.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

mode_t Umask()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

} // namespace

TempFile::TempFile(int folder, const std::string& target, mode_t mode, bool removeStale)
    : m_folder(folder), m_target(target)
{
    if (removeStale)
        TemporaryName::RemoveStale(folder, target, kInfix);
    m_fd.reset(TemporaryName::Create(folder, target, kInfix, mode & ~Umask(), m_name));
    m_error = m_fd.valid() ? 0 : errno;
    m_created = m_fd.valid();
}

TempFile::~TempFile()
{
    if (m_created && !m_committed)
        ::unlinkat(m_folder, m_name.c_str(), 0);
    m_fd.reset();   // the lock goes last, so no other run takes the file for a leftover
}

bool TempFile::write(const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(m_fd.get(), data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            m_error = n < 0 ? errno : EIO;
            return false;
        }
        data += n;
        size -= size_t(n);
    }
    return true;
}

bool TempFile::commit(time_t mtime, bool flush, const FileIdentity& replaced)
{
    const timespec times[2] = {{0, UTIME_OMIT}, {mtime, 0}};
    m_error = ::futimens(m_fd.get(), times) == 0 ? 0 : errno;
    if (m_error == 0 && flush && ::fsync(m_fd.get()) != 0)
        m_error = errno;
    // close() reports a delayed write error (a full disk on NFS, say); a second
    // descriptor keeps the lock until the rename, so no other run takes the file for a
    // leftover meanwhile.
    const UniqueFd lock(m_error == 0 ? ::dup(m_fd.get()) : -1);
    if (m_error == 0 && !lock.valid())
        m_error = errno;
    if (::close(m_fd.release()) != 0 && m_error == 0)
        m_error = errno;
    if (m_error != 0)
        return false;
    struct stat now {};
    const bool present = ::fstatat(m_folder, m_target.c_str(), &now, AT_SYMLINK_NOFOLLOW) == 0;
    m_changed = replaced.Known ? !present || !replaced.Matches(now) : present;
    if (m_changed)
        return false;
    if (::renameat(m_folder, m_name.c_str(), m_folder, m_target.c_str()) != 0) {
        m_error = errno;
        return false;
    }
    m_committed = true;
    return true;
}
