// A file, link or folder found on disk for adding, with the name it gets in the archive.
#pragma once

#include "platform/doors/FileIdentity.h"

#include <string>
#include <sys/stat.h>

struct SourceFile {
    enum class Kind { File, Folder, Link };

    Kind kind = Kind::File;
    std::string diskPath;     // as reached from the current folder
    std::string storedName;   // folders end in '/'
    struct stat info {};      // as lstat saw it when collecting
    int fileSpec = 0;             // index of the command entry that found it
};

// A folder whose whole contents were taken: a move removes it when left empty, and
// only while it is still the folder that was walked.
struct WalkedFolder {
    std::string diskPath;
    FileIdentity identity;
};
