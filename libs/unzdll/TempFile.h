// A file written under a temporary name in its target folder and renamed over the
// target only when complete, so a failed or damaged extraction never leaves a partial
// file under the real name. Removed unless committed.
#pragma once

#include "UniqueFd.h"

#include <ctime>
#include <string>
#include <sys/types.h>

class TempFile {
public:
    // `mode` less the umask becomes the file's permissions.
    TempFile(int folder, mode_t mode);
    ~TempFile();
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    bool valid() const { return m_created; }
    // The errno of the last failure.
    int error() const { return m_error; }
    bool write(const char* data, size_t size);
    // Sets the time and puts the file in place of `name` in the same folder.
    bool commit(const std::string& name, time_t mtime);

private:
    int m_folder;
    std::string m_name;
    UniqueFd m_fd;
    int m_error = 0;
    bool m_created = false;
    bool m_committed = false;
};
