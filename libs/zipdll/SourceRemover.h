// The second half of a move: removing the files that went into the archive. Nothing is
// removed until the new archive and its folder entry are flushed to disk, so a crash
// right after can never lose a file that is in neither place; and a file is removed
// only while it is still the one that was collected, so content written to it while
// the archive was made is never lost.
#pragma once

#include "SourceFile.h"

#include "DllCallback.h"

#include "platform/doors/SourceRemoval.h"

#include <string>
#include <vector>

class SourceRemover {
public:
    explicit SourceRemover(DllCallback& callback) : m_callback(callback) {}

    // `archivePath` is the file written; `folders` parents first, each removed when
    // its files went and it is empty.
    void remove(const std::string& archivePath, const std::vector<const SourceFile*>& files,
                const std::vector<WalkedFolder>& folders);

private:
    void report(SourceRemoval::Status status, const std::string& path, int error);

    DllCallback& m_callback;
};
