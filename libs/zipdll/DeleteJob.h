// Deletes the members matching the command's name patterns (wildcards run over '/', so
// "dir/*.*" takes the folder's whole tree and its own entry).
#pragma once

#include "ArchiveFile.h"

#include "DllCallback.h"
#include "ZipDllRecords.h"

#include <string>
#include <vector>
#include <zip.h>

class DeleteJob {
public:
    DeleteJob(const ZipAddCommand& command, DllCallback& callback);

    // The number of members deleted; 0 when the archive was not written.
    int32_t run();

private:
    std::vector<zip_uint64_t> matching(zip_t* archive) const;
    bool write(zip_t* archive, const ArchiveFile& file);
    int32_t finish(int32_t count);

    const ZipAddCommand& m_command;
    DllCallback& m_callback;
    std::string m_archivePath;
};
