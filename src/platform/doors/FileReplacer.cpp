#include "FileReplacer.h"

#include "ExtendedAttributes.h"
#include "TemporaryName.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/sendfile.h>
#include <unistd.h>
#include <utility>

namespace {

std::string ResolvedPath(const std::string& path)
{
    if (char* real = ::realpath(path.c_str(), nullptr)) {
        std::string resolved = real;
        std::free(real);
        return resolved;
    }
    // Missing: resolve the folder, keep the name. A dangling link keeps its name too,
    // and the replacement refuses it as not regular only if it becomes something else.
    const size_t slash = path.rfind('/');
    const std::string parent = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (char* real = ::realpath(parent.c_str(), nullptr)) {
        std::string resolved = real;
        std::free(real);
        return (resolved == "/" ? "" : resolved) + "/" + name;
    }
    return path;
}

mode_t NewFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

int OpenExisting(const std::string& path)
{
    return ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
}

} // namespace

FileReplacer::FileReplacer(FileReplacer&& other) noexcept
    : m_target(std::move(other.m_target)), m_was(other.m_was), m_newMode(other.m_newMode),
      m_newModeSet(other.m_newModeSet), m_fd(std::exchange(other.m_fd, -1)), m_tempName(std::move(other.m_tempName)),
      m_error(other.m_error), m_lastStatus(other.m_lastStatus), m_writeFailed(other.m_writeFailed)
{
    other.m_tempName.clear();
}

FileReplacer& FileReplacer::operator=(FileReplacer&& other) noexcept
{
    if (this != &other) {
        Abandon();
        m_target = std::move(other.m_target);
        m_was = other.m_was;
        m_newMode = other.m_newMode;
        m_newModeSet = other.m_newModeSet;
        m_fd = std::exchange(other.m_fd, -1);
        m_tempName = std::move(other.m_tempName);
        other.m_tempName.clear();
        m_error = other.m_error;
        m_lastStatus = other.m_lastStatus;
        m_writeFailed = other.m_writeFailed;
    }
    return *this;
}

FileReplacer::~FileReplacer()
{
    Abandon();
}

FileReplacer FileReplacer::Track(const std::string& path)
{
    FileReplacer replacer;
    replacer.m_target = ResolvedPath(path);
    replacer.m_was = FileIdentity::At(AT_FDCWD, replacer.m_target.c_str());
    return replacer;
}

std::string FileReplacer::folder() const
{
    const size_t slash = m_target.rfind('/');
    return slash == std::string::npos ? "." : (slash == 0 ? "/" : m_target.substr(0, slash));
}

std::string FileReplacer::leaf() const
{
    const size_t slash = m_target.rfind('/');
    return slash == std::string::npos ? m_target : m_target.substr(slash + 1);
}

FileReplacer::Status FileReplacer::fail(Status status, int error)
{
    m_error = error;
    m_lastStatus = status;
    return status;
}

FileReplacer::Status FileReplacer::MayReplace() const
{
    struct stat st;
    if (::lstat(m_target.c_str(), &st) != 0)
        return errno == ENOENT ? Status::Ok : Status::Failed;
    if (!S_ISREG(st.st_mode))
        return Status::NotRegular;
    // The tools' rule, root included: a file whose owner took its write bit away is
    // not to be changed by a rename that would ignore it.
    if (!(st.st_mode & S_IWUSR))
        return Status::ReadOnly;
    if (::geteuid() != 0) {
        if (st.st_uid != ::geteuid())
            return Status::NotOwner;
        if (::access(m_target.c_str(), W_OK) != 0)
            return Status::ReadOnly;
    }
    return Status::Ok;
}

bool FileReplacer::ChangedOnDisk() const
{
    struct stat st;
    if (::lstat(m_target.c_str(), &st) != 0)
        return m_was.Known;
    return !m_was.Matches(st);
}

FileReplacer::Status FileReplacer::Begin()
{
    Abandon();
    m_error = 0;
    m_writeFailed = false;
    const Status allowed = MayReplace();
    if (allowed != Status::Ok)
        return fail(allowed, allowed == Status::Failed ? errno : 0);
    const int dirFd = ::open(folder().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0)
        return fail(Status::Failed, errno);
    TemporaryName::RemoveStale(dirFd, leaf(), kTempInfix);
    m_fd = TemporaryName::Create(dirFd, leaf(), kTempInfix, 0600, m_tempName);
    const int error = errno;
    ::close(dirFd);
    if (m_fd < 0) {
        m_tempName.clear();
        return fail(Status::Failed, error);
    }
    return fail(Status::Ok, 0);
}

bool FileReplacer::Write(const void* data, size_t size)
{
    const char* from = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t done = ::write(m_fd, from, size);
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0) {
            fail(Status::Failed, done < 0 ? errno : ENOSPC);
            m_writeFailed = true;
            return false;
        }
        from += done;
        size -= size_t(done);
    }
    return true;
}

// The new content inherits what the old file carried; a set-user-id or set-group-id
// bit is dropped, as it vouched for the old content only.
FileReplacer::Status FileReplacer::carryOver(int oldFd, const struct stat& old)
{
    if (old.st_uid != ::geteuid() || old.st_gid != ::getegid())
        (void)::fchown(m_fd, old.st_uid, old.st_gid);   // the group may be refused; the owner was checked
    if (::fchmod(m_fd, old.st_mode & 01777) != 0)
        return fail(Status::Failed, errno);
    ExtendedAttributes::Copy(oldFd, m_fd, ExtendedAttributes::Scope::All);
    return Status::Ok;
}

FileReplacer::Status FileReplacer::writeInPlace(int oldFd)
{
    const int out = ::open(m_target.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC);
    if (out < 0)
        return fail(Status::Failed, errno);
    struct stat st;
    if (::fstat(m_fd, &st) != 0) {
        ::close(out);
        return fail(Status::Failed, errno);
    }
    off_t offset = 0;
    int error = 0;
    while (offset < st.st_size) {
        const ssize_t sent = ::sendfile(out, m_fd, &offset, size_t(st.st_size - offset));
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent <= 0) {
            error = sent < 0 ? errno : EIO;
            break;
        }
    }
    if (error == 0 && (::ftruncate(out, st.st_size) != 0 || ::fsync(out) != 0))
        error = errno;
    // Kept bits would vouch for content they never saw (the kernel drops them only
    // for writers other than root).
    struct stat old;
    if (error == 0 && ::fstat(oldFd, &old) == 0 && (old.st_mode & 06000))
        ::fchmod(out, old.st_mode & 01777);
    if (::close(out) != 0 && error == 0)
        error = errno;
    if (error != 0)
        return fail(Status::Failed, error);   // the whole new content stays in the temporary file
    const int dirFd = ::open(folder().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::unlinkat(dirFd, m_tempName.c_str(), 0);
        ::close(dirFd);
    }
    ::close(std::exchange(m_fd, -1));
    m_tempName.clear();
    return fail(Status::Ok, 0);
}

FileReplacer::Status FileReplacer::Commit(IfChanged ifChanged)
{
    if (m_fd < 0)
        return fail(Status::Failed, EBADF);
    // Content that did not all arrive never replaces content that did.
    if (m_writeFailed)
        return fail(Status::Failed, m_error);
    if (::fsync(m_fd) != 0)
        return fail(Status::Failed, errno);
    const int oldFd = OpenExisting(m_target);
    struct stat old {};
    const bool exists = oldFd >= 0 && ::fstat(oldFd, &old) == 0;
    if (oldFd < 0 && errno != ENOENT) {
        const int error = errno;
        return fail(error == ELOOP ? Status::Changed : Status::Failed, error);
    }
    auto closeOld = [&]() {
        if (oldFd >= 0)
            ::close(oldFd);
    };
    const bool changed = exists ? !m_was.Matches(old) : m_was.Known;
    if (changed && ifChanged == IfChanged::Refuse) {
        closeOld();
        return fail(Status::Changed, 0);
    }
    if (exists && !S_ISREG(old.st_mode)) {
        closeOld();
        return fail(Status::NotRegular, 0);
    }
    Status status = Status::Ok;
    if (exists && old.st_nlink > 1) {
        status = writeInPlace(oldFd);
        closeOld();
        return status;
    }
    if (exists)
        status = carryOver(oldFd, old);
    else if (::fchmod(m_fd, m_newModeSet ? m_newMode : NewFileMode()) != 0)
        status = fail(Status::Failed, errno);
    closeOld();
    if (status != Status::Ok)
        return status;
    // Ownership and attributes are metadata the rename must not overtake.
    if (::fsync(m_fd) != 0)
        return fail(Status::Failed, errno);
    const int dirFd = ::open(folder().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0)
        return fail(Status::Failed, errno);
    const std::string name = leaf();
    if (::renameat(dirFd, m_tempName.c_str(), dirFd, name.c_str()) != 0) {
        const int error = errno;
        ::close(dirFd);
        return fail(Status::Failed, error);
    }
    ::fsync(dirFd);
    ::close(dirFd);
    ::close(std::exchange(m_fd, -1));
    m_tempName.clear();
    struct stat now;
    if (::lstat(m_target.c_str(), &now) == 0)
        m_was = FileIdentity::Of(now);   // a later save from the same tracker compares with this
    return fail(Status::Ok, 0);
}

void FileReplacer::Abandon()
{
    if (!m_tempName.empty()) {
        const int dirFd = ::open(folder().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dirFd >= 0) {
            ::unlinkat(dirFd, m_tempName.c_str(), 0);
            ::close(dirFd);
        }
        m_tempName.clear();
    }
    if (m_fd >= 0)
        ::close(std::exchange(m_fd, -1));
}

std::string FileReplacer::Explain() const
{
    const std::string quoted = "\"" + m_target + "\"";
    switch (m_lastStatus) {
    case Status::Ok: return {};
    case Status::ReadOnly: return quoted + " is read-only; it was left unchanged.";
    case Status::NotOwner: return quoted + " belongs to another user; it was left unchanged.";
    case Status::NotRegular: return quoted + " is not a regular file; it was left unchanged.";
    case Status::Changed: return quoted + " was changed by another program; it was left unchanged.";
    case Status::Failed: break;
    }
    return "Cannot write " + quoted + ": " + std::strerror(m_error) + "; it was left unchanged.";
}

FileReplacer::Status FileReplacer::Replace(const std::string& path, const void* data, size_t size,
                                           IfChanged ifChanged, mode_t newFileMode)
{
    FileReplacer replacer = Track(path);
    if (newFileMode != 0)
        replacer.SetNewFileMode(newFileMode);
    return replacer.ReplaceWith(data, size, ifChanged);
}

FileReplacer::Status FileReplacer::ReplaceWith(const void* data, size_t size, IfChanged ifChanged)
{
    const Status status = Begin();
    if (status != Status::Ok)
        return status;
    if (!Write(data, size))
        return Status::Failed;
    return Commit(ifChanged);
}
