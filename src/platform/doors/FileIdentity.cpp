#include "FileIdentity.h"

#include <fcntl.h>

namespace {

bool SameTime(const struct timespec& a, const struct timespec& b)
{
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

} // namespace

FileIdentity FileIdentity::Of(const struct stat& st)
{
    FileIdentity id;
    id.Device = st.st_dev;
    id.Inode = st.st_ino;
    id.Size = st.st_size;
    id.Modified = st.st_mtim;
    id.Changed = st.st_ctim;
    id.Known = true;
    return id;
}

FileIdentity FileIdentity::At(int dirFd, const char* name)
{
    struct stat st;
    return ::fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) == 0 ? Of(st) : FileIdentity{};
}

bool FileIdentity::SameInode(const struct stat& st) const
{
    return Known && st.st_dev == Device && st.st_ino == Inode;
}

bool FileIdentity::Matches(const struct stat& st) const
{
    return SameInode(st) && st.st_size == Size && SameTime(st.st_mtim, Modified) && SameTime(st.st_ctim, Changed);
}
