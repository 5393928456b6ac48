#include "ArchiveFile.h"

#include "platform/doors/SourceRemoval.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string Refusal(FileReplacer::Status status, const std::string& path, int error)
{
    const std::string quoted = "\"" + path + "\"";
    switch (status) {
    case FileReplacer::Status::ReadOnly:
        return quoted + " is read-only; it was left unchanged.";
    case FileReplacer::Status::NotOwner:
        return quoted + " belongs to another user; it was left unchanged.";
    case FileReplacer::Status::NotRegular:
        return quoted + " is not a regular file; it was left unchanged.";
    default:
        return "Cannot open " + quoted + ": " + std::strerror(error);
    }
}

} // namespace

std::unique_ptr<ArchiveFile> ArchiveFile::Open(const std::string& path, std::string& why)
{
    FileReplacer replacer = FileReplacer::Track(path);
    // Refused before anything is collected or read, so nothing of a move is touched.
    const FileReplacer::Status allowed = replacer.MayReplace();
    if (allowed != FileReplacer::Status::Ok) {
        why = Refusal(allowed, path, errno);
        return nullptr;
    }
    std::unique_ptr<ArchiveFile> archive(new ArchiveFile(std::move(replacer)));
    archive->m_read = UntrustedFile::Open(archive->target());
    const UntrustedFile::Status status = archive->m_read.GetStatus();
    if (status != UntrustedFile::Status::Ok && status != UntrustedFile::Status::Missing) {
        why = archive->m_read.Explain(path);
        return nullptr;
    }
    return archive;
}

zip_t* ArchiveFile::openZip(int flags, std::string& why)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_function_create(&ArchiveFile::Dispatch, this, &error);
    zip_t* archive = source ? zip_open_from_source(source, flags, &error) : nullptr;
    if (!archive) {
        why = zip_error_strerror(&error);
        if (source)
            zip_source_free(source);
    }
    zip_error_fini(&error);
    return archive;
}

zip_int64_t ArchiveFile::Dispatch(void* opaque, void* data, zip_uint64_t length, zip_source_cmd_t command)
{
    auto* self = static_cast<ArchiveFile*>(opaque);
    // libzip is C: nothing may be thrown through it.
    try {
        return self->handle(data, length, command);
    } catch (...) {
        return self->fail(ZIP_ER_INTERNAL, 0);
    }
}

zip_int64_t ArchiveFile::handle(void* data, zip_uint64_t length, zip_source_cmd_t command)
{
    switch (command) {
    case ZIP_SOURCE_OPEN:
        m_offset = 0;
        return m_read.Ok() ? 0 : fail(ZIP_ER_OPEN, ENOENT);
    case ZIP_SOURCE_READ:
        return read(data, length);
    case ZIP_SOURCE_CLOSE:
        return 0;
    case ZIP_SOURCE_STAT:
        return stat(data, length);
    case ZIP_SOURCE_ERROR:
        return zip_error_to_data(&m_error, data, length);
    case ZIP_SOURCE_FREE:
        zip_error_fini(&m_error);
        return 0;
    case ZIP_SOURCE_SEEK:
        return seekRead(data, length);
    case ZIP_SOURCE_TELL:
        return zip_int64_t(m_offset);
    case ZIP_SOURCE_BEGIN_WRITE:
        return beginWrite();
    case ZIP_SOURCE_WRITE:
        return m_replacer.Write(data, size_t(length)) ? zip_int64_t(length) : fail(ZIP_ER_WRITE, m_replacer.Error());
    case ZIP_SOURCE_SEEK_WRITE:
        return seekWrite(data, length);
    case ZIP_SOURCE_TELL_WRITE: {
        const off_t at = ::lseek(m_replacer.Fd(), 0, SEEK_CUR);
        return at < 0 ? fail(ZIP_ER_TELL, errno) : zip_int64_t(at);
    }
    case ZIP_SOURCE_COMMIT_WRITE:
        return commitWrite();
    case ZIP_SOURCE_ROLLBACK_WRITE:
        m_replacer.Abandon();
        return 0;
    case ZIP_SOURCE_REMOVE:
        return remove();
    case ZIP_SOURCE_SUPPORTS:
        return ZIP_SOURCE_SUPPORTS_WRITABLE;
    default:
        return fail(ZIP_ER_OPNOTSUPP, 0);
    }
}

zip_int64_t ArchiveFile::read(void* data, zip_uint64_t length)
{
    const zip_uint64_t size = m_read.Size();
    const zip_uint64_t count = std::min(length, size - std::min(m_offset, size));
    errno = 0;
    if (count > 0 && !m_read.ReadAt(m_offset, data, size_t(count)))
        return fail(ZIP_ER_READ, errno ? errno : EIO);
    m_offset += count;
    return zip_int64_t(count);
}

zip_int64_t ArchiveFile::stat(void* data, zip_uint64_t length)
{
    auto* st = ZIP_SOURCE_GET_ARGS(zip_stat_t, data, length, &m_error);
    if (!st)
        return -1;
    // What libzip takes for "no archive yet", so that ZIP_CREATE starts an empty one.
    if (!m_read.Ok())
        return fail(ZIP_ER_READ, ENOENT);
    struct stat now {};
    if (::fstat(m_read.Fd(), &now) != 0)
        return fail(ZIP_ER_READ, errno);
    zip_stat_init(st);
    st->size = m_read.Size();
    st->mtime = now.st_mtime;
    st->valid = ZIP_STAT_SIZE | ZIP_STAT_MTIME;
    return sizeof(*st);
}

zip_int64_t ArchiveFile::seekRead(void* data, zip_uint64_t length)
{
    const zip_int64_t at = zip_source_seek_compute_offset(m_offset, m_read.Size(), data, length, &m_error);
    if (at < 0)
        return -1;
    m_offset = zip_uint64_t(at);
    return 0;
}

zip_int64_t ArchiveFile::seekWrite(void* data, zip_uint64_t length)
{
    auto* args = ZIP_SOURCE_GET_ARGS(zip_source_args_seek_t, data, length, &m_error);
    if (!args)
        return -1;
    return ::lseek(m_replacer.Fd(), off_t(args->offset), args->whence) < 0 ? fail(ZIP_ER_SEEK, errno) : 0;
}

zip_int64_t ArchiveFile::beginWrite()
{
    if (m_replacer.Begin() == FileReplacer::Status::Ok)
        return 0;
    m_failure = m_replacer.Explain();
    return fail(ZIP_ER_TMPOPEN, m_replacer.Error());
}

zip_int64_t ArchiveFile::commitWrite()
{
    const FileReplacer::Status status = m_replacer.Commit(FileReplacer::IfChanged::Refuse);
    if (status == FileReplacer::Status::Ok)
        return 0;
    m_failure = m_replacer.Explain();
    return fail(status == FileReplacer::Status::Changed ? ZIP_ER_CHANGED : ZIP_ER_RENAME, m_replacer.Error());
}

// The last member went: libzip writes no empty archive but removes it, which must
// spare a file another program put there meanwhile.
zip_int64_t ArchiveFile::remove()
{
    const SourceRemoval::Status status = SourceRemoval::Remove(target(), m_replacer.Was());
    if (status == SourceRemoval::Status::Removed || status == SourceRemoval::Status::Gone)
        return 0;
    const int error = errno;
    m_failure = status == SourceRemoval::Status::Changed
                    ? "\"" + target() + "\" was changed by another program; it was left unchanged."
                    : SourceRemoval::Explain(status, target(), error);
    return fail(ZIP_ER_REMOVE, status == SourceRemoval::Status::Changed ? 0 : error);
}

zip_int64_t ArchiveFile::fail(int zipError, int systemError)
{
    zip_error_set(&m_error, zipError, systemError);
    return -1;
}
