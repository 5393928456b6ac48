// What listing a zip archive gives: its central directory entries, the archive-level
// values and the warnings or the error met on the way.
#pragma once

#include "ZipDirEntry.h"

#include <QString>
#include <vector>

// How names and comments without the UTF-8 flag are read: cpAuto, cpNone, cpOEM.
enum class CodePageMode { Auto, None, Oem };

struct ZipMessage {
    int Code = 0;
    QString Text;
};

struct ZipListing {
    std::vector<ZipDirEntry> Entries;
    QString ArchiveComment;
    qint64 EndRecordOffset = 0;
    qint64 FirstLocalHeaderOffset = 0;   // smallest stored local header offset
    qint64 DirectoryOffset = 0;          // where the directory was read
    uint32_t DirectoryDisk = 0;
    uint32_t DiskNumber = 0;             // this volume's number; differs on a spanned set
    bool ExtraBytesInFront = false;      // stored offsets count from a later start
    std::vector<ZipMessage> Messages;    // warnings, then at most one error
};
