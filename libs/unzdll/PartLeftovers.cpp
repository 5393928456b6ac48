#include "PartLeftovers.h"

#include "TempFile.h"

#include "platform/doors/TemporaryName.h"

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

std::vector<std::string> PartFilesIn(int folder)
{
    std::vector<std::string> found;
    const int listFd = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listFd < 0)
        return found;
    DIR* dir = ::fdopendir(listFd);
    if (!dir) {
        ::close(listFd);
        return found;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.front() == '.' && name.find(TempFile::kInfix) != std::string::npos)
            found.push_back(name);
    }
    ::closedir(dir);
    return found;
}

} // namespace

bool PartLeftovers::mayHave(int folder, const std::string& folderKey, const std::string& target)
{
    auto known = m_byFolder.find(folderKey);
    if (known == m_byFolder.end())
        known = m_byFolder.emplace(folderKey, PartFilesIn(folder)).first;
    const std::string prefix = TemporaryName::Prefix(target, TempFile::kInfix);
    return std::any_of(known->second.begin(), known->second.end(),
                       [&](const std::string& name) { return name.starts_with(prefix); });
}
