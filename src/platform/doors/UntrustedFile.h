// The first door: reading a file whose name and bytes come from outside (pictures,
// archives, volumes, lists, tags, descriptions). Whatever the name promises, only a
// regular file is read: a FIFO, a device or a link to one is refused without waiting
// on it, and the size is checked against a bound before anything is read, so a FIFO
// named ".gif" never hangs a thread and a 10 GiB sparse file never fills memory.
//
// Plain POSIX, no Qt: the program, the zip libraries and the self-extractor share it.
#pragma once

#include "FileIdentity.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

class UntrustedFile {
public:
    enum class Status {
        Ok,
        Missing,        // no such file (ENOENT, ENOTDIR)
        NotRegular,     // a folder, FIFO, socket or device, or a link to one
        TooLarge,       // larger than the bound given
        WrongSignature, // does not start with what its kind must start with
        Failed,         // any other system error: Error() says which
    };

    static constexpr uint64_t kNoLimit = UINT64_MAX;

    UntrustedFile() = default;
    UntrustedFile(UntrustedFile&& other) noexcept;
    UntrustedFile& operator=(UntrustedFile&& other) noexcept;
    UntrustedFile(const UntrustedFile&) = delete;
    UntrustedFile& operator=(const UntrustedFile&) = delete;
    ~UntrustedFile();

    // Opens `path` (relative to `dirFd`) for reading. Links are followed unless
    // `followLinks` is false; whatever is reached must be a regular file of at most
    // `maxSize` bytes.
    static UntrustedFile Open(const std::string& path, uint64_t maxSize = kNoLimit, int dirFd = -100 /*AT_FDCWD*/,
                              bool followLinks = true);

    // Checks that the file starts with one of `signatures`; the status becomes
    // WrongSignature when none matches (a file too short for all of them included).
    bool ExpectSignature(std::initializer_list<std::string_view> signatures);

    bool Ok() const { return m_status == Status::Ok; }
    Status GetStatus() const { return m_status; }
    int Error() const { return m_error; }   // errno for Failed and Missing
    int Fd() const { return m_fd; }
    uint64_t Size() const { return m_size; }
    const FileIdentity& Identity() const { return m_identity; }

    // Reads exactly `count` bytes at `offset`; false on an error or a short file.
    bool ReadAt(uint64_t offset, void* to, size_t count) const;
    // The whole file (its size was checked against the bound on opening); false on an
    // error or when the file changed size meanwhile.
    bool ReadAll(std::string& bytes) const;
    // Hands the descriptor over; the caller closes it.
    int Release();

    // A short English text for the status, for callers without translations.
    std::string Explain(const std::string& path) const;

private:
    int m_fd = -1;
    Status m_status = Status::Failed;
    int m_error = 0;
    uint64_t m_size = 0;
    FileIdentity m_identity;
};
