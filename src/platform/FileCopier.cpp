// Byte copying for the file-operation engine (see FileCopier.h).
#include "platform/FileCopier.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
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
    // A file with holes (a disk image, a database) keeps them: copying the zeros would
    // fill the target's disk with nothing.
    struct stat st;
    struct stat target;
    const bool known = ::fstat(from, &st) == 0 && ::fstat(to, &target) == 0;
    m_devices = known ? std::make_pair(st.st_dev, target.st_dev) : std::pair<dev_t, dev_t>{};
    m_kernelForThisFile = m_kernelCopyWorks && known && !m_kernelRefused.count(m_devices);
    if (known && S_ISREG(st.st_mode) && ::lseek(from, 0, SEEK_CUR) == 0
        && int64_t(st.st_blocks) * 512 + kBufferBlock < st.st_size)
        return copySparse(from, to, st.st_size, onBlock);
    // Large files are read once from start to end; telling the kernel doubles its read-ahead.
    if (expectedSize >= kBufferBlock)
        ::posix_fadvise(from, 0, 0, POSIX_FADV_SEQUENTIAL);
    if (m_kernelForThisFile) {
        bool fallBack = false;
        FileCopyResult r = copyInKernel(from, to, onBlock, fallBack);
        if (!fallBack)
            return r;
        return copyThroughBuffer(from, to, r.Bytes, onBlock);
    }
    return copyThroughBuffer(from, to, 0, onBlock);
}

void FileCopier::noteKernelRefusal(int error)
{
    ++m_kernelRefusals;
    m_kernelForThisFile = false;
    if (error == ENOSYS)
        m_kernelCopyWorks = false;
    else
        m_kernelRefused.insert(m_devices);
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
                noteKernelRefusal(errno);
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

FileCopyResult FileCopier::copySparse(int from, int to, int64_t size, const BlockHook& onBlock)
{
    FileCopyResult r;
    int64_t pos = 0;
    while (pos < size) {
        off_t data = ::lseek(from, pos, SEEK_DATA);
        if (data < 0)
            data = errno == ENXIO ? size : pos;   // no more data, or holes unknown here: copy it all
        data = std::min<int64_t>(data, size);
        if (data > pos) {
            r.Bytes += data - pos;
            if (onBlock && !onBlock(data - pos))
                return {ECANCELED, false, r.Bytes};
            pos = data;
            continue;
        }
        off_t hole = ::lseek(from, pos, SEEK_HOLE);
        if (hole < 0 || hole <= pos)
            hole = size;
        if (!copyRange(from, to, pos, std::min<int64_t>(hole, size) - pos, onBlock, r))
            return r;
        pos = std::min<int64_t>(hole, size);
    }
    // The holes at the end exist only as the file's length.
    if (::ftruncate(to, size) != 0)
        return {errno, true, r.Bytes};
    return r;
}

bool FileCopier::copyRange(int from, int to, int64_t offset, int64_t length, const BlockHook& onBlock,
                           FileCopyResult& r)
{
    while (length > 0) {
        const int64_t allowed = limitForFault(r.Bytes, std::min<int64_t>(length, kKernelBlock));
        if (allowed == 0) {
            r.Error = m_failError;
            r.WriteSide = true;
            return false;
        }
        ssize_t n = -1;
        if (m_kernelForThisFile) {
            loff_t in = offset, out = offset;
            n = ::copy_file_range(from, &in, to, &out, size_t(allowed), 0);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 && !meansUnsupported(errno)) {
                r.Error = errno;
                r.WriteSide = isWriteSideError(errno);
                return false;
            }
            if (n < 0)
                noteKernelRefusal(errno);
        }
        if (n <= 0)
            n = copyThroughBufferAt(from, to, offset, std::min<int64_t>(allowed, kBufferBlock), r);
        if (n < 0)
            return false;
        if (n == 0)
            return true;   // the source became shorter meanwhile
        offset += n;
        length -= n;
        r.Bytes += n;
        if (onBlock && !onBlock(n)) {
            r.Error = ECANCELED;
            return false;
        }
    }
    return true;
}

long FileCopier::copyThroughBufferAt(int from, int to, int64_t offset, int64_t length, FileCopyResult& r)
{
    if (!m_buffer)
        m_buffer.reset(new char[kBufferBlock]);
    ssize_t got;
    do
        got = ::pread(from, m_buffer.get(), size_t(length), offset);
    while (got < 0 && errno == EINTR);
    if (got < 0) {
        r.Error = errno;
        return -1;
    }
    for (ssize_t written = 0; written < got;) {
        const ssize_t n = ::pwrite(to, m_buffer.get() + written, size_t(got - written), offset + written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            r.Error = errno;
            r.WriteSide = true;
            return -1;
        }
        written += n;
    }
    return got;
}
