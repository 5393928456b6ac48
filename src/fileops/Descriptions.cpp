// Reading and rewriting a folder's description file (see Descriptions.h).
//
// Paths are handled as the kernel's bytes (EncodeFileName), and lines stay bytes from
// reading to writing, so a rewrite keeps every other line's name and description
// exactly as it was, whatever encoding wrote them.
#include "Descriptions.h"

#include "DescriptionFile.h"
#include "core/LineReader.h"
#include "core/TextOrder.h"
#include "platform/FileAttributes.h"
#include "platform/FileNames.h"
#include "platform/TMessages.h"
#include "platform/doors/FileReplacer.h"
#include "platform/doors/UntrustedFile.h"

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

// A handle of LineReader for a file opened through the door for untrusted files, so a
// FIFO or a device named DESCRIPT.ION is never waited on; 0 when it cannot be read.
int openLines(UntrustedFile& file, qint64 readLimit = LineReader::kWholeFile)
{
    return file.Ok() ? LineReader::adopt(file.Release(), kDescriptionBufferSize, readLimit) : 0;
}

// Calls onLine for every line that begins within the file's first readLimit bytes,
// until it returns false. A missing or unreadable file has no lines.
void forEachLine(const QByteArray& path, qint64 readLimit, const std::function<bool(const QByteArray&)>& onLine)
{
    UntrustedFile file = UntrustedFile::Open(path.toStdString());
    const int handle = openLines(file, readLimit);
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

// The line end a piece of a line finishes with, or nothing.
QByteArray lineEndOf(const QByteArray& piece)
{
    qsizetype start = piece.size();
    while (start > 0 && (piece[start - 1] == '\r' || piece[start - 1] == '\n'))
        --start;
    return piece.mid(start);
}

// The open description file with the entry's lines given the new description (removed
// when it is empty) wherever they are, so a name never ends up on two lines; when no
// line names the entry, a new line goes after the lines that begin within readLimit,
// where the listing sees it. Every other byte stays as it was. Returns the errno of a
// failed read, or 0.
int rewriteDescribing(int handle, const QByteArray& name, const QByteArray& description, qint64 readLimit,
                      QByteArray& out)
{
    constexpr int kCopyPiece = 64 * 1024;
    QByteArray tail;             // the lines that begin past readLimit
    bool matched = false;
    bool lastLineOpen = false;   // the file's last line has no line end
    qint64 looked = 0;
    while (!LineReader::eof(handle)) {
        QByteArray& to = looked < readLimit ? out : tail;
        bool ended = false;
        QByteArray piece = LineReader::readPiece(handle, kDescriptionLineMax, &ended);
        looked += piece.size();
        QByteArray end = ended ? lineEndOf(piece) : QByteArray();
        const DescriptionLine line = ParseDescriptionLine(piece.left(piece.size() - end.size()));
        const bool named = !line.name.isEmpty() && SameDescriptionName(line.name, name);
        if (!named)
            to += piece;
        while (!ended && !LineReader::eof(handle)) {
            piece = LineReader::readPiece(handle, kCopyPiece, &ended);
            looked += piece.size();
            if (!named)
                to += piece;
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
            to += replaced + end;
            lastLineOpen = false;
        }
    }
    if (!matched && !description.isEmpty()) {
        if (lastLineOpen && tail.isEmpty())
            out += "\r\n";
        out += FormatDescriptionLine(name, description);
    }
    out += tail;
    return LineReader::error(handle);
}

void warnNotWritten(const QByteArray& target, const QString& reason)
{
    TMessages::Show(MsgKind::Warning,
                    QCoreApplication::translate("Descriptions", "Unable to write the description to %1: %2.")
                        .arg(DecodeFileName(target), reason));
}

void warnNotWritten(const QByteArray& target, int error)
{
    warnNotWritten(target, QString::fromLocal8Bit(::strerror(error)));
}

// Why a file was not replaced, in the words the user sees.
void warnRefused(const QByteArray& target, FileReplacer::Status status, int error)
{
    switch (status) {
    case FileReplacer::Status::ReadOnly:
        return warnNotWritten(target, EACCES);
    case FileReplacer::Status::NotOwner:
        return warnNotWritten(target, EPERM);
    case FileReplacer::Status::NotRegular:
        return warnNotWritten(target, QCoreApplication::translate("Descriptions", "it is not a regular file"));
    case FileReplacer::Status::Changed:
        return warnNotWritten(target, QCoreApplication::translate("Descriptions", "another program changed it meanwhile"));
    default:
        return warnNotWritten(target, error != 0 ? error : EIO);
    }
}

// The file as it will be: read through the door for untrusted files, within the bound
// on what is rewritten; false after a warning.
bool rewrittenContent(const FileReplacer& file, const QByteArray& target, const QByteArray& name,
                      const QByteArray& description, qint64 readLimit, QByteArray& out)
{
    UntrustedFile in = UntrustedFile::Open(file.Target(), uint64_t(kDescriptionRewriteLimit));
    if (in.GetStatus() == UntrustedFile::Status::TooLarge) {
        warnNotWritten(target, QCoreApplication::translate("Descriptions", "it is larger than %1 MiB, the most that "
                                                                           "is rewritten, and was left as it was")
                                   .arg(kDescriptionRewriteLimit >> 20));
        return false;
    }
    if (in.GetStatus() == UntrustedFile::Status::NotRegular) {
        warnRefused(target, FileReplacer::Status::NotRegular, 0);
        return false;
    }
    if (!in.Ok()) {
        warnNotWritten(target, in.Error() != 0 ? in.Error() : EIO);
        return false;
    }
    struct stat st;
    if (::fstat(in.Fd(), &st) != 0 || !file.Was().Matches(st)) {
        warnRefused(target, FileReplacer::Status::Changed, 0);
        return false;
    }
    const int handle = openLines(in);
    if (handle == 0) {
        warnNotWritten(target, errno);
        return false;
    }
    const int error = rewriteDescribing(handle, name, description, readLimit, out);
    LineReader::close(handle);
    if (error != 0)
        warnNotWritten(target, error);
    return error == 0;
}

// Hidden keeps the file out of listings that hide such files; a file system without
// user attributes refuses, and the descriptions matter more.
void markHidden(const QString& path)
{
    uint32_t attributes = 0;
    ReadFileAttributes(path, &attributes);
    if (!(attributes & faHidden))
        WriteFileAttributes(path, attributes | faHidden, nullptr);
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

    const QByteArray description = EncodeDescriptionText(text);
    FileReplacer file = FileReplacer::Track(target.toStdString());
    if (!file.Existed() && description.isEmpty())
        return true;
    const FileReplacer::Status allowed = file.MayReplace();
    if (allowed != FileReplacer::Status::Ok) {
        warnRefused(target, allowed, errno);
        return false;
    }
    QByteArray content;
    if (!file.Existed())
        content = FormatDescriptionLine(entry.name, description);
    else if (!rewrittenContent(file, target, entry.name, description, readLimit, content))
        return false;

    file.SetNewFileMode(newFileMode());
    FileReplacer::Status status = file.Begin();
    if (status == FileReplacer::Status::Ok && !file.Write(content.constData(), size_t(content.size())))
        status = FileReplacer::Status::Failed;
    if (status == FileReplacer::Status::Ok) {
        // Set before the rename, so a new file never shows without it; an old file's
        // attributes are carried over, and get it after the rename when it lacked it.
        markHidden(QStringLiteral("/proc/self/fd/%1").arg(file.Fd()));
        status = file.Commit(FileReplacer::IfChanged::Refuse);
    }
    if (status != FileReplacer::Status::Ok) {
        warnRefused(target, status, file.Error());
        return false;
    }
    markHidden(DecodeFileName(target));
    return true;
}
