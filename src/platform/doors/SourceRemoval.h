// The third door: removing a source after its copy (a move, a move into or out of an
// archive, an archive extracted and deleted). The caller first makes its copy durable
// (FlushCopy); the source then goes only if its name still holds the very file that
// was read, so a file saved anew, appended to or rewritten in place meanwhile is kept.
//
// Plain POSIX, no Qt: the program, the zip libraries and the self-extractor share it.
#pragma once

#include "FileIdentity.h"

#include <string>

namespace SourceRemoval {

enum class Status {
    Removed,
    Gone,      // nothing there any more: nothing to do
    Changed,   // another file, or this one changed: kept
    NotEmpty,  // a folder that still holds something: kept
    Failed,    // a system error, in errno
};

// Removes `name` in `dirFd` (a folder with `folder`) if it still is `was`. A folder
// counts as unchanged while it is the same inode, as emptying it changes its times.
Status Remove(int dirFd, const std::string& name, const FileIdentity& was, bool folder = false);
Status Remove(const std::string& path, const FileIdentity& was, bool folder = false);

// Flushes a written copy and the folder that names it; false with errno when either
// could not be made durable (then no source may go).
bool FlushCopy(const std::string& path);
// Flushes the whole file system that holds `path` (one call for many copies).
bool FlushFileSystem(const std::string& path);

// A short English text for a status, for callers without translations.
std::string Explain(Status status, const std::string& path, int error);

} // namespace SourceRemoval
