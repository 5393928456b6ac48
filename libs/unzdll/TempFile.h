// A file written under a locked hidden name beside its target and renamed over the
// target only when complete, so a failed or damaged extraction never leaves a partial
// file under the real name. Removed unless committed; what a killed run left for the
// same target is removed before a new one is made, while one another running
// extraction holds locked stays.
#pragma once

#include "UniqueFd.h"

#include "platform/doors/FileIdentity.h"

#include <ctime>
#include <string>
#include <sys/types.h>

class TempFile {
public:
    static constexpr char kInfix[] = ".dvpart-";

    // For `target` in `folder`; `mode` less the umask becomes the file's permissions.
    // `removeStale`: leftovers of killed runs for the same target go first.
    TempFile(int folder, const std::string& target, mode_t mode, bool removeStale);
    ~TempFile();
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    bool valid() const { return m_created; }
    // The errno of the last failure.
    int error() const { return m_error; }
    bool write(const char* data, size_t size);
    // Sets the time and puts the file in place of the target, if the target is still
    // `replaced` (unknown: absent); otherwise changed() tells. `flush` makes the
    // content durable first: a file that replaces another must never be renamed over
    // it while its own content may still be lost in a crash.
    bool commit(time_t mtime, bool flush, const FileIdentity& replaced);
    bool changed() const { return m_changed; }

private:
    int m_folder;
    std::string m_target;
    std::string m_name;
    UniqueFd m_fd;
    int m_error = 0;
    bool m_created = false;
    bool m_committed = false;
    bool m_changed = false;
};
