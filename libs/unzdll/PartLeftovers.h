// Which targets of a folder have part files of killed runs beside them. Each folder is
// listed once per run: looking for every target's own leftovers would list a folder of
// many small files once per file.
#pragma once

#include <map>
#include <string>
#include <vector>

class PartLeftovers {
public:
    // Whether `target` in `folder` (which the caller names `folderKey`) may have some.
    bool mayHave(int folder, const std::string& folderKey, const std::string& target);

private:
    std::map<std::string, std::vector<std::string>> m_byFolder;
};
