// One open folder of a file-operation tree walk, with its path for messages.
//
// A walk holds a folder open for every level it is inside, so a tree thousands of
// levels deep would run the process out of descriptors (the panes, icon threads and
// other operations need theirs too). Below kHeldLevels a folder therefore gives its
// descriptor back while a sub-folder is worked on, and finds itself again through the
// sub-folder's ".." afterwards, checking that it is still the same folder.
//
// Thread: owned by one walk on one thread.
#pragma once

#include "platform/FileOpSysCalls.h"

#include <cstdint>
#include <memory>
#include <string>
#include <sys/types.h>
#include <vector>

class FileOpFolder {
public:
    // Levels that keep their descriptor: a copy walks two trees, so at most about
    // 2 x 32 descriptors are held however deep the trees go.
    static constexpr int kHeldLevels = 32;
    // The walks recurse once per level; deeper trees are refused as names too long
    // (their paths are far past PATH_MAX anyway) rather than overflow the stack.
    static constexpr int kMaxDepth = 4096;
    // Stack for a thread that walks trees: about 2 KiB a level, with room to spare.
    static constexpr unsigned kWalkStackBytes = 32u << 20;

    FileOpFolder() = default;
    FileOpFolder(FileOpFolder&&) noexcept = default;
    FileOpFolder& operator=(FileOpFolder&&) noexcept = default;

    // Opens a folder by path (depth 0), or `name` inside `parent` (one level deeper);
    // never follows a symbolic link at the last step. Returns 0 or the errno
    // (ENAMETOOLONG past kMaxDepth).
    int OpenPath(const std::string& path);
    int OpenChild(const FileOpFolder& parent, const std::string& name);

    int Fd() const { return m_fd.get(); }
    const std::string& Path() const { return m_path; }
    int Depth() const { return m_depth; }
    dev_t Device() const { return m_device; }
    // The mount the folder lies on; a bind mount of the same file system has the same
    // device but another mount.
    uint64_t MountId() const { return m_mountId; }
    std::string PathOf(const std::string& name) const { return m_path == "/" ? "/" + name : m_path + '/' + name; }

    // Gives the descriptor back while `child` (opened inside this folder) is worked
    // on, when the child lies deep enough; Rejoin takes it again.
    void ReleaseFor(const FileOpFolder& child) const;
    // False when this folder is no longer the parent of `child` (moved meanwhile).
    bool Rejoin(const FileOpFolder& child) const;

    // A descriptor of this folder that stays open after the folder itself is released
    // or closed, for work that is done later (removing moved sources in batches).
    std::shared_ptr<FileOpFd> Lasting() const;

    // The file system refused unnamed (O_TMPFILE) files once: use hidden names here.
    mutable bool NoUnnamedFiles = false;
    // Made by this run: nothing in it can be in the way or left from an earlier run.
    bool MadeByRun = false;
    // Hidden temporary names of earlier runs found here, read once when first needed.
    mutable bool PartsListed = false;
    mutable std::vector<std::string> Parts;

private:
    int take(int fd, const std::string& path, int depth);

    mutable FileOpFd m_fd;
    mutable std::weak_ptr<FileOpFd> m_lasting;   // owned by the work that needs it
    std::string m_path;
    int m_depth = 0;
    dev_t m_device = 0;
    ino_t m_inode = 0;
    uint64_t m_mountId = 0;
};
