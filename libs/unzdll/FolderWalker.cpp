#include "FolderWalker.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

int OpenStep(int parent, const std::string& step, mode_t mode)
{
    constexpr int flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
    int fd = ::openat(parent, step.c_str(), flags);
    if (fd >= 0 || errno != ENOENT)
        return fd;
    if (::mkdirat(parent, step.c_str(), mode) != 0 && errno != EEXIST)
        return -1;
    return ::openat(parent, step.c_str(), flags);
}

} // namespace

int FolderWalker::open(const std::string& relative, mode_t mode)
{
    if (relative.empty())
        return m_base;
    if (m_last.valid() && relative == m_lastPath)
        return m_last.get();
    m_last.reset();
    UniqueFd current;
    size_t from = 0;
    while (from < relative.size()) {
        size_t slash = relative.find('/', from);
        if (slash == std::string::npos)
            slash = relative.size();
        const int parent = current.valid() ? current.get() : m_base;
        UniqueFd next(OpenStep(parent, relative.substr(from, slash - from), mode));
        if (!next.valid())
            return -1;
        current = std::move(next);
        from = slash + 1;
    }
    m_last = std::move(current);
    m_lastPath = relative;
    return m_last.get();
}
