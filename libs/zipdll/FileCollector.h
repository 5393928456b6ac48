// Turns the paths and patterns of an add command into the files to add. Problems with
// single files (missing, unreadable, special) are reported and leave that file out.
#pragma once

#include "SourceFile.h"

#include "DllCallback.h"
#include "ZipDllRecords.h"

#include <string>
#include <unordered_set>
#include <vector>

class FileCollector {
public:
    FileCollector(const ZipAddCommand& command, DllCallback& callback);

    std::vector<SourceFile> collect();
    // Folders whose whole contents were taken, parents first.
    const std::vector<WalkedFolder>& walkedFolders() const { return m_walkedFolders; }

private:
    void collectSpec(int fileSpec);
    void walk(const std::string& folder, const std::string& pattern, bool recurse, int fileSpec);
    void takeFolder(const std::string& path, const struct stat& info, int fileSpec);
    void takeOther(const std::string& path, const struct stat& info, int fileSpec);
    bool admitted(const SourceFile& file);
    bool excluded(const std::string& storedName) const;
    std::string storedNameOf(const std::string& path, bool folder, int fileSpec) const;
    bool recursed(int fileSpec) const;
    bool isArchive(const struct stat& info) const;
    void problem(const std::string& path, const std::string& reason);

    const ZipAddCommand& m_command;
    DllCallback& m_callback;
    struct stat m_archive {};
    bool m_archiveExists = false;
    std::vector<SourceFile> m_files;
    std::unordered_set<std::string> m_names;
    std::vector<WalkedFolder> m_walkedFolders;
};
