// Reading a folder's entries for the tree walks of the file operations: names and
// types straight from getdents64, so the walks need no stat for the common case, and
// the whole list is read before the walk changes the folder.
#pragma once

#include <dirent.h>
#include <functional>
#include <string>
#include <vector>

namespace FileOpTree {

struct Entry {
    std::string Name;
    unsigned char Type;   // DT_DIR, DT_REG, DT_LNK, ..., DT_UNKNOWN where the file system does not say
};

// Every entry of the open folder except "." and ".."; reads from its start. Returns 0
// or the errno that cut the reading short.
int List(int dirFd, std::vector<Entry>& entries);

// The same without keeping the list; `visit` returns false to stop.
int ForEachEntry(int dirFd, const std::function<bool(const char* name, unsigned char type)>& visit);

} // namespace FileOpTree
