// The second half of a move: removing the files that went into the archive. Nothing is
// removed until the new archive and its folder entry are flushed to disk, so a crash
// right after can never lose a file that is in neither place.
#pragma once

#include "SourceFile.h"

#include "DllCallback.h"

#include <string>
#include <vector>

class SourceRemover {
public:
    explicit SourceRemover(DllCallback& callback) : m_callback(callback) {}

    // `folders` parents first; each is removed when its files went and it is empty.
    void remove(const std::string& archivePath, const std::vector<const SourceFile*>& files,
                const std::vector<std::string>& folders);

private:
    bool flushed(const std::string& archivePath);

    DllCallback& m_callback;
};
