// A libzip source that reads one file while the archive is written. It opens the file
// as an untrusted one (no link followed, nothing but a regular file), checks it is the
// file that was collected, announces it to the caller and reports the bytes as they go.
#pragma once

#include "SourceFile.h"

#include "DllCallback.h"
#include "UniqueFd.h"

#include <string>
#include <zip.h>

// The first failure to read a source, for the message when the archive cannot be written:
// libzip's own error text does not say which file it was reading.
struct ReadFailure {
    std::string text;
};

class FileSource {
public:
    // Null on failure; otherwise the source, which owns the new FileSource.
    static zip_source_t* Create(zip_t* archive, const SourceFile& file, DllCallback& callback, ReadFailure& failure);

private:
    FileSource(const SourceFile& file, DllCallback& callback, ReadFailure& failure);
    static zip_int64_t Dispatch(void* self, void* data, zip_uint64_t length, zip_source_cmd_t command);
    zip_int64_t handle(void* data, zip_uint64_t length, zip_source_cmd_t command);
    zip_int64_t open();
    zip_int64_t read(void* data, zip_uint64_t length);
    zip_int64_t stat(void* data, zip_uint64_t length);
    zip_int64_t fail(int zipError, int systemError, const std::string& reason);

    const SourceFile m_file;
    DllCallback& m_callback;
    ReadFailure& m_failure;
    UniqueFd m_fd;
    zip_uint64_t m_done = 0;
    bool m_announced = false;
    zip_error_t m_error{};
};
