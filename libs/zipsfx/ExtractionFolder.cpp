#include "ExtractionFolder.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <vector>

namespace {

constexpr int kNameTries = 100;

std::vector<std::string> steps(const std::string& relative)
{
    std::vector<std::string> result;
    size_t from = 0;
    while (from <= relative.size()) {
        const size_t slash = std::min(relative.find('/', from), relative.size());
        if (slash > from)
            result.push_back(relative.substr(from, slash - from));
        from = slash + 1;
    }
    return result;
}

std::string temporaryName()
{
    static std::atomic<unsigned> counter{0};
    char name[64];
    std::snprintf(name, sizeof name, ".sfx-%d-%u.part", int(::getpid()), counter++);
    return name;
}

} // namespace

UniqueFd ExtractionFolder::EnterOrMake(int folder, const std::string& step)
{
    constexpr int flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
    int fd = ::openat(folder, step.c_str(), flags);
    if (fd < 0 && errno == ENOENT && (::mkdirat(folder, step.c_str(), 0755) == 0 || errno == EEXIST))
        fd = ::openat(folder, step.c_str(), flags);
    return UniqueFd(fd);
}

UniqueFd ExtractionFolder::OpenParent(const std::string& relative, std::string& leaf) const
{
    std::vector<std::string> path = steps(relative);
    if (path.empty())
        return UniqueFd();
    leaf = path.back();
    path.pop_back();
    UniqueFd current(::fcntl(m_root, F_DUPFD_CLOEXEC, 0));
    for (const std::string& step : path) {
        if (!current.valid())
            break;
        current = EnterOrMake(current.get(), step);
    }
    return current;
}

bool ExtractionFolder::MakeFolders(const std::string& relative) const
{
    std::string leaf;
    const UniqueFd parent = OpenParent(relative, leaf);
    return parent.valid() && EnterOrMake(parent.get(), leaf).valid();
}

ExtractionFolder::Existing ExtractionFolder::Probe(int folder, const std::string& name)
{
    struct stat info {};
    if (::fstatat(folder, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        return Existing::Nothing;
    return S_ISDIR(info.st_mode) ? Existing::Folder : Existing::File;
}

UniqueFd ExtractionFolder::CreateTemporary(int folder, std::string& temporary)
{
    for (int i = 0; i < kNameTries; ++i) {
        temporary = temporaryName();
        const int fd = ::openat(folder, temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST)
            return UniqueFd(fd);
    }
    return UniqueFd();
}

bool ExtractionFolder::MakeTemporaryLink(int folder, const std::string& target, std::string& temporary)
{
    for (int i = 0; i < kNameTries; ++i) {
        temporary = temporaryName();
        if (::symlinkat(target.c_str(), folder, temporary.c_str()) == 0)
            return true;
        if (errno != EEXIST)
            return false;
    }
    return false;
}

// rename replaces a link at `name` itself, never the file it points at.
bool ExtractionFolder::Commit(int folder, const std::string& temporary, const std::string& name)
{
    return ::renameat(folder, temporary.c_str(), folder, name.c_str()) == 0;
}

void ExtractionFolder::Discard(int folder, const std::string& temporary)
{
    ::unlinkat(folder, temporary.c_str(), 0);
}
