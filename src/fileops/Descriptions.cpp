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

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
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

// Calls onLine for every line of the file until it returns false. A missing or
// unreadable file has no lines.
void forEachLine(const QByteArray& path, const std::function<bool(const QByteArray&)>& onLine)
{
    const int handle = LineReader::open(path, kDescriptionBufferSize);
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

    bool flush()
    {
        if (m_ok && !m_pending.isEmpty())
            m_ok = WriteAll(m_fd, m_pending);
        m_pending.clear();
        return m_ok;
    }

private:
    static constexpr qsizetype kChunk = 64 * 1024;
    int m_fd;
    QByteArray m_pending;
    bool m_ok = true;
};

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

QHash<QString, QString> LoadDescriptions(const QString& folder)
{
    QHash<QString, QString> descriptions;
    const QByteArray native = nativeFolder(folder);
    const QByteArray spelling = findSpelling(native);
    if (spelling.isEmpty())
        return descriptions;
    forEachLine(joinPath(native, spelling), [&](const QByteArray& bytes) {
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
    forEachLine(joinPath(entry.folder, spelling), [&](const QByteArray& bytes) {
        const DescriptionLine line = ParseDescriptionLine(bytes);
        if (line.name.isEmpty() || !SameDescriptionName(line.name, entry.name))
            return true;
        found = DecodeDescriptionText(line.description);
        return false;
    });
    return found;
}

bool WriteDescription(const QString& entryPath, const QString& text)
{
    EntryPath entry;
    if (!splitEntryPath(entryPath, &entry) || !CanFormatDescriptionName(entry.name))
        return false;
    const QByteArray spelling = findSpelling(entry.folder);
    const QByteArray target = joinPath(entry.folder, spelling.isEmpty() ? QByteArray(kDescriptionFileName) : spelling);

    struct stat old;
    const bool hadFile = !spelling.isEmpty() && ::stat(target.constData(), &old) == 0 && S_ISREG(old.st_mode);
    // A read-only description file is the user's "do not change": treat it as no
    // write access rather than replacing it behind the permission's back.
    if (hadFile && !(old.st_mode & S_IWUSR))
        return false;
    uint32_t attributes = 0;
    if (hadFile)
        ReadFileAttributes(DecodeFileName(target), &attributes);

    QByteArray temporary = joinPath(entry.folder, "DSCXXXXXX");
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    // mkstemp makes the file private; the replacement keeps the old file's access
    // (and, where allowed, its owner), or gets what a newly created file would.
    if (hadFile) {
        ::fchmod(fd, old.st_mode & 07777);
        if (old.st_uid != ::geteuid() || old.st_gid != ::getegid())
            (void)::fchown(fd, old.st_uid, old.st_gid);
    } else {
        ::fchmod(fd, newFileMode());
    }

    const QByteArray description = EncodeDescriptionText(text);
    PendingWrite out(fd);
    bool matched = false;
    if (!spelling.isEmpty()) {
        forEachLine(target, [&](const QByteArray& bytes) {
            DescriptionLine line = ParseDescriptionLine(bytes);
            if (line.name.isEmpty())
                return true;
            if (SameDescriptionName(line.name, entry.name)) {
                line.description = description;
                matched = true;
            }
            out.add(FormatDescriptionLine(line.name, line.description));
            return true;
        });
    }
    if (!matched)
        out.add(FormatDescriptionLine(entry.name, description));
    const bool written = out.flush() && ::fsync(fd) == 0;
    if (::close(fd) != 0 || !written) {
        ::unlink(temporary.constData());
        return false;
    }

    // Hidden is set before the rename so the file never shows without it. A file
    // system without user attributes refuses; the descriptions matter more.
    const uint32_t kept = attributes & (faHidden | faSysFile | faArchive);
    WriteFileAttributes(DecodeFileName(temporary), kept | faHidden, nullptr);

    // rename() replaces the old file in one step: at every moment the folder holds
    // either the complete old file or the complete new one.
    if (::rename(temporary.constData(), target.constData()) != 0) {
        TMessages::Show(MsgKind::Warning, QStringLiteral("Unable to rename to DESCRIPT.ION."));
        return false;
    }
    syncFolder(entry.folder);
    return true;
}
