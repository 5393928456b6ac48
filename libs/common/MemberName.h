// The name of an archive member as the program shows it, so that a name picked in a
// pane finds its member: UTF-8 when the entry says so, code page 437 for entries made
// on DOS or OS/2, otherwise the bytes as they are when they are UTF-8, else Latin-1.
#pragma once

#include <string>
#include <zip.h>

namespace MemberName {

std::string Shown(zip_t* archive, zip_uint64_t index);

} // namespace MemberName
