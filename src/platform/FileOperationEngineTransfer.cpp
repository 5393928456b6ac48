// Copy and move for the file-operation engine (the states are listed in
// FileOperationEngine.h).
//
// Speed: folders are walked with openat() on open folder descriptors and the entry
// types from getdents64, so a regular file costs one open, one fstat and the copy;
// the existence check for a conflict is skipped inside folders this run made itself.
#include "platform/FileOperationEngine.h"

#include "platform/FileNames.h"
#include "platform/FileOpSysCalls.h"
#include "platform/FileOpTree.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <sys/xattr.h>
#include <utility>

namespace {

QString shown(const std::string& path) { return DecodeFileName(path.data(), qsizetype(path.size())); }

QString quoted(const std::string& path) { return QLatin1Char('"') + shown(path) + QLatin1Char('"'); }

std::string join(const std::string& dir, const std::string& name)
{
    return dir == "/" ? "/" + name : dir + '/' + name;
}

std::string parentOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string cleanPath(const QString& path)
{
    std::string bytes = EncodeFileName(path).toStdString();
    while (bytes.size() > 1 && bytes.back() == '/')
        bytes.pop_back();
    return bytes;
}

unsigned char typeOf(mode_t mode)
{
    switch (mode & S_IFMT) {
    case S_IFDIR: return DT_DIR;
    case S_IFREG: return DT_REG;
    case S_IFLNK: return DT_LNK;
    case S_IFIFO: return DT_FIFO;
    case S_IFSOCK: return DT_SOCK;
    case S_IFCHR: return DT_CHR;
    case S_IFBLK: return DT_BLK;
    default: return DT_UNKNOWN;
    }
}

QDateTime modifiedOf(const struct stat& st)
{
    return QDateTime::fromMSecsSinceEpoch(int64_t(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000);
}

QString readText(const std::string& path, int error)
{
    return QStringLiteral("Cannot read %1: %2").arg(quoted(path), SystemErrorText(error));
}

QString writeText(const std::string& path, int error)
{
    return QStringLiteral("Cannot write %1: %2").arg(quoted(path), SystemErrorText(error));
}

// The DOS attributes (hidden, system, archive) live in user.DOSATTRIB, and other
// programs keep their own user.* data; those travel with the file. Other name spaces
// belong to the system and are left to it.
void copyUserAttributes(int from, int to)
{
    char names[4096];
    const ssize_t length = ::flistxattr(from, names, sizeof names);
    if (length <= 0)
        return;
    std::vector<char> value;
    for (const char* name = names; name < names + length; name += std::strlen(name) + 1) {
        if (std::strncmp(name, "user.", 5) != 0)
            continue;
        const ssize_t size = ::fgetxattr(from, name, nullptr, 0);
        if (size < 0)
            continue;
        value.resize(size_t(size) + 1);
        const ssize_t got = ::fgetxattr(from, name, value.data(), value.size());
        if (got >= 0)
            ::fsetxattr(to, name, value.data(), size_t(got), 0);
    }
}

} // namespace

QString FileOperationEngine::transferVerb() const
{
    return m_kind == FileOpKind::Move ? QStringLiteral("move") : QStringLiteral("copy");
}

FileOpResult FileOperationEngine::runTransfer(const FileOpRequest& request)
{
    std::vector<TopItem> items = topItems(request.Sources);
    const std::string target = cleanPath(request.Target);
    if (refused(items, target))
        return FileOpResult::Failed;
    FileOpResult stop = FileOpResult::Done;
    if (!prepareTarget(target, request.CreateTargetSilently, stop))
        return stop;
    FileOpFd targetFd;
    const Outcome opened = retrying([&] {
        targetFd = FileOpFd(::open(target.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        return targetFd.valid() ? Step{} : failed(readText(target, errno));
    });
    struct stat targetSt;
    if (opened != Outcome::Ok || ::fstat(targetFd.get(), &targetSt) != 0)
        return result();

    // collect: an item that a move can rename in one step is one unit of progress.
    const bool counted = countItems(items, [&](const TopItem& item) {
        struct stat existing;
        return m_kind == FileOpKind::Move && item.StatError == 0 && item.St.st_dev == targetSt.st_dev
            && ::fstatat(targetFd.get(), item.Name.c_str(), &existing, AT_SYMLINK_NOFOLLOW) != 0;
    });
    if (!counted)
        return result();

    m_workStart = std::chrono::steady_clock::now();
    const Dir dst{targetFd.get(), target};
    int64_t filesBefore = 0;
    int64_t bytesBefore = 0;
    for (const TopItem& item : items) {
        if (!transferTop(item, dst))
            break;
        // Renames inside a merge move whole sub-trees at once; the counts catch up here.
        filesBefore += item.Files;
        bytesBefore += item.Bytes;
        m_filesDone = filesBefore;
        m_bytesDone = bytesBefore;
    }
    report(true);
    return result();
}

// A folder into itself or below itself would never end, and an item onto itself would
// destroy what it copies; both are refused before any work.
bool FileOperationEngine::refused(const std::vector<TopItem>& items, const std::string& target)
{
    std::string existing = target;
    struct stat st;
    while (::stat(existing.c_str(), &st) != 0 && existing != "/" && existing != ".")
        existing = parentOf(existing);
    const bool targetExists = existing == target;
    char* real = ::realpath(existing.c_str(), nullptr);
    const std::string canonical = real ? real : existing;
    std::free(real);
    std::vector<std::pair<dev_t, ino_t>> chain;   // the target's folder and every folder above it
    for (std::string p = canonical;; p = parentOf(p)) {
        if (::stat(p.c_str(), &st) == 0)
            chain.emplace_back(st.st_dev, st.st_ino);
        if (p == "/" || p == ".")
            break;
    }
    for (const TopItem& item : items) {
        if (item.StatError)
            continue;   // reported when its turn comes
        QString message;
        if (S_ISDIR(item.St.st_mode)) {
            const auto found = std::find(chain.begin(), chain.end(), std::make_pair(item.St.st_dev, item.St.st_ino));
            if (found == chain.begin() && targetExists)
                message = QStringLiteral("Cannot %1 the folder %2 into itself.").arg(transferVerb(), quoted(item.Path));
            else if (found != chain.end())
                message = QStringLiteral("Cannot %1 the folder %2 into its own sub-folder %3.")
                              .arg(transferVerb(), quoted(item.Path), quoted(target));
        }
        struct stat parentSt;
        if (message.isEmpty() && targetExists && !chain.empty() && ::stat(item.Parent.c_str(), &parentSt) == 0
            && std::make_pair(parentSt.st_dev, parentSt.st_ino) == chain.front())
            message = QStringLiteral("Cannot %1 %2 onto itself.").arg(transferVerb(), quoted(item.Path));
        if (!message.isEmpty()) {
            m_observer.Inform(message);
            return true;
        }
    }
    return false;
}

bool FileOperationEngine::prepareTarget(const std::string& target, bool silently, FileOpResult& stop)
{
    struct stat st;
    if (::stat(target.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            return true;
        m_observer.Inform(QStringLiteral("Cannot %1 into %2: it is not a folder.").arg(transferVerb(), quoted(target)));
        stop = FileOpResult::Failed;
        return false;
    }
    if (!silently && !confirm(QStringLiteral("The folder %1 does not exist. Create it?").arg(quoted(target)))) {
        m_aborted = true;
        stop = result();
        return false;
    }
    const Outcome made = retrying([&]() -> Step {
        // Every missing folder from the top down, with the usual permissions.
        std::vector<std::string> missing;
        for (std::string p = target; p != "/" && p != "." && ::stat(p.c_str(), &st) != 0; p = parentOf(p))
            missing.push_back(p);
        for (auto it = missing.rbegin(); it != missing.rend(); ++it)
            if (::mkdir(it->c_str(), 0777) != 0 && errno != EEXIST)
                return failed(QStringLiteral("Cannot create the folder %1: %2").arg(quoted(*it), SystemErrorText(errno)));
        return {};
    });
    stop = result();
    return made == Outcome::Ok;
}

bool FileOperationEngine::transferTop(const TopItem& item, const Dir& target)
{
    FileOpFd parent;
    const Outcome opened = retrying([&] {
        parent = FileOpFd(::open(item.Parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        return parent.valid() ? Step{} : failed(readText(item.Path, errno));
    });
    if (opened != Outcome::Ok)
        return opened == Outcome::Skipped;
    return transferItem({parent.get(), item.Parent}, item.Name, DT_UNKNOWN, target, false,
                        m_kind == FileOpKind::Move);
}

// Returns false when the run stops.
bool FileOperationEngine::transferItem(const Dir& src, const std::string& name, unsigned char type, const Dir& dst,
                                       bool dstFresh, bool tryRename)
{
    if (cancelled())
        return false;
    setCurrent(src.Path, name);
    return retrying([&] { return transferOnce(src, name, type, dst, dstFresh, tryRename); }) != Outcome::Stopped;
}

// One attempt at one item. `dstFresh`: the target folder was made by this run, so
// nothing can be in the way. `tryRename`: a move whose rename() may still work here.
FileOperationEngine::Step FileOperationEngine::transferOnce(const Dir& src, const std::string& name,
                                                            unsigned char type, const Dir& dst, bool dstFresh,
                                                            bool tryRename)
{
    const char* n = name.c_str();
    bool exists = false;
    if (m_kind == FileOpKind::Move && tryRename) {
        const int error = RenameNoReplace(src.Fd, n, dst.Fd, n);
        if (error == 0) {
            ++m_filesDone;
            return {};
        }
        if (error == EXDEV)
            tryRename = false;   // another volume: copy, check, then remove
        else if (error == EEXIST)
            exists = true;
        else
            return failed(QStringLiteral("Cannot move %1 to %2: %3")
                              .arg(quoted(join(src.Path, name)), quoted(dst.Path), SystemErrorText(error)));
    }
    struct stat dstSt;
    if (exists || !dstFresh) {
        if (::fstatat(dst.Fd, n, &dstSt, AT_SYMLINK_NOFOLLOW) == 0)
            exists = true;
        else if (errno == ENOENT)
            exists = false;
        else
            return failed(writeText(join(dst.Path, name), errno));
    }
    struct stat srcSt {};
    if (type == DT_UNKNOWN || exists) {
        if (::fstatat(src.Fd, n, &srcSt, AT_SYMLINK_NOFOLLOW) != 0)
            return failed(readText(join(src.Path, name), errno));
        type = typeOf(srcSt.st_mode);
    }
    bool replace = false;
    if (exists) {
        if (srcSt.st_dev == dstSt.st_dev && srcSt.st_ino == dstSt.st_ino)
            return failed(QStringLiteral("Cannot %1 %2 onto itself.").arg(transferVerb(), quoted(join(src.Path, name))));
        const bool srcFolder = S_ISDIR(srcSt.st_mode);
        if (srcFolder && S_ISDIR(dstSt.st_mode))
            return mergeFolder(src, name, dst, tryRename);
        if (S_ISDIR(dstSt.st_mode))
            return folderOverFile(src, name, dst);
        const Step answer = resolveConflict(src, name, srcSt, dst, dstSt);
        if (answer.Status != Step::Ok)
            return answer;
        if (srcFolder) {
            // A folder cannot be renamed over a file: the file goes first (the person said yes).
            if (::unlinkat(dst.Fd, n, 0) != 0)
                return failed(QStringLiteral("Cannot replace %1: %2").arg(quoted(join(dst.Path, name)), SystemErrorText(errno)));
        } else {
            replace = true;
        }
        if (m_kind == FileOpKind::Move && tryRename) {
            const Step moved = moveByRename(src, name, dst, replace, tryRename);
            // Moved, or failed; only "another volume" goes on to the copy below.
            if (tryRename || moved.Status != Step::Ok)
                return moved;
        }
    }
    switch (type) {
    case DT_DIR: return copyFolder(src, name, dst);
    case DT_REG: return copyRegular(src, name, dst, replace);
    case DT_LNK: return copyLink(src, name, dst, replace);
    case DT_FIFO: return copyFifo(src, name, dst, replace);
    default: break;
    }
    // Reading a device could hang or never end, and a socket has nothing to copy.
    return failed(QStringLiteral("Cannot %1 %2: sockets and device files are not copied.")
                      .arg(transferVerb(), quoted(join(src.Path, name))));
}

// A rename after the conflict was answered. Clears `tryRename` when the target is on
// another volume, and the caller copies instead.
FileOperationEngine::Step FileOperationEngine::moveByRename(const Dir& src, const std::string& name, const Dir& dst,
                                                            bool replace, bool& tryRename)
{
    const char* n = name.c_str();
    const int error = replace ? (::renameat(src.Fd, n, dst.Fd, n) == 0 ? 0 : errno) : RenameNoReplace(src.Fd, n, dst.Fd, n);
    if (error == 0) {
        ++m_filesDone;
        return {};
    }
    if (error == EXDEV) {
        tryRename = false;
        return {};
    }
    return failed(QStringLiteral("Cannot move %1 to %2: %3")
                      .arg(quoted(join(src.Path, name)), quoted(dst.Path), SystemErrorText(error)));
}

FileOperationEngine::Step FileOperationEngine::resolveConflict(const Dir& src, const std::string& name,
                                                               const struct stat& srcSt, const Dir& dst,
                                                               const struct stat& dstSt)
{
    FileOpConflict conflict;
    conflict.SourcePath = shown(join(src.Path, name));
    conflict.TargetPath = shown(join(dst.Path, name));
    conflict.SourceSize = S_ISREG(srcSt.st_mode) ? srcSt.st_size : 0;
    conflict.TargetSize = S_ISREG(dstSt.st_mode) ? dstSt.st_size : 0;
    conflict.SourceModified = modifiedOf(srcSt);
    conflict.TargetModified = modifiedOf(dstSt);
    conflict.SourceIsFolder = S_ISDIR(srcSt.st_mode);
    switch (askOverwrite(conflict)) {
    case OverwriteChoice::Yes:
    case OverwriteChoice::YesToAll: return {};
    case OverwriteChoice::No:
    case OverwriteChoice::NoToAll: return {Step::Declined, {}};
    case OverwriteChoice::Cancel: break;
    }
    return {Step::Cancelled, {}};
}

FileOperationEngine::Step FileOperationEngine::copyFolder(const Dir& src, const std::string& name, const Dir& dst)
{
    const std::string srcPath = join(src.Path, name);
    const std::string dstPath = join(dst.Path, name);
    FileOpFd from(::openat(src.Fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat st;
    if (!from.valid() || ::fstat(from.get(), &st) != 0)
        return failed(readText(srcPath, errno));
    // Private until filled: the final permissions may not let this run write into it.
    if (::mkdirat(dst.Fd, name.c_str(), 0700) != 0)
        return failed(QStringLiteral("Cannot create the folder %1: %2").arg(quoted(dstPath), SystemErrorText(errno)));
    FileOpFd to(::openat(dst.Fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!to.valid())
        return failed(writeText(dstPath, errno));
    const bool go = transferChildren({from.get(), srcPath}, {to.get(), dstPath}, true, false);
    // Last, because filling the folder changed its times.
    keepAttributes(to.get(), from.get(), st);
    if (!go)
        return {Step::Cancelled, {}};
    return m_kind == FileOpKind::Move ? removeSource(src, name, true) : Step{};
}

FileOperationEngine::Step FileOperationEngine::mergeFolder(const Dir& src, const std::string& name, const Dir& dst,
                                                           bool tryRename)
{
    const std::string srcPath = join(src.Path, name);
    const std::string dstPath = join(dst.Path, name);
    FileOpFd from(::openat(src.Fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!from.valid())
        return failed(readText(srcPath, errno));
    FileOpFd to(::openat(dst.Fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!to.valid())
        return failed(writeText(dstPath, errno));
    if (!transferChildren({from.get(), srcPath}, {to.get(), dstPath}, false, tryRename))
        return {Step::Cancelled, {}};
    return m_kind == FileOpKind::Move ? removeSource(src, name, true) : Step{};
}

bool FileOperationEngine::transferChildren(const Dir& src, const Dir& dst, bool dstFresh, bool tryRename)
{
    std::vector<FileOpTree::Entry> entries;
    const Outcome listed = retrying([&] {
        const int error = FileOpTree::List(src.Fd, entries);
        return error ? failed(readText(src.Path, error)) : Step{};
    });
    if (listed != Outcome::Ok)
        return listed == Outcome::Skipped;
    for (const FileOpTree::Entry& entry : entries)
        if (!transferItem(src, entry.Name, entry.Type, dst, dstFresh, tryRename))
            return false;
    return true;
}

FileOperationEngine::Step FileOperationEngine::copyRegular(const Dir& src, const std::string& name, const Dir& dst,
                                                           bool replace)
{
    const std::string srcPath = join(src.Path, name);
    FileOpFd from(::openat(src.Fd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC));
    struct stat st;
    if (!from.valid() || ::fstat(from.get(), &st) != 0)
        return failed(readText(srcPath, errno));
    // The copy grows in a file without a name (O_TMPFILE) that gets its name only when
    // complete: a crash leaves nothing behind, and it is one directory change where a
    // named temporary file and its rename are three. File systems without such files
    // get the hidden temporary name.
    std::string temp;
    FileOpFd to;
    const std::string dstPath = join(dst.Path, name);
    if (m_unnamedFiles && !dst.NoUnnamedFiles) {
        to = FileOpFd(::openat(dst.Fd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, st.st_mode & 0777));
        if (!to.valid() && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            return failed(writeText(dstPath, errno));
        dst.NoUnnamedFiles = !to.valid();
    }
    for (int attempt = 0; !to.valid(); ++attempt) {
        temp = tempName(name);
        to = FileOpFd(::openat(dst.Fd, temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, st.st_mode & 0777));
        if (!to.valid() && (errno != EEXIST || attempt == 100))
            return failed(writeText(dstPath, errno));
    }

    const int64_t bytesBefore = m_bytesDone;
    auto drop = [&] {
        to.reset();
        if (!temp.empty())
            ::unlinkat(dst.Fd, temp.c_str(), 0);
        m_bytesDone = bytesBefore;
    };
    const FileCopyResult copied = m_copier.Copy(from.get(), to.get(), st.st_size,
                                                [this](int64_t bytes) { return tick(bytes); });
    if (copied.Error == ECANCELED) {
        drop();
        return {Step::Cancelled, {}};
    }
    if (copied.Error) {
        drop();
        return failed(copied.WriteSide ? writeText(dstPath, copied.Error) : readText(srcPath, copied.Error));
    }
    if (m_kind == FileOpKind::Move) {
        // The source goes away after this, so the copy must be all of it.
        struct stat now, made;
        if (::fstat(from.get(), &now) != 0 || ::fstat(to.get(), &made) != 0 || now.st_size != copied.Bytes
            || made.st_size != copied.Bytes) {
            drop();
            return failed(QStringLiteral("Cannot move %1: the copy did not come out the same size as the original.")
                              .arg(quoted(srcPath)));
        }
    }
    keepAttributes(to.get(), from.get(), st);
    Step placed;
    if (temp.empty()) {
        // An unnamed file must get its name before the last descriptor closes.
        placed = commitUnnamed(src, name, st, dst, to.get(), replace);
        const int error = to.close();
        if (placed.Status == Step::Ok && error) {
            ::unlinkat(dst.Fd, name.c_str(), 0);
            placed = failed(writeText(dstPath, error));
        }
    } else if (const int error = to.close()) {
        ::unlinkat(dst.Fd, temp.c_str(), 0);
        placed = failed(writeText(dstPath, error));
    } else {
        placed = commit(src, name, st, dst, temp, replace);
    }
    if (placed.Status != Step::Ok) {
        m_bytesDone = bytesBefore;
        return placed;
    }
    ++m_filesDone;
    return m_kind == FileOpKind::Move ? removeSource(src, name, false) : Step{};
}

FileOperationEngine::Step FileOperationEngine::copyLink(const Dir& src, const std::string& name, const Dir& dst,
                                                        bool replace)
{
    const std::string srcPath = join(src.Path, name);
    struct stat st;
    if (::fstatat(src.Fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return failed(readText(srcPath, errno));
    std::string link(size_t(st.st_size > 0 ? st.st_size + 1 : PATH_MAX), '\0');
    for (;;) {
        const ssize_t length = ::readlinkat(src.Fd, name.c_str(), link.data(), link.size());
        if (length < 0)
            return failed(readText(srcPath, errno));
        if (size_t(length) < link.size()) {
            link.resize(size_t(length));
            break;
        }
        link.resize(link.size() * 2);   // grew since the stat
    }
    std::string temp;
    for (int attempt = 0;; ++attempt) {
        temp = tempName(name);
        if (::symlinkat(link.c_str(), dst.Fd, temp.c_str()) == 0)
            break;
        if (errno != EEXIST || attempt == 100)
            return failed(writeText(join(dst.Path, name), errno));
    }
    return placeSpecialEntry(src, name, st, dst, temp, replace, false);
}

// A named pipe is made anew rather than read: reading would wait for a writer forever.
FileOperationEngine::Step FileOperationEngine::copyFifo(const Dir& src, const std::string& name, const Dir& dst,
                                                        bool replace)
{
    struct stat st;
    if (::fstatat(src.Fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return failed(readText(join(src.Path, name), errno));
    std::string temp;
    for (int attempt = 0;; ++attempt) {
        temp = tempName(name);
        if (::mkfifoat(dst.Fd, temp.c_str(), st.st_mode & 0777) == 0)
            break;
        if (errno != EEXIST || attempt == 100)
            return failed(writeText(join(dst.Path, name), errno));
    }
    return placeSpecialEntry(src, name, st, dst, temp, replace, true);
}

// Gives a link or pipe made under a temporary name its source's owner (on a move),
// mode (links have none of their own) and times, then its name; a move then removes
// the source.
FileOperationEngine::Step FileOperationEngine::placeSpecialEntry(const Dir& src, const std::string& name,
                                                                 const struct stat& st, const Dir& dst,
                                                                 const std::string& temp, bool replace,
                                                                 bool keepMode)
{
    if (m_kind == FileOpKind::Move && (st.st_uid != m_uid || st.st_gid != m_gid))
        ::fchownat(dst.Fd, temp.c_str(), st.st_uid, st.st_gid, AT_SYMLINK_NOFOLLOW);
    if (keepMode)   // after the owner: changing it clears set-user-id bits
        ::fchmodat(dst.Fd, temp.c_str(), st.st_mode & 07777, 0);
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    ::utimensat(dst.Fd, temp.c_str(), times, AT_SYMLINK_NOFOLLOW);
    const Step placed = commit(src, name, st, dst, temp, replace);
    if (placed.Status != Step::Ok)
        return placed;
    ++m_filesDone;
    return m_kind == FileOpKind::Move ? removeSource(src, name, false) : Step{};
}

// Renames the finished temporary entry to its name. Without a "replace" answer it
// never replaces: something that appeared there meanwhile is asked about first. On
// any failure the temporary entry is removed.
FileOperationEngine::Step FileOperationEngine::commit(const Dir& src, const std::string& name,
                                                      const struct stat& srcSt, const Dir& dst,
                                                      const std::string& temp, bool replace)
{
    const char* n = name.c_str();
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int error = replace ? (::renameat(dst.Fd, temp.c_str(), dst.Fd, n) == 0 ? 0 : errno)
                                  : RenameNoReplace(dst.Fd, temp.c_str(), dst.Fd, n);
        if (error == 0)
            return {};
        if (error != EEXIST || replace) {
            ::unlinkat(dst.Fd, temp.c_str(), 0);
            return failed(writeText(join(dst.Path, name), error));
        }
        struct stat dstSt;
        if (::fstatat(dst.Fd, n, &dstSt, AT_SYMLINK_NOFOLLOW) != 0)
            continue;   // gone again
        Step answer;
        if (S_ISDIR(dstSt.st_mode))
            answer = failed(QStringLiteral("Cannot replace the folder %1 with the file %2.")
                                .arg(quoted(join(dst.Path, name)), quoted(join(src.Path, name))));
        else
            answer = resolveConflict(src, name, srcSt, dst, dstSt);
        if (answer.Status != Step::Ok) {
            ::unlinkat(dst.Fd, temp.c_str(), 0);
            return answer;
        }
        replace = true;
    }
    ::unlinkat(dst.Fd, temp.c_str(), 0);
    return failed(writeText(join(dst.Path, name), EEXIST));
}

// Gives the finished unnamed file its name: directly when nothing is in the way,
// through a hidden temporary name and a rename when it replaces something.
FileOperationEngine::Step FileOperationEngine::commitUnnamed(const Dir& src, const std::string& name,
                                                               const struct stat& srcSt, const Dir& dst, int fd,
                                                               bool replace)
{
    if (!replace) {
        const int error = linkUnnamed(fd, dst.Fd, name);
        if (error == 0)
            return {};
        if (error != EEXIST)
            return failed(writeText(join(dst.Path, name), error));
        struct stat dstSt;   // appeared while copying
        if (::fstatat(dst.Fd, name.c_str(), &dstSt, AT_SYMLINK_NOFOLLOW) == 0) {
            if (S_ISDIR(dstSt.st_mode))
                return folderOverFile(src, name, dst);
            const Step answer = resolveConflict(src, name, srcSt, dst, dstSt);
            if (answer.Status != Step::Ok)
                return answer;
        }
    }
    std::string temp;
    for (int attempt = 0;; ++attempt) {
        temp = tempName(name);
        const int error = linkUnnamed(fd, dst.Fd, temp);
        if (error == 0)
            break;
        if (error != EEXIST || attempt == 100)
            return failed(writeText(join(dst.Path, name), error));
    }
    return commit(src, name, srcSt, dst, temp, true);
}

int FileOperationEngine::linkUnnamed(int fd, int dirFd, const std::string& name)
{
    if (!m_linkThroughProc) {
        if (::linkat(fd, "", dirFd, name.c_str(), AT_EMPTY_PATH) == 0)
            return 0;
        if (errno != ENOENT && errno != EPERM)
            return errno;
        m_linkThroughProc = true;   // without CAP_DAC_READ_SEARCH; /proc works for anyone
    }
    char path[40];
    std::snprintf(path, sizeof path, "/proc/self/fd/%d", fd);
    return ::linkat(AT_FDCWD, path, dirFd, name.c_str(), AT_SYMLINK_FOLLOW) == 0 ? 0 : errno;
}

// The last step of a move across volumes, asked about on its own so that a retry does
// not copy again. A folder that still holds skipped items stays, without a question.
FileOperationEngine::Step FileOperationEngine::removeSource(const Dir& src, const std::string& name, bool folder)
{
    const Outcome removed = retrying([&]() -> Step {
        if (::unlinkat(src.Fd, name.c_str(), folder ? AT_REMOVEDIR : 0) == 0)
            return {};
        if (folder && (errno == ENOTEMPTY || errno == EEXIST)) {
            // Skipped items, or new ones that arrived meanwhile: the folder keeps them.
            m_aborted = true;
            return {};
        }
        return failed(QStringLiteral("Cannot remove %1: %2").arg(quoted(join(src.Path, name)), SystemErrorText(errno)));
    });
    switch (removed) {
    case Outcome::Ok: return {};
    case Outcome::Skipped: return {Step::Declined, {}};
    case Outcome::Stopped: break;
    }
    return {Step::Cancelled, {}};
}

void FileOperationEngine::keepAttributes(int fd, int srcFd, const struct stat& st)
{
    copyUserAttributes(srcFd, fd);
    if (m_kind == FileOpKind::Move && (st.st_uid != m_uid || st.st_gid != m_gid))
        ::fchown(fd, st.st_uid, st.st_gid);   // only root or the owner may; a copy belongs to whoever made it
    // After the owner: changing it clears set-user-id bits.
    const mode_t wanted = st.st_mode & 07777;
    if (S_ISDIR(st.st_mode) || wanted != (st.st_mode & 0777 & ~m_umask))
        ::fchmod(fd, wanted);
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    ::futimens(fd, times);
}

// A file never replaces a folder: that would throw away everything inside it.
FileOperationEngine::Step FileOperationEngine::folderOverFile(const Dir& src, const std::string& name,
                                                              const Dir& dst)
{
    return failed(QStringLiteral("Cannot replace the folder %1 with the file %2.")
                      .arg(quoted(join(dst.Path, name)), quoted(join(src.Path, name))));
}

// ".name.dvpart-XXXXXX": hidden, unique, beside the target so the final rename stays
// on one volume, and recognisable as a leftover should the program be killed.
std::string FileOperationEngine::tempName(const std::string& name)
{
    static constexpr char kDigits[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    constexpr size_t kExtra = 1 + 8 + 6;   // ".", ".dvpart-", the random part
    std::string stem = name;
    if (stem.size() > NAME_MAX - kExtra) {
        stem.resize(NAME_MAX - kExtra);
        while (!stem.empty() && (static_cast<unsigned char>(stem.back()) & 0xC0) == 0x80)
            stem.pop_back();   // never end on half a UTF-8 character
        if (!stem.empty() && static_cast<unsigned char>(stem.back()) >= 0xC0)
            stem.pop_back();
    }
    std::string temp = "." + stem + ".dvpart-";
    for (int i = 0; i < 6; ++i) {
        // xorshift64: quick, and O_EXCL settles any collision.
        m_randomState ^= m_randomState << 13;
        m_randomState ^= m_randomState >> 7;
        m_randomState ^= m_randomState << 17;
        temp += kDigits[m_randomState % (sizeof kDigits - 1)];
    }
    return temp;
}
