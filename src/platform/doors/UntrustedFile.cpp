#include "UntrustedFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

UntrustedFile::UntrustedFile(UntrustedFile&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)), m_status(other.m_status), m_error(other.m_error), m_size(other.m_size),
      m_identity(other.m_identity)
{
}

UntrustedFile& UntrustedFile::operator=(UntrustedFile&& other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = std::exchange(other.m_fd, -1);
        m_status = other.m_status;
        m_error = other.m_error;
        m_size = other.m_size;
        m_identity = other.m_identity;
    }
    return *this;
}

UntrustedFile::~UntrustedFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

UntrustedFile UntrustedFile::Open(const std::string& path, uint64_t maxSize, int dirFd, bool followLinks)
{
    UntrustedFile file;
    auto fail = [&](Status status, int error) {
        file.m_status = status;
        file.m_error = error;
        if (file.m_fd >= 0)
            ::close(std::exchange(file.m_fd, -1));
        return std::move(file);
    };
    // A look before opening: opening some devices already does something.
    struct stat st;
    if (::fstatat(dirFd, path.c_str(), &st, followLinks ? 0 : AT_SYMLINK_NOFOLLOW) != 0)
        return fail(errno == ENOENT || errno == ENOTDIR ? Status::Missing : Status::Failed, errno);
    if (!S_ISREG(st.st_mode))
        return fail(Status::NotRegular, 0);
    // Non-blocking: a FIFO put in its place since the look opens at once instead of
    // waiting for a writer, and the second look below refuses it.
    const int flags = O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | (followLinks ? 0 : O_NOFOLLOW);
    file.m_fd = ::openat(dirFd, path.c_str(), flags);
    if (file.m_fd < 0)
        return fail(errno == ENOENT || errno == ENOTDIR ? Status::Missing
                                                        : (errno == ELOOP ? Status::NotRegular : Status::Failed),
                    errno);
    if (::fstat(file.m_fd, &st) != 0)
        return fail(Status::Failed, errno);
    if (!S_ISREG(st.st_mode))
        return fail(Status::NotRegular, 0);
    if (uint64_t(st.st_size) > maxSize)
        return fail(Status::TooLarge, EFBIG);
    ::fcntl(file.m_fd, F_SETFL, ::fcntl(file.m_fd, F_GETFL) & ~O_NONBLOCK);
    file.m_size = uint64_t(st.st_size);
    file.m_identity = FileIdentity::Of(st);
    file.m_status = Status::Ok;
    return file;
}

bool UntrustedFile::ExpectSignature(std::initializer_list<std::string_view> signatures)
{
    if (!Ok())
        return false;
    for (std::string_view signature : signatures) {
        std::string head(signature.size(), '\0');
        if (signature.size() <= m_size && ReadAt(0, head.data(), head.size()) && head == signature)
            return true;
    }
    m_status = Status::WrongSignature;
    return false;
}

bool UntrustedFile::ReadAt(uint64_t offset, void* to, size_t count) const
{
    char* out = static_cast<char*>(to);
    while (count > 0) {
        const ssize_t got = ::pread(m_fd, out, count, off_t(offset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        out += got;
        offset += uint64_t(got);
        count -= size_t(got);
    }
    return true;
}

bool UntrustedFile::ReadAll(std::string& bytes) const
{
    bytes.resize(size_t(m_size));
    if (!ReadAt(0, bytes.data(), bytes.size()))
        return false;
    char extra;
    return ::pread(m_fd, &extra, 1, off_t(m_size)) == 0;
}

int UntrustedFile::Release()
{
    return std::exchange(m_fd, -1);
}

std::string UntrustedFile::Explain(const std::string& path) const
{
    const std::string quoted = "\"" + path + "\"";
    switch (m_status) {
    case Status::Ok: return {};
    case Status::Missing: return quoted + " does not exist.";
    case Status::NotRegular: return quoted + " is not a regular file.";
    case Status::TooLarge: return quoted + " is too large.";
    case Status::WrongSignature: return quoted + " is not of the kind its name says.";
    case Status::Failed: break;
    }
    return "Cannot read " + quoted + ": " + std::strerror(m_error);
}
