// The archive being changed, as libzip sees it: a source that reads the archive as it
// was opened and writes the new one through a locked temporary file that replaces it
// only while it is still the file that was read. libzip's own file source would rename
// its temporary file over whatever stands under the name by then, over a link instead
// of its target, and over a file the user may not write.
#pragma once

#include "platform/doors/FileReplacer.h"
#include "platform/doors/UntrustedFile.h"

#include <memory>
#include <string>
#include <zip.h>

class ArchiveFile {
public:
    ArchiveFile(const ArchiveFile&) = delete;
    ArchiveFile& operator=(const ArchiveFile&) = delete;

    // Null when the archive may not be changed or read, with the reason in `why`.
    static std::unique_ptr<ArchiveFile> Open(const std::string& path, std::string& why);

    // The archive opened over this file (ZIP_CREATE and such in `flags`); null with the
    // reason in `why`. This object must outlive it.
    zip_t* openZip(int flags, std::string& why);

    // The file written: the archive's path with its links resolved.
    const std::string& target() const { return m_replacer.Target(); }
    // Why writing or removing the archive failed, when it was this side's doing.
    const std::string& failure() const { return m_failure; }

private:
    explicit ArchiveFile(FileReplacer replacer) : m_replacer(std::move(replacer)) { zip_error_init(&m_error); }
    static zip_int64_t Dispatch(void* self, void* data, zip_uint64_t length, zip_source_cmd_t command);
    zip_int64_t handle(void* data, zip_uint64_t length, zip_source_cmd_t command);
    zip_int64_t read(void* data, zip_uint64_t length);
    zip_int64_t stat(void* data, zip_uint64_t length);
    zip_int64_t seekRead(void* data, zip_uint64_t length);
    zip_int64_t seekWrite(void* data, zip_uint64_t length);
    zip_int64_t beginWrite();
    zip_int64_t commitWrite();
    zip_int64_t remove();
    zip_int64_t fail(int zipError, int systemError);

    FileReplacer m_replacer;
    UntrustedFile m_read;
    zip_uint64_t m_offset = 0;
    std::string m_failure;
    zip_error_t m_error{};
};
