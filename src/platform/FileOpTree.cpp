// Folder reading for the file operations (see FileOpTree.h).
#include "platform/FileOpTree.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <memory>
#include <unistd.h>

namespace FileOpTree {

namespace {

// 32 KiB holds a few hundred entries per system call, as readdir's own buffer does.
constexpr size_t kBufferSize = 32 * 1024;

bool isDotOrDotDot(const char* name)
{
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

} // namespace

int ForEachEntry(int dirFd, const std::function<bool(const char* name, unsigned char type)>& visit)
{
    // On the heap: the walks recurse inside `visit`, one buffer per folder level.
    std::unique_ptr<char[]> storage(new char[kBufferSize]);
    char* buffer = storage.get();
    if (::lseek(dirFd, 0, SEEK_SET) < 0)
        return errno;
    for (;;) {
        const ssize_t n = ::getdents64(dirFd, buffer, kBufferSize);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n == 0 ? 0 : errno;
        for (ssize_t offset = 0; offset < n;) {
            const auto* entry = reinterpret_cast<const dirent64*>(buffer + offset);
            offset += entry->d_reclen;
            if (!isDotOrDotDot(entry->d_name) && !visit(entry->d_name, entry->d_type))
                return 0;
        }
    }
}

int List(int dirFd, std::vector<Entry>& entries)
{
    entries.clear();
    return ForEachEntry(dirFd, [&](const char* name, unsigned char type) {
        entries.push_back({name, type});
        return true;
    });
}

} // namespace FileOpTree
