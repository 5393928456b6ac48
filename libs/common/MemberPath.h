// Where an archive member may be written under the extraction folder. Names from an
// archive are untrusted: absolute names, ".." steps and links leading out of the folder
// are refused, so an archive can only ever write below the folder it is extracted into.
#pragma once

#include <optional>
#include <string>

namespace MemberPath {

// The path relative to the extraction folder for the member `name`, with its folders
// when `keepFolders` is set, or only its last name. Empty steps and "." are dropped.
// No value: the name is absolute, holds a ".." step or a NUL, or names no file.
std::optional<std::string> Relative(const std::string& name, bool keepFolders);

// Whether a symbolic link stored at `relativeLink` (a result of Relative) with the
// target `target` stays inside the extraction folder when read step by step.
bool LinkStaysInside(const std::string& relativeLink, const std::string& target);

} // namespace MemberPath
