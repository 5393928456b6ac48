#include "platform/AtomicFile.h"

#include "platform/FileNames.h"
#include "platform/doors/FileReplacer.h"

#include <cerrno>
#include <sys/stat.h>

namespace {

// The callers report a system error: a refusal turns into the one a tool would give.
int errorOf(const FileReplacer& replacer, FileReplacer::Status status)
{
    switch (status) {
    case FileReplacer::Status::Ok: return 0;
    case FileReplacer::Status::ReadOnly: return EACCES;
    case FileReplacer::Status::NotOwner: return EPERM;
    case FileReplacer::Status::Changed: return EAGAIN;
    case FileReplacer::Status::NotRegular: {
        struct stat st;
        return ::lstat(replacer.Target().c_str(), &st) == 0 && S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    }
    case FileReplacer::Status::Failed: break;
    }
    return replacer.Error() != 0 ? replacer.Error() : EIO;
}

} // namespace

int AtomicFile::Write(const QString& path, const QByteArray& bytes, NewFile newFile)
{
    FileReplacer replacer = FileReplacer::Track(EncodeFileName(path).toStdString());
    if (newFile == NewFile::Private)
        replacer.SetNewFileMode(0600);
    const FileReplacer::Status status =
        replacer.ReplaceWith(bytes.constData(), size_t(bytes.size()), FileReplacer::IfChanged::Overwrite);
    return errorOf(replacer, status);
}
