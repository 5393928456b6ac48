// Reading and rewriting a folder's description file (see Descriptions.h).
//
// Paths are handled as the kernel's bytes (EncodeFileName), and lines stay bytes from
// reading to writing, so a rewrite keeps every other line's name and description
// exactly as it was, whatever encoding wrote them.
#include "Descriptions.h"
#include "core/PosixIo.h"

#include "DescriptionFile.h"
#include "core/LineReader.h"
#include "core/TextOrder.h"
#include "platform/FileAttributes.h"
#include "platform/FileNames.h"
#include "platform/TMessages.h"

#include <QCoreApplication>
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

struct EntryPath {
    QByteArray folder;   // native bytes, no trailing slash except for "/"
    QByteArray name;
};

// A directory path may end with '/' here; its description lives in its parent.
bool splitEntryPath(const QString& entryPath, EntryPath* out)
{
    QByteArray path = EncodeFileName(entryPath);
    while (path.size() > 1 && path.endsWith('/'))
        path.chop(1);
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return false;
    out->folder = slash == 0 ? QByteArray("/") : path.left(slash);
    out->name = path.mid(slash + 1);
    return !out->name.isEmpty() && out->name != "." && out->name != "..";
}

QByteArray joinPath(const QByteArray& folder, const QByteArray& name)
{
    return folder.endsWith('/') ? folder + name : folder + '/' + name;
}

QByteArray nativeFolder(const QString& folder)
{
    QByteArray native = EncodeFileName(folder);
    while (native.size() > 1 && native.endsWith('/'))
        native.chop(1);
    return native;
}

// The spelling of the folder's description file, or empty. Linux names are case
// sensitive, but a file copied from another system is often "descript.ion"; the exact
// name is tried first so the common case costs one stat, not a directory scan.
QByteArray findSpelling(const QByteArray& folder)
{
    const QByteArray exact(kDescriptionFileName);
    struct stat st;
    if (::lstat(joinPath(folder, exact).constData(), &st) == 0)
        return exact;
    DIR* dir = ::opendir(folder.constData());
    if (!dir)
        return {};
    const QByteArray lower = exact.toLower();
    QByteArray best;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (!SameDescriptionName(name, exact))
            continue;
        if (name == lower) {
            best = name;
            break;
        }
        if (best.isEmpty() || name < best)
            best = name;
    }
    ::closedir(dir);
    return best;
}

// Calls onLine for every line that begins within the file's first readLimit bytes,
// until it returns false. A missing or unreadable file has no lines.
void forEachLine(const QByteArray& path, qint64 readLimit, const std::function<bool(const QByteArray&)>& onLine)
{
    const int handle = LineReader::open(path, kDescriptionBufferSize, readLimit);
    if (handle == 0)
        return;
    while (!LineReader::eof(handle)) {
        bool cut = false;
        QByteArray line = LineReader::readLine(handle, kDescriptionLineMax, &cut);
        if (cut)
            TrimCutUtf8(line);
        if (!onLine(line))
            break;
    }
    LineReader::close(handle);
}

// The mode a new file gets from open(2) with 0666: the process umask is only
// readable by setting it, which would race with other threads creating files.
mode_t newFileMode()
{
    mode_t mask = 022;
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith("Umask:")) {
                bool ok = false;
                const uint value = line.mid(6).trimmed().toUInt(&ok, 8);
                if (ok)
                    mask = mode_t(value);
                break;
            }
        }
    }
    return 0666 & ~mask;
}

// Writes to the temporary file in large pieces; the first failure (a full disk) sticks.
class PendingWrite {
public:
    explicit PendingWrite(int fd) : m_fd(fd) {}

    void add(const QByteArray& bytes)
    {
        m_pending += bytes;
        if (m_pending.size() >= kChunk)
            flush();
    }

    // Both give 0, or the errno of the first write that failed.
    int error() const { return m_error; }
    int flush()
    {
        if (m_error == 0 && !m_pending.isEmpty()) {
            errno = 0;
            if (!WriteAll(m_fd, m_pending))
                m_error = errno != 0 ? errno : ENOSPC;   // a write that took nothing
        }
        m_pending.clear();
        return m_error;
    }

private:
    static constexpr qsizetype kChunk = 64 * 1024;
    int m_fd;
    QByteArray m_pending;
    int m_error = 0;
};

// The line end a piece of a line finishes with, or nothing.
QByteArray lineEndOf(const QByteArray& piece)
{
    qsizetype start = piece.size();
    while (start > 0 && (piece[start - 1] == '\r' || piece[start - 1] == '\n'))
        --start;
    return piece.mid(start);
}

// Copies the open description file to out with the entry's lines given the new
// description (removed when it is empty) and, when no line names the entry, a new line
// after the lines that begin within readLimit, where the listing sees it. Only those
// lines are looked at: the rest is copied piece by piece, so a file of any size passes
// through without being held in memory. Returns the errno of a failed read, or 0.
int copyDescribing(int handle, const QByteArray& name, const QByteArray& description, qint64 readLimit,
                   PendingWrite& out)
{
    constexpr int kCopyPiece = 64 * 1024;
    bool matched = false;
    bool lastLineOpen = false;   // the file's last line has no line end
    qint64 looked = 0;
    while (looked < readLimit && out.error() == 0 && !LineReader::eof(handle)) {
        bool ended = false;
        QByteArray piece = LineReader::readPiece(handle, kDescriptionLineMax, &ended);
        looked += piece.size();
        QByteArray end = ended ? lineEndOf(piece) : QByteArray();
        const DescriptionLine line = ParseDescriptionLine(piece.left(piece.size() - end.size()));
        const bool named = !line.name.isEmpty() && SameDescriptionName(line.name, name);
        if (!named)
            out.add(piece);
        while (!ended && !LineReader::eof(handle)) {
            piece = LineReader::readPiece(handle, kCopyPiece, &ended);
            looked += piece.size();
            if (!named)
                out.add(piece);
            else if (ended)
                end = lineEndOf(piece);
        }
        lastLineOpen = !ended;
        if (!named)
            continue;
        matched = true;
        if (!description.isEmpty()) {
            QByteArray replaced = FormatDescriptionLine(line.name, description);
            // The line keeps its own line end; one written in another system's
            // convention stays in it.
            if (!end.isEmpty())
                replaced.chop(2);
            out.add(replaced + end);
            lastLineOpen = false;
        }
    }
    if (!matched && !description.isEmpty()) {
        if (lastLineOpen)
            out.add("\r\n");
        out.add(FormatDescriptionLine(name, description));
    }
    // A full disk ends the copy: reading on would only cost time.
    while (out.error() == 0 && !LineReader::eof(handle)) {
        bool ended = false;
        out.add(LineReader::readPiece(handle, kCopyPiece, &ended));
    }
    return LineReader::error(handle);
}

void warnNotWritten(const QByteArray& target, int error)
{
    TMessages::Show(MsgKind::Warning,
                    QCoreApplication::translate("Descriptions", "Unable to write the description to %1: %2.")
                        .arg(DecodeFileName(target), QString::fromLocal8Bit(::strerror(error))));
}

void syncFolder(const QByteArray& folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

QString FindDescriptionFile(const QString& folder)
{
    const QByteArray native = nativeFolder(folder);
    const QByteArray spelling = findSpelling(native);
    return spelling.isEmpty() ? QString() : DecodeFileName(joinPath(native, spelling));
}

QHash<QString, QString> LoadDescriptions(const QString& folder, qint64 readLimit)
{
    QHash<QString, QString> descriptions;
    const QByteArray native = nativeFolder(folder);
    const QByteArray spelling = findSpelling(native);
    if (spelling.isEmpty())
        return descriptions;
    forEachLine(joinPath(native, spelling), readLimit, [&](const QByteArray& bytes) {
        const DescriptionLine line = ParseDescriptionLine(bytes);
        if (line.name.isEmpty())
            return true;
        const QString key = AsciiUpper(DecodeFileName(line.name));
        if (line.description.isEmpty())
            descriptions.remove(key);
        else
            descriptions.insert(key, DecodeDescriptionText(line.description));
        return true;
    });
    return descriptions;
}

QString ReadDescription(const QString& entryPath)
{
    EntryPath entry;
    if (!splitEntryPath(entryPath, &entry))
        return {};
    const QByteArray spelling = findSpelling(entry.folder);
    if (spelling.isEmpty())
        return {};
    QString found;
    forEachLine(joinPath(entry.folder, spelling), kDescriptionReadLimit, [&](const QByteArray& bytes) {
        const DescriptionLine line = ParseDescriptionLine(bytes);
        if (line.name.isEmpty() || !SameDescriptionName(line.name, entry.name))
            return true;
        found = DecodeDescriptionText(line.description);
        return false;
    });
    return found;
}

bool WriteDescription(const QString& entryPath, const QString& text, qint64 readLimit)
{
    EntryPath entry;
    if (!splitEntryPath(entryPath, &entry))
        return false;
    const QByteArray spelling = findSpelling(entry.folder);
    const QByteArray target = joinPath(entry.folder, spelling.isEmpty() ? QByteArray(kDescriptionFileName) : spelling);
    if (!CanFormatDescriptionName(entry.name)) {
        TMessages::Show(MsgKind::Warning,
                        QCoreApplication::translate("Descriptions", "Unable to write the description to %1: the name %2 "
                                                                    "cannot be written in it.")
                            .arg(DecodeFileName(target), DecodeFileName(entry.name)));
        return false;
    }

    struct stat old;
    const bool hadFile = !spelling.isEmpty() && ::stat(target.constData(), &old) == 0 && S_ISREG(old.st_mode);
    const QByteArray description = EncodeDescriptionText(text);
    if (!hadFile && description.isEmpty())
        return true;
    // A read-only description file is the user's "do not change": treat it as no
    // write access rather than replacing it behind the permission's back.
    if (hadFile && !(old.st_mode & S_IWUSR)) {
        warnNotWritten(target, EACCES);
        return false;
    }
    // An existing file that cannot be read must not be replaced by one holding only
    // the new line.
    const int handle = hadFile ? LineReader::open(target, kDescriptionBufferSize) : 0;
    if (hadFile && handle == 0) {
        warnNotWritten(target, errno);
        return false;
    }
    uint32_t attributes = 0;
    if (hadFile)
        ReadFileAttributes(DecodeFileName(target), &attributes);

    QByteArray temporary = joinPath(entry.folder, "DSCXXXXXX");
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        LineReader::close(handle);
        warnNotWritten(target, error);
        return false;
    }
    // mkstemp makes the file private; the replacement keeps the old file's access
    // (and, where allowed, its owner), or gets what a newly created file would.
    if (hadFile) {
        ::fchmod(fd, old.st_mode & 07777);
        if (old.st_uid != ::geteuid() || old.st_gid != ::getegid())
            (void)::fchown(fd, old.st_uid, old.st_gid);
    } else {
        ::fchmod(fd, newFileMode());
    }

    PendingWrite out(fd);
    int error = 0;
    if (hadFile) {
        error = copyDescribing(handle, entry.name, description, readLimit, out);
        LineReader::close(handle);
    } else {
        out.add(FormatDescriptionLine(entry.name, description));
    }
    if (error == 0)
        error = out.flush();
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error != 0) {
        ::unlink(temporary.constData());
        warnNotWritten(target, error);
        return false;
    }

    // Hidden is set before the rename so the file never shows without it. A file
    // system without user attributes refuses; the descriptions matter more.
    const uint32_t kept = attributes & (faHidden | faSysFile | faArchive);
    WriteFileAttributes(DecodeFileName(temporary), kept | faHidden, nullptr);

    // rename() replaces the old file in one step: at every moment the folder holds
    // either the complete old file or the complete new one.
    if (::rename(temporary.constData(), target.constData()) != 0) {
        TMessages::Show(MsgKind::Warning,
                        QCoreApplication::translate("Descriptions", "Unable to rename to DESCRIPT.ION."));
        return false;
    }
    syncFolder(entry.folder);
    return true;
}
