#include "ExtendedAttributes.h"

#include <cstring>
#include <sys/xattr.h>
#include <vector>

namespace ExtendedAttributes {

void Copy(int from, int to, Scope scope)
{
    ssize_t size = ::flistxattr(from, nullptr, 0);
    if (size <= 0)
        return;
    std::vector<char> names(size_t(size) + 1);
    size = ::flistxattr(from, names.data(), names.size());
    if (size <= 0)
        return;
    std::vector<char> value;
    for (ssize_t at = 0; at < size; at += ssize_t(std::strlen(names.data() + at)) + 1) {
        const char* name = names.data() + at;
        if (scope == Scope::User && std::strncmp(name, "user.", 5) != 0)
            continue;
        const ssize_t length = ::fgetxattr(from, name, nullptr, 0);
        if (length < 0)
            continue;
        value.resize(size_t(length) + 1);
        const ssize_t got = ::fgetxattr(from, name, value.data(), value.size());
        if (got >= 0)
            ::fsetxattr(to, name, value.data(), size_t(got), 0);
    }
}

} // namespace ExtendedAttributes
