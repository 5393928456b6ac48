// Copying a file's extended attributes from one descriptor to another.
#pragma once

namespace ExtendedAttributes {

enum class Scope {
    // user.* only: the DOS attributes (user.DOSATTRIB) and other programs' own data, which
    // travel with a copy; other name spaces belong to the system and are left to it.
    User,
    // Every attribute, ACLs ("system.posix_acl_*") included: a replacement must carry
    // all that the old file carried. What the file system or our rights refuse (security
    // labels) is left: the content matters more.
    All,
};

void Copy(int from, int to, Scope scope);

} // namespace ExtendedAttributes
