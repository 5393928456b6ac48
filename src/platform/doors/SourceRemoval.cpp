#include "SourceRemoval.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace SourceRemoval {

namespace {

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
}

std::string LeafOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool Synced(const std::string& path, int flags)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | flags);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    const int error = errno;
    ::close(fd);
    errno = error;
    return ok;
}

} // namespace

Status Remove(int dirFd, const std::string& name, const FileIdentity& was, bool folder)
{
    struct stat now;
    if (::fstatat(dirFd, name.c_str(), &now, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT ? Status::Gone : Status::Failed;
    if (!was.Matches(now, !folder) || bool(S_ISDIR(now.st_mode)) != folder)
        return Status::Changed;
    if (::unlinkat(dirFd, name.c_str(), folder ? AT_REMOVEDIR : 0) == 0)
        return Status::Removed;
    if (folder && (errno == ENOTEMPTY || errno == EEXIST))
        return Status::NotEmpty;
    return errno == ENOENT ? Status::Gone : Status::Failed;
}

Status Remove(const std::string& path, const FileIdentity& was, bool folder)
{
    const int dirFd = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0)
        return errno == ENOENT ? Status::Gone : Status::Failed;
    const Status status = Remove(dirFd, LeafOf(path), was, folder);
    const int error = errno;
    ::close(dirFd);
    errno = error;
    return status;
}

bool FlushCopy(const std::string& path)
{
    return Synced(path, O_NOFOLLOW) && Synced(FolderOf(path), O_DIRECTORY);
}

bool FlushFileSystem(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::syncfs(fd) == 0;
    const int error = errno;
    ::close(fd);
    errno = error;
    return ok;
}

std::string Explain(Status status, const std::string& path, int error)
{
    const std::string quoted = "\"" + path + "\"";
    switch (status) {
    case Status::Removed:
    case Status::Gone: return {};
    case Status::Changed: return quoted + " changed while it was being moved, so it was kept.";
    case Status::NotEmpty: return quoted + " is not empty, so it was kept.";
    case Status::Failed: break;
    }
    return "Cannot remove " + quoted + ": " + std::strerror(error);
}

} // namespace SourceRemoval
