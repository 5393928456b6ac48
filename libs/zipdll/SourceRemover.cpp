#include "SourceRemover.h"

#include <cerrno>
#include <cstring>

void SourceRemover::remove(const std::string& archivePath, const std::vector<const SourceFile*>& files,
                           const std::vector<WalkedFolder>& folders)
{
    if (!SourceRemoval::FlushCopy(archivePath)) {
        m_callback.message(ZMC_FAILED, "Cannot flush \"" + archivePath + "\" to disk (" + std::strerror(errno) +
                                           "); the files were added but not removed.");
        return;
    }
    for (const SourceFile* file : files) {
        if (file->kind == SourceFile::Kind::Folder)
            continue;
        const SourceRemoval::Status status = SourceRemoval::Remove(file->diskPath, FileIdentity::Of(file->info));
        report(status, file->diskPath, errno);
    }
    // Children before parents; a folder that still holds something stays.
    for (auto folder = folders.rbegin(); folder != folders.rend(); ++folder) {
        const SourceRemoval::Status status = SourceRemoval::Remove(folder->diskPath, folder->identity, true);
        if (status != SourceRemoval::Status::NotEmpty)
            report(status, folder->diskPath, errno);
    }
}

void SourceRemover::report(SourceRemoval::Status status, const std::string& path, int error)
{
    const std::string why = SourceRemoval::Explain(status, path, error);
    if (!why.empty())
        m_callback.message(ZMC_FILE_PROBLEM, why);
}
