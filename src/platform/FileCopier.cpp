// Byte copying for the file-operation engine (see FileCopier.h).
#include "platform/FileCopier.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The kernel cannot copy between these files or file systems: the buffer must do it.
bool meansUnsupported(int error)
{
    return error == EXDEV || error == EINVAL || error == ENOSYS || error == EOPNOTSUPP || error == ENOTSUP
        || error == EBADF || error == EPERM;
}

// Only these say for certain that the target is at fault.
bool isWriteSideError(int error)
{
    return error == ENOSPC || error == EDQUOT || error == EFBIG || error == EROFS;
}

} // namespace

FileCopier::FileCopier() = default;
FileCopier::~FileCopier() = default;

void FileCopier::InjectWriteFailure(int64_t offset, int error)
{
    m_failAt = offset;
    m_failError = error;
}

int64_t FileCopier::limitForFault(int64_t done, int64_t wanted) const
{
    if (m_failAt < 0 || done + wanted <= m_failAt)
        return wanted;
    return m_failAt - done;   // 0 means: fail now
}

FileCopyResult FileCopier::Copy(int from, int to, int64_t expectedSize, const BlockHook& onBlock)
{
    // Large files are read once from start to end; telling the kernel doubles its read-ahead.
    if (expectedSize >= kBufferBlock)
        ::posix_fadvise(from, 0, 0, POSIX_FADV_SEQUENTIAL);
    if (m_kernelCopyWorks) {
        bool fallBack = false;
        FileCopyResult r = copyInKernel(from, to, onBlock, fallBack);
        if (!fallBack)
            return r;
        return copyThroughBuffer(from, to, r.Bytes, onBlock);
    }
    return copyThroughBuffer(from, to, 0, onBlock);
}

FileCopyResult FileCopier::copyInKernel(int from, int to, const BlockHook& onBlock, bool& fallBack)
{
    FileCopyResult r;
    for (;;) {
        const int64_t block = limitForFault(r.Bytes, kKernelBlock);
        if (block == 0)
            return {m_failError, true, r.Bytes};
        const ssize_t n = ::copy_file_range(from, nullptr, to, nullptr, size_t(block), 0);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            // Unsupported is only known before the first byte; later it is a real error.
            if (r.Bytes == 0 && meansUnsupported(errno)) {
                if (errno == ENOSYS)
                    m_kernelCopyWorks = false;
                fallBack = true;
                return r;
            }
            r.Error = errno;
            r.WriteSide = isWriteSideError(errno);
            return r;
        }
        if (n == 0) {
            // Some file systems (proc, sys, some FUSE) give the kernel copy nothing
            // although reading gives data; a read settles whether the file is empty.
            if (r.Bytes == 0)
                fallBack = true;
            return r;
        }
        r.Bytes += n;
        if (onBlock && !onBlock(n)) {
            r.Error = ECANCELED;
            return r;
        }
    }
}

FileCopyResult FileCopier::copyThroughBuffer(int from, int to, int64_t alreadyCopied, const BlockHook& onBlock)
{
    if (!m_buffer)
        m_buffer.reset(new char[kBufferBlock]);
    FileCopyResult r;
    r.Bytes = alreadyCopied;
    for (;;) {
        const ssize_t got = ::read(from, m_buffer.get(), size_t(kBufferBlock));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            r.Error = errno;
            return r;
        }
        if (got == 0)
            return r;
        ssize_t written = 0;
        while (written < got) {
            const int64_t allowed = limitForFault(r.Bytes, got - written);
            if (allowed == 0)
                return {m_failError, true, r.Bytes};
            const ssize_t n = ::write(to, m_buffer.get() + written, size_t(allowed));
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                r.Error = errno;
                r.WriteSide = true;
                return r;
            }
            written += n;
            r.Bytes += n;
        }
        if (onBlock && !onBlock(got)) {
            r.Error = ECANCELED;
            return r;
        }
    }
}
