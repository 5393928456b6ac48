// Feeds arbitrary bytes to the stub's reader of the archive it carries, as the program
// file the stub reads: the archive starts after the settings block when one is found,
// else at the start of the file. Besides not crashing or reading outside the file:
// every member whose data is found has it inside the archive's local part, a strict
// open accepts nothing a lenient one refuses, and both find the same members.
#include "SfxArchive.h"
#include "SfxBlock.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sys/mman.h>
#include <unistd.h>

namespace {

void check(bool holds)
{
    if (!holds)
        std::abort();
}

// One in-memory file for the whole run: the reader takes a descriptor.
int programFile(const uint8_t* data, size_t size)
{
    static const int fd = ::memfd_create("fuzz-sfx-archive", MFD_CLOEXEC);
    check(fd >= 0 && ::ftruncate(fd, 0) == 0);
    size_t written = 0;
    while (written < size) {
        const ssize_t n = ::pwrite(fd, data + written, size - written, off_t(written));
        check(n > 0);
        written += size_t(n);
    }
    return fd;
}

void checkMembers(const SfxArchive& archive, uint64_t start, uint64_t size)
{
    for (const SfxMember& member : archive.Members()) {
        if (const std::optional<uint64_t> data = archive.DataAt(member)) {
            check(member.LocalHeaderAt >= start && *data >= member.LocalHeaderAt + 30);
            check(*data <= size && member.CompressedSize <= size - *data);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const int fd = programFile(data, size);
    const std::optional<SfxLayout> layout = SfxBlock::LocateInBytes(data, size);
    const uint64_t start = layout ? layout->ArchiveOffset : 0;

    SfxArchive lenient;
    const bool opened = lenient.Open(fd, start, size, false);
    check(opened == lenient.Error().empty());
    if (opened) {
        check(lenient.Members().size() <= size / 46);
        checkMembers(lenient, start, size);
    }
    SfxArchive strict;
    if (strict.Open(fd, start, size, true)) {
        check(opened && strict.Members().size() == lenient.Members().size());
        checkMembers(strict, start, size);
    }
    return 0;
}
