#include "SourceRemover.h"

#include "UniqueFd.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool Synced(const std::string& path, int flags)
{
    const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | flags));
    return fd.valid() && ::fsync(fd.get()) == 0;
}

} // namespace

bool SourceRemover::flushed(const std::string& archivePath)
{
    return Synced(archivePath, 0) && Synced(FolderOf(archivePath), O_DIRECTORY);
}

void SourceRemover::remove(const std::string& archivePath, const std::vector<const SourceFile*>& files,
                           const std::vector<std::string>& folders)
{
    if (!flushed(archivePath)) {
        m_callback.message(ZMC_FAILED, "Cannot flush \"" + archivePath + "\" to disk (" + std::strerror(errno) +
                                           "); the files were added but not removed.");
        return;
    }
    for (const SourceFile* file : files) {
        if (file->kind == SourceFile::Kind::Folder)
            continue;
        if (::unlink(file->diskPath.c_str()) != 0)
            m_callback.message(ZMC_FILE_PROBLEM,
                               "Cannot remove \"" + file->diskPath + "\" after adding it: " + std::strerror(errno));
    }
    // Children before parents; a folder that still holds something stays.
    for (auto folder = folders.rbegin(); folder != folders.rend(); ++folder)
        ::rmdir(folder->c_str());
}
