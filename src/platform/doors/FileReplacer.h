// The second door: replacing a user's file (settings, DESCRIPT.ION, the editor's save,
// tags, archives) with new content.
//
// Track() is called when the file is read: a symbolic link is resolved then, so a link
// planted later is never written through, and the file's identity is remembered. The
// replacement refuses what the command-line tools refuse: a file without its owner's
// write bit, and (for anyone but root) another user's file, which a rename would give
// to us. The new content goes to a locked temporary file in the same folder, is
// flushed, gets the old file's mode (never a set-user-id or set-group-id bit), owner,
// ACL and extended attributes, and is renamed over the old file only if that is still
// the file that was read; then the folder is flushed. A file with other hard links is
// overwritten in place once the new content is safe in the temporary file, so the
// links keep sharing it.
//
// Plain POSIX, no Qt: the program, the zip libraries and the self-extractor share it.
#pragma once

#include "FileIdentity.h"

#include <string>
#include <sys/types.h>

class FileReplacer {
public:
    enum class Status {
        Ok,
        ReadOnly,     // the file's owner has no write permission on it, or we have none
        NotOwner,     // another user's file, which we cannot give back to them
        NotRegular,   // a folder, FIFO, device: nothing to replace
        Changed,      // the file on disk is no longer the one that was read
        Failed,       // a system error: Error() says which
    };
    enum class IfChanged { Refuse, Overwrite };

    static constexpr char kTempInfix[] = ".dvsave-";

    FileReplacer() = default;
    FileReplacer(FileReplacer&& other) noexcept;
    FileReplacer& operator=(FileReplacer&& other) noexcept;
    FileReplacer(const FileReplacer&) = delete;
    FileReplacer& operator=(const FileReplacer&) = delete;
    ~FileReplacer();

    // Remembers `path` as it is now. A missing file is fine: it will be created, and a
    // file that appears there meanwhile counts as a change.
    static FileReplacer Track(const std::string& path);

    // The file that will be replaced: `path` with its links resolved.
    const std::string& Target() const { return m_target; }
    bool Existed() const { return m_was.Known; }
    const FileIdentity& Was() const { return m_was; }

    // Whether we may replace it at all (mode and owner, as now on disk).
    Status MayReplace() const;
    // Whether the file on disk is still the one tracked.
    bool ChangedOnDisk() const;

    // The mode of a file that did not exist; by default what a new file gets (0666
    // less the umask).
    void SetNewFileMode(mode_t mode)
    {
        m_newMode = mode;
        m_newModeSet = true;
    }

    // Checks MayReplace, removes temporary files of killed runs, and creates this
    // run's temporary file; write the new content to Fd().
    Status Begin();
    int Fd() const { return m_fd; }
    bool Write(const void* data, size_t size);

    // Puts the written content in place. With IfChanged::Refuse, a file that changed
    // since Track() stays as it is and the status is Changed (the temporary file is
    // kept until Abandon() or the destructor, so the caller may ask and commit again).
    Status Commit(IfChanged ifChanged = IfChanged::Refuse);
    // Removes the temporary file; the old file stays as it was.
    void Abandon();
    // Begin, Write and Commit in one step.
    Status ReplaceWith(const void* data, size_t size, IfChanged ifChanged = IfChanged::Refuse);

    int Error() const { return m_error; }
    // A short English text for the status, for callers without translations.
    std::string Explain() const;

    // Tracks, writes `size` bytes and commits in one step.
    static Status Replace(const std::string& path, const void* data, size_t size,
                          IfChanged ifChanged = IfChanged::Overwrite, mode_t newFileMode = 0);

private:
    Status fail(Status status, int error);
    Status carryOver(int oldFd, const struct stat& old);
    Status writeInPlace(int oldFd);
    void flushFolder() const;
    std::string folder() const;
    std::string leaf() const;

    std::string m_target;
    FileIdentity m_was;
    mode_t m_newMode = 0;
    bool m_newModeSet = false;
    int m_fd = -1;
    std::string m_tempName;
    int m_error = 0;
    Status m_lastStatus = Status::Ok;
    bool m_writeFailed = false;
};
