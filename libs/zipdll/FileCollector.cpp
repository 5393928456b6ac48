#include "FileCollector.h"

#include "Wildcard.h"

#include "platform/doors/UntrustedFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Names are stored relative: leading '/', "." and ".." steps are dropped, as the
// unpacking side would refuse them anyway.
std::string CleanPath(const std::string& path)
{
    std::string out;
    size_t from = 0;
    while (from <= path.size()) {
        size_t slash = path.find('/', from);
        if (slash == std::string::npos)
            slash = path.size();
        const std::string step = path.substr(from, slash - from);
        if (!step.empty() && step != "." && step != "..") {
            if (!out.empty())
                out += '/';
            out += step;
        }
        from = slash + 1;
    }
    return out;
}

std::string LastStep(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string JoinPath(const std::string& folder, const std::string& name)
{
    if (folder.empty())
        return name;
    return folder.back() == '/' ? folder + name : folder + '/' + name;
}

std::vector<std::string> SortedNames(DIR* folder)
{
    std::vector<std::string> names;
    while (const dirent* entry = readdir(folder)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

const char* SpecialKind(mode_t mode)
{
    if (S_ISFIFO(mode))
        return "a named pipe";
    if (S_ISSOCK(mode))
        return "a socket";
    return "a device";
}

} // namespace

FileCollector::FileCollector(const ZipAddCommand& command, DllCallback& callback)
    : m_command(command), m_callback(callback)
{
    m_archiveExists = command.ZipFileName && ::stat(command.ZipFileName, &m_archive) == 0;
}

std::vector<SourceFile> FileCollector::collect()
{
    for (int fileSpec = 0; fileSpec < m_command.SpecCount && !m_callback.stopped(); ++fileSpec)
        collectSpec(fileSpec);
    return std::move(m_files);
}

bool FileCollector::recursed(int fileSpec) const
{
    // Each file pattern carries the command's choice unless it was marked otherwise.
    return m_command.FileSpecs[fileSpec].Recurse != 0;
}

void FileCollector::collectSpec(int fileSpec)
{
    const char* text = m_command.FileSpecs[fileSpec].FileSpec;
    if (!text || !*text)
        return;
    std::string path = text;
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    const std::string leaf = LastStep(path);
    if (Wildcard::HasWildcards(leaf)) {
        const size_t slash = path.rfind('/');
        const std::string folder = slash == std::string::npos ? "" : slash == 0 ? "/" : path.substr(0, slash);
        walk(folder, leaf, recursed(fileSpec), fileSpec);
        return;
    }
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        problem(path, std::strerror(errno));
        return;
    }
    if (!S_ISDIR(info.st_mode)) {
        takeOther(path, info, fileSpec);
        return;
    }
    if (excluded(storedNameOf(path, false, fileSpec)))
        return;
    takeFolder(path, info, fileSpec);
    if (recursed(fileSpec)) {
        m_walkedFolders.push_back({path, FileIdentity::Of(info)});
        walk(path, "*", true, fileSpec);
    }
}

void FileCollector::walk(const std::string& folder, const std::string& pattern, bool recurse, int fileSpec)
{
    DIR* handle = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!handle) {
        problem(folder, std::strerror(errno));
        return;
    }
    const std::vector<std::string> names = SortedNames(handle);
    const bool hiddenToo = m_command.SystemFiles != 0;
    for (const std::string& name : names) {
        if (m_callback.stopped())
            break;
        if (name.front() == '.' && !hiddenToo)
            continue;
        const std::string path = JoinPath(folder, name);
        struct stat info {};
        if (::fstatat(dirfd(handle), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
            problem(path, std::strerror(errno));
            continue;
        }
        const bool matches = Wildcard::Match(pattern, name, false);
        if (!S_ISDIR(info.st_mode)) {
            if (matches)
                takeOther(path, info, fileSpec);
            continue;
        }
        if (excluded(storedNameOf(path, false, fileSpec)))
            continue;
        if (matches)
            takeFolder(path, info, fileSpec);
        if (recurse) {
            m_walkedFolders.push_back({path, FileIdentity::Of(info)});
            walk(path, pattern, true, fileSpec);
        }
    }
    ::closedir(handle);
}

void FileCollector::takeFolder(const std::string& path, const struct stat& info, int fileSpec)
{
    // Junked names flatten the tree, so a folder entry would name nothing.
    if (m_command.NoDirEntries != 0 || m_command.JunkDirNames != 0)
        return;
    SourceFile file{SourceFile::Kind::Folder, path, storedNameOf(path, true, fileSpec), info, fileSpec};
    if (admitted(file))
        m_files.push_back(std::move(file));
}

void FileCollector::takeOther(const std::string& path, const struct stat& info, int fileSpec)
{
    SourceFile file{SourceFile::Kind::File, path, storedNameOf(path, false, fileSpec), info, fileSpec};
    if (S_ISLNK(info.st_mode)) {
        file.kind = SourceFile::Kind::Link;
    } else if (!S_ISREG(info.st_mode)) {
        problem(path, std::string("skipped, it is ") + SpecialKind(info.st_mode));
        return;
    } else if (isArchive(info)) {
        return;
    } else {
        // Whether it can be read at all, so that an unreadable file is reported now
        // and not as the failure of the whole archive.
        const UntrustedFile probe = UntrustedFile::Open(path, UntrustedFile::kNoLimit, AT_FDCWD, false);
        if (!probe.Ok()) {
            problem(path, probe.GetStatus() == UntrustedFile::Status::NotRegular ? "it is no longer a regular file"
                                                                                 : std::strerror(probe.Error()));
            return;
        }
    }
    if (admitted(file))
        m_files.push_back(std::move(file));
}

bool FileCollector::admitted(const SourceFile& file)
{
    if (file.storedName.empty() || excluded(file.storedName))
        return false;
    return m_names.insert(file.storedName).second;
}

bool FileCollector::excluded(const std::string& storedName) const
{
    std::string name = storedName;
    if (!name.empty() && name.back() == '/')
        name.pop_back();
    const std::string leaf = LastStep(name);
    for (int i = 0; i < m_command.ExclusionCount; ++i) {
        const char* pattern = m_command.Exclusions ? m_command.Exclusions[i] : nullptr;
        if (pattern && *pattern && (Wildcard::Match(pattern, name, true) || Wildcard::Match(pattern, leaf, true)))
            return true;
    }
    return false;
}

std::string FileCollector::storedNameOf(const std::string& path, bool folder, int fileSpec) const
{
    std::string name = CleanPath(path);
    if (m_command.JunkDirNames != 0)
        name = LastStep(name);
    const char* prefix = m_command.FileSpecs[fileSpec].ArchiveFolder;
    const std::string top = prefix ? CleanPath(prefix) : std::string();
    if (!top.empty())
        name = name.empty() ? top : top + '/' + name;
    if (folder && !name.empty())
        name += '/';
    return name;
}

bool FileCollector::isArchive(const struct stat& info) const
{
    return m_archiveExists && info.st_dev == m_archive.st_dev && info.st_ino == m_archive.st_ino;
}

void FileCollector::problem(const std::string& path, const std::string& reason)
{
    m_callback.message(ZMC_FILE_PROBLEM, "Cannot add \"" + path + "\": " + reason);
}
