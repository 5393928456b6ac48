#include "FileSource.h"

#include "platform/doors/UntrustedFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

zip_source_t* FileSource::Create(zip_t* archive, const SourceFile& file, DllCallback& callback, ReadFailure& failure)
{
    auto* self = new FileSource(file, callback, failure);
    zip_source_t* source = zip_source_function(archive, &FileSource::Dispatch, self);
    if (!source)
        delete self;
    return source;
}

FileSource::FileSource(const SourceFile& file, DllCallback& callback, ReadFailure& failure)
    : m_file(file), m_callback(callback), m_failure(failure)
{
    zip_error_init(&m_error);
}

zip_int64_t FileSource::Dispatch(void* opaque, void* data, zip_uint64_t length, zip_source_cmd_t command)
{
    auto* self = static_cast<FileSource*>(opaque);
    // libzip is C: nothing may be thrown through it.
    try {
        return self->handle(data, length, command);
    } catch (...) {
        zip_error_set(&self->m_error, ZIP_ER_INTERNAL, 0);
        return command == ZIP_SOURCE_FREE ? 0 : -1;
    }
}

zip_int64_t FileSource::handle(void* data, zip_uint64_t length, zip_source_cmd_t command)
{
    switch (command) {
    case ZIP_SOURCE_OPEN:
        return open();
    case ZIP_SOURCE_READ:
        return read(data, length);
    case ZIP_SOURCE_CLOSE:
        m_fd.reset();
        return 0;
    case ZIP_SOURCE_STAT:
        return stat(data, length);
    case ZIP_SOURCE_ERROR:
        return zip_error_to_data(&m_error, data, length);
    case ZIP_SOURCE_FREE:
        zip_error_fini(&m_error);
        delete this;
        return 0;
    case ZIP_SOURCE_SUPPORTS:
        return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT,
                                              ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, ZIP_SOURCE_SUPPORTS, -1);
    default:
        zip_error_set(&m_error, ZIP_ER_OPNOTSUPP, 0);
        return -1;
    }
}

zip_int64_t FileSource::open()
{
    UntrustedFile file = UntrustedFile::Open(m_file.diskPath, UntrustedFile::kNoLimit, AT_FDCWD, false);
    if (file.GetStatus() == UntrustedFile::Status::Failed || file.GetStatus() == UntrustedFile::Status::Missing)
        return fail(ZIP_ER_OPEN, file.Error(), std::strerror(file.Error()));
    if (!file.Ok() || file.Identity().Device != m_file.info.st_dev || file.Identity().Inode != m_file.info.st_ino)
        return fail(ZIP_ER_CHANGED, 0, "it was replaced while the archive was written");
    m_fd.reset(file.Release());
    ::posix_fadvise(m_fd.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
    m_done = 0;
    if (!m_announced) {
        m_announced = true;
        m_callback.send(ZCB_NEW_FILE, 0, int64_t(m_file.info.st_size), m_file.storedName);
    }
    return 0;
}

zip_int64_t FileSource::read(void* data, zip_uint64_t length)
{
    if (m_callback.stopped())
        return fail(ZIP_ER_CANCELLED, 0, "cancelled");
    // Only the size collected is taken: the entry's size was announced from it, and a
    // file that grows meanwhile must not run on without end.
    const zip_uint64_t size = zip_uint64_t(m_file.info.st_size);
    const zip_uint64_t wanted = std::min<zip_uint64_t>(length, size - std::min(m_done, size));
    size_t got = 0;
    while (got < wanted) {
        const ssize_t n = ::read(m_fd.get(), static_cast<char*>(data) + got, wanted - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return fail(ZIP_ER_READ, errno, std::strerror(errno));
        if (n == 0)
            break;
        got += size_t(n);
    }
    m_done += got;
    if (!m_callback.progress(int64_t(got)))
        return fail(ZIP_ER_CANCELLED, 0, "cancelled");
    return zip_int64_t(got);
}

zip_int64_t FileSource::stat(void* data, zip_uint64_t length)
{
    auto* st = ZIP_SOURCE_GET_ARGS(zip_stat_t, data, length, &m_error);
    if (!st)
        return -1;
    zip_stat_init(st);
    st->size = zip_uint64_t(m_file.info.st_size);
    st->mtime = m_file.info.st_mtime;
    st->valid = ZIP_STAT_SIZE | ZIP_STAT_MTIME;
    return sizeof(*st);
}

zip_int64_t FileSource::fail(int zipError, int systemError, const std::string& reason)
{
    zip_error_set(&m_error, zipError, systemError);
    if (m_failure.text.empty() && zipError != ZIP_ER_CANCELLED)
        m_failure.text = "\"" + m_file.diskPath + "\": " + reason;
    return -1;
}
