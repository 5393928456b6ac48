// What makes a file on disk "the same file" between two moments: the same inode on the
// same device, and neither its content (size, modification time) nor its inode (change
// time) touched since. The change time catches what the other fields miss: a file
// rewritten in place whose modification time was put back (cp -p, rsync -t, tar x).
#pragma once

#include <ctime>
#include <sys/stat.h>
#include <sys/types.h>

struct FileIdentity {
    dev_t Device = 0;
    ino_t Inode = 0;
    off_t Size = 0;
    struct timespec Modified {};
    struct timespec Changed {};
    bool Known = false;   // false: nothing was there to remember

    static FileIdentity Of(const struct stat& st);
    // Reads `name` in `dirFd` without following a link; an unknown identity when absent.
    static FileIdentity At(int dirFd, const char* name);

    // The same inode, whatever happened to it.
    bool SameInode(const struct stat& st) const;
    // The same inode, untouched since.
    bool Matches(const struct stat& st) const;
    // Folders change their times as they are filled or emptied: only the inode counts.
    bool Matches(const struct stat& st, bool contentToo) const { return contentToo ? Matches(st) : SameInode(st); }
};
