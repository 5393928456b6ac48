#include "TemporaryName.h"

#include <cerrno>
#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace TemporaryName {

std::string Prefix(const std::string& name, const std::string& infix)
{
    const size_t extra = 1 + infix.size() + kRandomChars;
    std::string stem = name;
    if (stem.size() > NAME_MAX - extra) {
        stem.resize(NAME_MAX - extra);
        while (!stem.empty() && (static_cast<unsigned char>(stem.back()) & 0xC0) == 0x80)
            stem.pop_back();
        if (!stem.empty() && static_cast<unsigned char>(stem.back()) >= 0xC0)
            stem.pop_back();
    }
    return "." + stem + infix;
}

int Create(int dirFd, const std::string& name, const std::string& infix, mode_t mode, std::string& created)
{
    static constexpr char kDigits[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937_64 random{std::random_device{}()};
    const std::string prefix = Prefix(name, infix);
    for (int attempt = 0; attempt < 100; ++attempt) {
        created = prefix;
        for (size_t i = 0; i < kRandomChars; ++i)
            created += kDigits[random() % (sizeof kDigits - 1)];
        const int fd = ::openat(dirFd, created.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return -1;
        }
        // Locked before anything else can see it as a leftover; mode set after, as
        // the umask must not trim the caller's bits.
        ::flock(fd, LOCK_EX | LOCK_NB);
        ::fchmod(fd, mode);
        return fd;
    }
    errno = EEXIST;
    return -1;
}

int RemoveStale(int dirFd, const std::string& name, const std::string& infix)
{
    const std::string prefix = Prefix(name, infix);
    const int listFd = ::openat(dirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listFd < 0)
        return 0;
    DIR* dir = ::fdopendir(listFd);
    if (!dir) {
        ::close(listFd);
        return 0;
    }
    std::vector<std::string> candidates;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string entryName = entry->d_name;
        if (entryName.size() == prefix.size() + kRandomChars && entryName.compare(0, prefix.size(), prefix) == 0)
            candidates.push_back(entryName);
    }
    ::closedir(dir);
    int removed = 0;
    for (const std::string& candidate : candidates) {
        const int fd = ::openat(dirFd, candidate.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat st;
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid()
            && ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::unlinkat(dirFd, candidate.c_str(), 0) == 0)
            ++removed;
        ::close(fd);
    }
    return removed;
}

} // namespace TemporaryName
