// Opens folders below the extraction folder one step at a time without following a
// symbolic link, making missing ones. Whatever links the destination already holds, or
// the archive has made, a path walked here cannot lead out of the extraction folder.
#pragma once

#include "UniqueFd.h"

#include <string>
#include <sys/types.h>

class FolderWalker {
public:
    explicit FolderWalker(int baseFolder) : m_base(baseFolder) {}

    // The folder at `relative` ("" is the base), owned by the walker and valid until
    // the next call; -1 with errno set when a step is a link or not a folder, or
    // cannot be made. New folders get `mode` less the umask.
    int open(const std::string& relative, mode_t mode = 0777);

private:
    int m_base;
    std::string m_lastPath;
    UniqueFd m_last;
};
