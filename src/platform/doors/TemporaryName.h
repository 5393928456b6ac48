// Hidden temporary files beside their target (".NAME<infix>XXXXXX"), held under a lock
// while in use, so that the leftovers of a killed program can be told from files still
// being written and removed by the next operation on the same name.
#pragma once

#include <string>
#include <sys/types.h>

namespace TemporaryName {

constexpr size_t kRandomChars = 6;

// ".NAME<infix>", cut so that the whole name stays within NAME_MAX and never ends on
// half a UTF-8 character.
std::string Prefix(const std::string& name, const std::string& infix);

// Creates a new, empty temporary file for `name` in `dirFd` with `mode` (less nothing:
// the caller's exact bits) and takes an exclusive lock on it; -1 with errno on failure.
// `created` receives its name.
int Create(int dirFd, const std::string& name, const std::string& infix, mode_t mode, std::string& created);

// Removes what killed runs left for `name` in `dirFd`: our own regular files with that
// prefix that no running operation holds locked. Returns how many went.
int RemoveStale(int dirFd, const std::string& name, const std::string& infix);

} // namespace TemporaryName
