#include "platform/AtomicFile.h"

#include "core/PosixIo.h"
#include "platform/FileNames.h"

#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray folderOf(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : (slash == 0 ? QByteArray("/") : path.left(slash));
}

// The mode a file created now would get: 0666 less the umask.
mode_t newFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

int AtomicFile::Write(const QString& path, const QByteArray& bytes, NewFile newFile)
{
    // Renaming over a symbolic link would replace the link, leaving the file it names
    // unchanged: the new content goes to that file instead.
    const QFileInfo info(path);
    const QString real = info.isSymLink() && !info.canonicalFilePath().isEmpty() ? info.canonicalFilePath() : path;
    const QByteArray target = EncodeFileName(real);
    struct stat old {};
    const bool hadFile = ::stat(target.constData(), &old) == 0;
    QByteArray temporary = target + kTempInfix + "XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return errno;
    // mkstemp makes the file private; the replacement keeps the old file's access.
    if (hadFile) {
        ::fchmod(fd, old.st_mode & 07777);
        if (old.st_uid != ::geteuid() || old.st_gid != ::getegid())
            (void)::fchown(fd, old.st_uid, old.st_gid);
    } else if (newFile == NewFile::AsCreated) {
        ::fchmod(fd, newFileMode());
    }
    int error = 0;
    if (!WriteAll(fd, bytes) || ::fsync(fd) != 0)
        error = errno ? errno : EIO;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(temporary.constData(), target.constData()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temporary.constData());
        return error;
    }
    // The rename itself must reach the disk too.
    const int folder = ::open(folderOf(target).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return 0;
}
