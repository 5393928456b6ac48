#include "MemberInfo.h"

#include "MemberName.h"

#include <sys/stat.h>

namespace {

constexpr zip_uint32_t kDosReadOnly = 0x01;

void ApplyAttributes(zip_t* archive, MemberInfo& member)
{
    zip_uint8_t system = 0;
    zip_uint32_t attributes = 0;
    if (zip_file_get_external_attributes(archive, member.index, 0, &system, &attributes) != 0)
        attributes = 0;
    const mode_t unixMode = mode_t(attributes >> 16);
    if (system == ZIP_OPSYS_UNIX && unixMode != 0) {
        if (S_ISLNK(unixMode))
            member.kind = MemberInfo::Kind::Link;
        else if (S_ISDIR(unixMode))
            member.kind = MemberInfo::Kind::Folder;
        // No setuid, setgid or sticky bit from an archive.
        member.mode = unixMode & 0777;
    } else {
        member.mode = (attributes & kDosReadOnly) ? 0444 : 0666;
    }
    if (!member.name.empty() && member.name.back() == '/')
        member.kind = MemberInfo::Kind::Folder;
    if (member.kind == MemberInfo::Kind::Folder)
        member.mode = (unixMode != 0 && system == ZIP_OPSYS_UNIX ? member.mode : 0777) | 0700;
}

} // namespace

std::vector<MemberInfo> ListMembers(zip_t* archive)
{
    std::vector<MemberInfo> members;
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t st;
        if (zip_stat_index(archive, zip_uint64_t(i), 0, &st) != 0 || !(st.valid & ZIP_STAT_NAME))
            continue;
        MemberInfo member;
        member.index = zip_uint64_t(i);
        member.name = MemberName::Shown(archive, zip_uint64_t(i));
        member.size = (st.valid & ZIP_STAT_SIZE) ? st.size : 0;
        member.mtime = (st.valid & ZIP_STAT_MTIME) ? st.mtime : 0;
        member.encrypted = (st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE;
        ApplyAttributes(archive, member);
        members.push_back(std::move(member));
    }
    return members;
}
