// Adds files to an archive (creating it when missing). The archive changes only through
// zip_close, which writes the new archive to a temporary file that replaces the old one
// only while that is still the file read (ArchiveFile), so a failure, a cancel or
// another program's change leaves the archive on disk as it was.
#pragma once

#include "ArchiveFile.h"
#include "FileSource.h"
#include "SourceFile.h"

#include "DllCallback.h"
#include "ZipDllRecords.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>
#include <zip.h>

class AddJob {
public:
    AddJob(const ZipAddCommand& command, DllCallback& callback);

    // The number of entries written; 0 when the archive was not written.
    int32_t run();

private:
    struct Entry {
        const SourceFile* file = nullptr;
        zip_uint16_t encryption = ZIP_EM_NONE;
        std::string password;
    };

    std::vector<Entry> plan(const std::vector<SourceFile>& files);
    bool fillPasswords(std::vector<Entry>& entries);
    std::vector<Entry> wanted(zip_t* archive, const std::vector<Entry>& entries);
    void announceTotals(const std::vector<Entry>& entries);
    bool queue(zip_t* archive, const Entry& entry);
    zip_int64_t addData(zip_t* archive, const SourceFile& file);
    bool describe(zip_t* archive, zip_uint64_t index, const Entry& entry);
    bool storedOnly(const SourceFile& file) const;
    bool write(zip_t* archive, int32_t queued);
    void afterWriting(const std::vector<Entry>& entries);
    int32_t finish(int32_t count);

    const ZipAddCommand& m_command;
    DllCallback& m_callback;
    std::string m_archivePath;
    std::unique_ptr<ArchiveFile> m_archiveFile;
    ReadFailure m_readFailure;
    std::vector<WalkedFolder> m_walkedFolders;
};
