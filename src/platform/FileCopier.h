// Copies the bytes of one open regular file into another, as fast as the kernel
// allows: copy_file_range first (the data never leaves the kernel), read/write with a
// large buffer where the file systems cannot do that. Holes of sparse files stay holes.
// Stops between blocks when asked.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <sys/types.h>
#include <utility>

struct FileCopyResult {
    int Error = 0;           // errno, ECANCELED when the block hook stopped the copy
    bool WriteSide = false;  // the error came from the target (full, read-only, ...)
    int64_t Bytes = 0;       // bytes copied
};

class FileCopier {
public:
    FileCopier();
    ~FileCopier();

    // Told the bytes of every finished block; returns false to stop the copy.
    using BlockHook = std::function<bool(int64_t bytes)>;

    // Copies from the current offsets of `from` until its end. `expectedSize` only
    // chooses how the copy is done; the source's end decides where it stops.
    FileCopyResult Copy(int from, int to, int64_t expectedSize, const BlockHook& onBlock);

    // For tests of the failure paths: the write that would go past `offset` bytes of
    // a file fails with `error` (e.g. ENOSPC). A negative offset removes the fault.
    void InjectWriteFailure(int64_t offset, int error);
    // How often the kernel copy was refused as unsupported (tests).
    int64_t KernelRefusals() const { return m_kernelRefusals; }

    // Block sizes: large enough that system calls cost nothing next to the data, small
    // enough that a cancel is noticed within milliseconds.
    static constexpr int64_t kKernelBlock = 8 << 20;
    static constexpr int64_t kBufferBlock = 1 << 20;

private:
    FileCopyResult copyInKernel(int from, int to, const BlockHook& onBlock, bool& fallBack);
    FileCopyResult copyThroughBuffer(int from, int to, int64_t alreadyCopied, const BlockHook& onBlock);
    FileCopyResult copySparse(int from, int to, int64_t size, const BlockHook& onBlock);
    bool copyRange(int from, int to, int64_t offset, int64_t length, const BlockHook& onBlock, FileCopyResult& r);
    long copyThroughBufferAt(int from, int to, int64_t offset, int64_t length, FileCopyResult& r);
    int64_t limitForFault(int64_t done, int64_t wanted) const;

    void noteKernelRefusal(int error);

    std::unique_ptr<char[]> m_buffer;   // made on the first buffered copy
    bool m_kernelCopyWorks = true;      // false after the kernel said it has no such copy at all
    // Pairs of (source, target) devices the kernel refused to copy between: a refusal
    // holds for every later file there, and asking again costs a system call per file
    // or per block of a sparse file.
    std::set<std::pair<dev_t, dev_t>> m_kernelRefused;
    std::pair<dev_t, dev_t> m_devices{};   // of the file being copied
    bool m_kernelForThisFile = true;
    int64_t m_kernelRefusals = 0;
    int64_t m_failAt = -1;
    int m_failError = 0;
};
