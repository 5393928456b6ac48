// Fills a pane's entries from a zip archive's directory: the folder the pane shows
// inside the archive, with the folders its member names imply. No widget work and no
// access to the members themselves, so it can be tested on plain entry lists.
#pragma once

#include "zip/ZipDirEntry.h"

#include <QString>
#include <functional>
#include <vector>

class TDirData;

// The archive's members in directory order, however the caller holds them.
struct ArchiveMembers {
    int Count = 0;
    std::function<const ZipDirEntry&(int index)> At;

    static ArchiveMembers Of(const std::vector<ZipDirEntry>& entries);
};

struct ArchiveListingInputs {
    QString Filter = QStringLiteral("*");   // applies to files only
    bool HideHidden = false;                  // members named with a leading '.'
    uint32_t ZipTime = 0;                     // the zip file's own time, packed, for ".."
    std::function<void(int done)> Progress;   // after each member
};

class ArchiveLister {
public:
    // Lists the folder pane.ArchivePath of the archive into pane.Items, replacing what
    // was there, and rebuilds pane.FilterMasks. Folder rows carry the total size of
    // the files below them. Over kMaxPaneItems rows, ".." and the first ones by name
    // are kept, folders before files, and pane.Truncated is set.
    static void List(TDirData& pane, const ArchiveMembers& members, const ArchiveListingInputs& in);

    // Whether a pane opens a file of this name as a folder: a ".zip" name, in any case.
    static bool IsZipName(const QString& name);
    // The zip file a pane inside an archive shows: pane.Path without its trailing '/'.
    static QString ZipFileOf(const TDirData& pane);
    // The packed DOS time of a file's modification, 0 when it cannot be read.
    static uint32_t PackedFileTime(const QString& path);
};
