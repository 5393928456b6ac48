// The folder an archive is extracted into, reached only step by step from its open
// descriptor: no folder on the way is entered through a symbolic link, so a member can
// never be written outside it, whatever links earlier members or others left there.
#pragma once

#include "UniqueFd.h"

#include <string>

class ExtractionFolder {
public:
    enum class Existing { Nothing, File, Folder };

    explicit ExtractionFolder(int rootFd) : m_root(rootFd) {}

    // Opens the folders leading to `relative` (from MemberPath::Relative), making the
    // missing ones; `leaf` receives the last name. Invalid when a step is not a folder.
    UniqueFd OpenParent(const std::string& relative, std::string& leaf) const;
    bool MakeFolders(const std::string& relative) const;

    // What `name` in `folder` is; a link counts as a file, whatever it points at.
    static Existing Probe(int folder, const std::string& name);
    // A new file of mode 0600 under a name of its own in `folder`.
    static UniqueFd CreateTemporary(int folder, std::string& temporary);
    static bool MakeTemporaryLink(int folder, const std::string& target, std::string& temporary);
    static bool Commit(int folder, const std::string& temporary, const std::string& name);
    static void Discard(int folder, const std::string& temporary);

private:
    static UniqueFd EnterOrMake(int folder, const std::string& step);

    int m_root;
};
