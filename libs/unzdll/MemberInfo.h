// What the extractor needs to know of one archive member, read from the central
// directory once.
#pragma once

#include <ctime>
#include <string>
#include <sys/types.h>
#include <vector>
#include <zip.h>

struct MemberInfo {
    enum class Kind { File, Folder, Link };

    zip_uint64_t index = 0;
    std::string name;
    Kind kind = Kind::File;
    zip_uint64_t size = 0;
    time_t mtime = 0;
    bool encrypted = false;
    mode_t mode = 0666;       // permission bits to create with; the umask still applies
};

// Every member with a name, in archive order.
std::vector<MemberInfo> ListMembers(zip_t* archive);
