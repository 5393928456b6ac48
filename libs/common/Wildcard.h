// Wildcard patterns as users of the zip libraries type them: `*` for any run of
// characters, `?` for one character. "*.*" as the last step means every name, with or
// without a dot, as on the platform these patterns come from.
#pragma once

#include <string_view>

namespace Wildcard {

bool HasWildcards(std::string_view text);

// With `crossFolders` a star also runs over '/' (a member pattern "docs/*" takes the
// whole tree below docs/); without it pattern and name are compared step by step and
// must have as many steps. `?` takes a whole UTF-8 character.
bool Match(std::string_view pattern, std::string_view name, bool crossFolders);

} // namespace Wildcard
