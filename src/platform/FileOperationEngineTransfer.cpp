// Copy and move for the file-operation engine (the states are listed in
// FileOperationEngine.h).
//
// Speed: folders are walked with openat() on open folder descriptors and the entry
// types from getdents64, so a regular file costs one open, one fstat and the copy;
// the existence check for a conflict is skipped inside folders this run made itself.
#include "platform/FileOperationEngine.h"

#include "core/NumberFormat.h"
#include "platform/FileNames.h"
#include "platform/FileOpPaths.h"
#include "platform/FileOpSysCalls.h"
#include "platform/FileOpTree.h"
#include "platform/doors/ExtendedAttributes.h"
#include "platform/doors/TemporaryName.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <sys/file.h>
#include <sys/statvfs.h>
#include <utility>

using namespace FileOpPaths;

namespace {

constexpr char kPartInfix[] = ".dvpart-";

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

bool sameTime(const struct timespec& a, const struct timespec& b)
{
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

QDateTime modifiedOf(const struct stat& st)
{
    return QDateTime::fromMSecsSinceEpoch(int64_t(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000);
}

// Sizes as the panes show them.
QString spaceText(int64_t bytes)
{
    if (bytes > 1022976)
        return FormatFloat(QStringLiteral("###,##0.#"), double(bytes) / 1048576.0) + FileOperationEngine::tr(" MB");
    if (bytes < 1000)
        return FormatFloat(QStringLiteral("###,##0"), double(bytes)) + FileOperationEngine::tr(" bytes");
    return FormatFloat(QStringLiteral("###,##0.#"), double(bytes) / 1024.0) + FileOperationEngine::tr(" KB");
}

QString readText(const std::string& path, int error)
{
    return FileOperationEngine::tr("Cannot read %1: %2").arg(quoted(path), SystemErrorText(error));
}

QString writeText(const std::string& path, int error)
{
    return FileOperationEngine::tr("Cannot write %1: %2").arg(quoted(path), SystemErrorText(error));
}


} // namespace

QString FileOperationEngine::transferVerb() const
{
    return m_kind == FileOpKind::Move ? tr("move") : tr("copy");
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
    Dir dst;
    const Outcome opened = retrying([&] {
        const int error = dst.OpenPath(target);
        return error ? failed(readText(target, error)) : Step{};
    });
    if (opened != Outcome::Ok)
        return result();

    // collect: an item that a move can rename in one step is one unit of progress.
    const bool counted = countItems(items, [&](const TopItem& item) {
        struct stat existing;
        return m_kind == FileOpKind::Move && item.StatError == 0 && item.St.st_dev == dst.Device()
            && ::fstatat(dst.Fd(), item.Name.c_str(), &existing, AT_SYMLINK_NOFOLLOW) != 0;
    });
    if (!counted)
        return result();
    if (!roomOrConsent(items, dst)) {
        m_aborted = true;
        return result();
    }

    m_workStart = std::chrono::steady_clock::now();
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
    // Whatever stopped the run, the sources of copies already in place go now.
    flushRemovals(true);
    m_targetsToSync.clear();
    m_unlinkedInodes.clear();
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
                message = tr("Cannot %1 the folder %2 into itself.").arg(transferVerb(), quoted(item.Path));
            else if (found != chain.end())
                message = tr("Cannot %1 the folder %2 into its own sub-folder %3.")
                              .arg(transferVerb(), quoted(item.Path), quoted(target));
        }
        struct stat parentSt;
        if (message.isEmpty() && targetExists && !chain.empty() && ::stat(item.Parent.c_str(), &parentSt) == 0
            && std::make_pair(parentSt.st_dev, parentSt.st_ino) == chain.front())
            message = tr("Cannot %1 %2 onto itself.").arg(transferVerb(), quoted(item.Path));
        if (!message.isEmpty()) {
            m_observer.Inform(message);
            return true;
        }
    }
    return false;
}

// Running out of space in the middle of a big file wastes the time spent so far, so
// a shortfall is said before the first byte. Only a question, not a refusal: file
// systems that compress or share blocks take more than their free space says. Items
// a move renames on their own volume need no space.
bool FileOperationEngine::roomOrConsent(const std::vector<TopItem>& items, const Dir& target)
{
    int64_t needed = 0;
    for (const TopItem& item : items)
        if (m_kind == FileOpKind::Copy || item.StatError || item.St.st_dev != target.Device())
            needed += item.Bytes;
    struct statvfs fs;
    if (needed == 0 || ::fstatvfs(target.Fd(), &fs) != 0)
        return true;
    const int64_t available = int64_t(fs.f_bavail) * int64_t(fs.f_frsize);
    if (needed <= available)
        return true;
    return confirm(tr("The files need %1 but only %2 are free on the target. %3 anyway?")
                       .arg(spaceText(needed), spaceText(available),
                            m_kind == FileOpKind::Move ? tr("Move") : tr("Copy")));
}

bool FileOperationEngine::prepareTarget(const std::string& target, bool silently, FileOpResult& stop)
{
    struct stat st;
    if (::stat(target.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            return true;
        m_observer.Inform(tr("Cannot %1 into %2: it is not a folder.").arg(transferVerb(), quoted(target)));
        stop = FileOpResult::Failed;
        return false;
    }
    if (!silently && !confirm(tr("The folder %1 does not exist. Create it?").arg(quoted(target)))) {
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
                return failed(tr("Cannot create the folder %1: %2").arg(quoted(*it), SystemErrorText(errno)));
        return {};
    });
    stop = result();
    return made == Outcome::Ok;
}

bool FileOperationEngine::transferTop(const TopItem& item, const Dir& target)
{
    Dir parent;
    const Outcome opened = retrying([&] {
        const int error = parent.OpenPath(item.Parent);
        return error ? failed(readText(item.Path, error)) : Step{};
    });
    if (opened != Outcome::Ok)
        return opened == Outcome::Skipped;
    return transferItem(parent, item.Name, DT_UNKNOWN, target, m_kind == FileOpKind::Move);
}

// Returns false when the run stops.
bool FileOperationEngine::transferItem(const Dir& src, const std::string& name, unsigned char type, const Dir& dst,
                                       bool tryRename)
{
    if (cancelled())
        return false;
    setCurrent(src.Path(), name);
    return retrying([&] { return transferOnce(src, name, type, dst, tryRename); }) != Outcome::Stopped;
}

// One attempt at one item. A target folder made by this run has nothing in the way.
// `tryRename`: a move whose rename() may still work here.
FileOperationEngine::Step FileOperationEngine::transferOnce(const Dir& src, const std::string& name,
                                                            unsigned char type, const Dir& dst, bool tryRename)
{
    const char* n = name.c_str();
    bool exists = false;
    if (m_kind == FileOpKind::Move && tryRename) {
        const int error = RenameNoReplace(src.Fd(), n, dst.Fd(), n);
        if (error == 0) {
            ++m_filesDone;
            return {};
        }
        if (error == EXDEV)
            tryRename = false;   // another volume: copy, check, then remove
        else if (error == EEXIST)
            exists = true;
        else
            return failed(tr("Cannot move %1 to %2: %3")
                              .arg(quoted(src.PathOf(name)), quoted(dst.Path()), SystemErrorText(error)));
    }
    struct stat dstSt;
    if (exists || !dst.MadeByRun) {
        if (::fstatat(dst.Fd(), n, &dstSt, AT_SYMLINK_NOFOLLOW) == 0)
            exists = true;
        else if (errno == ENOENT)
            exists = false;
        else
            return failed(writeText(dst.PathOf(name), errno));
    }
    struct stat srcSt {};
    if (type == DT_UNKNOWN || exists) {
        if (::fstatat(src.Fd(), n, &srcSt, AT_SYMLINK_NOFOLLOW) != 0)
            return failed(readText(src.PathOf(name), errno));
        type = typeOf(srcSt.st_mode);
    }
    bool replace = false;
    if (exists) {
        if (srcSt.st_dev == dstSt.st_dev && srcSt.st_ino == dstSt.st_ino)
            return failed(tr("Cannot %1 %2 onto itself.").arg(transferVerb(), quoted(src.PathOf(name))));
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
            if (::unlinkat(dst.Fd(), n, 0) != 0)
                return failed(tr("Cannot replace %1: %2").arg(quoted(dst.PathOf(name)), SystemErrorText(errno)));
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
    return failed(tr("Cannot %1 %2: sockets and device files are not copied.")
                      .arg(transferVerb(), quoted(src.PathOf(name))));
}

// A rename after the conflict was answered. Clears `tryRename` when the target is on
// another volume, and the caller copies instead.
FileOperationEngine::Step FileOperationEngine::moveByRename(const Dir& src, const std::string& name, const Dir& dst,
                                                            bool replace, bool& tryRename)
{
    const char* n = name.c_str();
    const int error = replace ? (::renameat(src.Fd(), n, dst.Fd(), n) == 0 ? 0 : errno) : RenameNoReplace(src.Fd(), n, dst.Fd(), n);
    if (error == 0) {
        ++m_filesDone;
        return {};
    }
    if (error == EXDEV) {
        tryRename = false;
        return {};
    }
    return failed(tr("Cannot move %1 to %2: %3")
                      .arg(quoted(src.PathOf(name)), quoted(dst.Path()), SystemErrorText(error)));
}

FileOperationEngine::Step FileOperationEngine::resolveConflict(const Dir& src, const std::string& name,
                                                               const struct stat& srcSt, const Dir& dst,
                                                               const struct stat& dstSt)
{
    FileOpConflict conflict;
    conflict.SourcePath = shown(src.PathOf(name));
    conflict.TargetPath = shown(dst.PathOf(name));
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
    Dir from;
    if (const int error = from.OpenChild(src, name))
        return failed(readText(src.PathOf(name), error));
    struct stat st;
    if (::fstat(from.Fd(), &st) != 0)
        return failed(readText(from.Path(), errno));
    // Private until filled: the final permissions may not let this run write into it.
    if (::mkdirat(dst.Fd(), name.c_str(), 0700) != 0)
        return failed(tr("Cannot create the folder %1: %2").arg(quoted(dst.PathOf(name)), SystemErrorText(errno)));
    Dir to;
    if (const int error = to.OpenChild(dst, name))
        return failed(writeText(dst.PathOf(name), error));
    to.MadeByRun = true;
    return fillFolder(src, name, from, dst, to, st, false);
}

FileOperationEngine::Step FileOperationEngine::mergeFolder(const Dir& src, const std::string& name, const Dir& dst,
                                                           bool tryRename)
{
    Dir from;
    if (const int error = from.OpenChild(src, name))
        return failed(readText(src.PathOf(name), error));
    Dir to;
    if (const int error = to.OpenChild(dst, name))
        return failed(writeText(dst.PathOf(name), error));
    struct stat st;
    if (::fstat(from.Fd(), &st) != 0)
        return failed(readText(from.Path(), errno));
    return fillFolder(src, name, from, dst, to, st, tryRename);
}

// Transfers the contents of `from` (the folder `name` in `src`) into `to` (one level
// below `dst`), then the parents take their descriptors again and a move removes the
// emptied source.
FileOperationEngine::Step FileOperationEngine::fillFolder(const Dir& src, const std::string& name, const Dir& from,
                                                          const Dir& dst, const Dir& to, const struct stat& st,
                                                          bool tryRename)
{
    src.ReleaseFor(from);
    dst.ReleaseFor(to);
    const bool go = transferChildren(from, to, tryRename);
    if (to.MadeByRun)   // last, because filling the folder changed its times
        keepAttributes(to.Fd(), from.Fd(), st);
    const Step back = leave(src, from);
    if (back.Status != Step::Ok)
        return back;
    if (const Step backToo = leave(dst, to); backToo.Status != Step::Ok)
        return backToo;
    if (!go)
        return {Step::Cancelled, {}};
    if (m_kind != FileOpKind::Move)
        return {};
    noteTarget(dst);
    return removeSource(src, name, true, st);
}

// After the work below a deep sub-folder, its parent takes its descriptor again. A
// parent that is no longer there (moved away meanwhile) stops the run: the names
// the rest of the work would use no longer mean what they meant.
FileOperationEngine::Step FileOperationEngine::leave(const Dir& parent, const Dir& child)
{
    if (parent.Rejoin(child))
        return {};
    m_observer.Inform(tr("The folder %1 was moved or replaced during the operation, which stops here.")
                          .arg(quoted(parent.Path())));
    return {Step::Cancelled, {}};
}

bool FileOperationEngine::transferChildren(const Dir& src, const Dir& dst, bool tryRename)
{
    std::vector<FileOpTree::Entry> entries;
    const Outcome listed = retrying([&] {
        const int error = FileOpTree::List(src.Fd(), entries);
        return error ? failed(readText(src.Path(), error)) : Step{};
    });
    if (listed != Outcome::Ok)
        return listed == Outcome::Skipped;
    for (const FileOpTree::Entry& entry : entries)
        if (!transferItem(src, entry.Name, entry.Type, dst, tryRename))
            return false;
    return true;
}

FileOperationEngine::Step FileOperationEngine::copyRegular(const Dir& src, const std::string& name, const Dir& dst,
                                                           bool replace)
{
    const std::string srcPath = src.PathOf(name);
    FileOpFd from(::openat(src.Fd(), name.c_str(), O_RDONLY | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC));
    struct stat st;
    if (!from.valid() || ::fstat(from.get(), &st) != 0)
        return failed(readText(srcPath, errno));
    if (!dst.MadeByRun)
        removeStaleParts(dst, name);
    // The copy grows in a file without a name (O_TMPFILE) that gets its name only when
    // complete: a crash leaves nothing behind, and it is one directory change where a
    // named temporary file and its rename are three. File systems without such files
    // get the hidden temporary name, locked while it is written so that a later run
    // can tell a leftover of a killed copy from a copy still under way.
    std::string temp;
    FileOpFd to;
    const std::string dstPath = dst.PathOf(name);
    if (m_unnamedFiles && !dst.NoUnnamedFiles) {
        to = FileOpFd(::openat(dst.Fd(), ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, st.st_mode & 0777));
        if (!to.valid() && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            return failed(writeText(dstPath, errno));
        dst.NoUnnamedFiles = !to.valid();
    }
    if (!to.valid()) {
        to = FileOpFd(TemporaryName::Create(dst.Fd(), name, kPartInfix, st.st_mode & 0777 & ~m_umask, temp));
        if (!to.valid())
            return failed(writeText(dstPath, errno));
    }

    const int64_t bytesBefore = m_bytesDone;
    auto drop = [&] {
        to.reset();
        if (!temp.empty())
            ::unlinkat(dst.Fd(), temp.c_str(), 0);
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
    // A file written to while it was read gives a copy that is neither the old nor the
    // new content. Files that say size 0 but have content (/proc) keep saying so.
    struct stat now;
    if (::fstat(from.get(), &now) != 0 || now.st_size != st.st_size || !sameTime(now.st_mtim, st.st_mtim)
        || (st.st_size > 0 && copied.Bytes != st.st_size)) {
        drop();
        return failed(tr("Cannot %1 %2: it changed while it was being read.").arg(transferVerb(), quoted(srcPath)));
    }
    if (m_kind == FileOpKind::Move) {
        // The source goes away after this, so the copy must be all of it.
        struct stat made;
        if (::fstat(to.get(), &made) != 0 || made.st_size != copied.Bytes) {
            drop();
            return failed(tr("Cannot move %1: the copy did not come out the same size as the original.")
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
            ::unlinkat(dst.Fd(), name.c_str(), 0);
            placed = failed(writeText(dstPath, error));
        }
    } else if (const int error = to.close()) {
        ::unlinkat(dst.Fd(), temp.c_str(), 0);
        placed = failed(writeText(dstPath, error));
    } else {
        placed = commit(src, name, st, dst, temp, replace);
    }
    if (placed.Status != Step::Ok) {
        m_bytesDone = bytesBefore;
        return placed;
    }
    ++m_filesDone;
    if (m_kind != FileOpKind::Move)
        return {};
    noteTarget(dst);
    return removeSource(src, name, false, st);
}

FileOperationEngine::Step FileOperationEngine::copyLink(const Dir& src, const std::string& name, const Dir& dst,
                                                        bool replace)
{
    const std::string srcPath = src.PathOf(name);
    struct stat st;
    if (::fstatat(src.Fd(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return failed(readText(srcPath, errno));
    std::string link(size_t(st.st_size > 0 ? st.st_size + 1 : PATH_MAX), '\0');
    for (;;) {
        const ssize_t length = ::readlinkat(src.Fd(), name.c_str(), link.data(), link.size());
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
        if (::symlinkat(link.c_str(), dst.Fd(), temp.c_str()) == 0)
            break;
        if (errno != EEXIST || attempt == 100)
            return failed(writeText(dst.PathOf(name), errno));
    }
    return placeSpecialEntry(src, name, st, dst, temp, replace, false);
}

// A named pipe is made anew rather than read: reading would wait for a writer forever.
FileOperationEngine::Step FileOperationEngine::copyFifo(const Dir& src, const std::string& name, const Dir& dst,
                                                        bool replace)
{
    struct stat st;
    if (::fstatat(src.Fd(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return failed(readText(src.PathOf(name), errno));
    std::string temp;
    for (int attempt = 0;; ++attempt) {
        temp = tempName(name);
        if (::mkfifoat(dst.Fd(), temp.c_str(), st.st_mode & 0777) == 0)
            break;
        if (errno != EEXIST || attempt == 100)
            return failed(writeText(dst.PathOf(name), errno));
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
        ::fchownat(dst.Fd(), temp.c_str(), st.st_uid, st.st_gid, AT_SYMLINK_NOFOLLOW);
    if (keepMode)   // after the owner: changing it clears set-user-id bits
        ::fchmodat(dst.Fd(), temp.c_str(), st.st_mode & 07777, 0);
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    ::utimensat(dst.Fd(), temp.c_str(), times, AT_SYMLINK_NOFOLLOW);
    const Step placed = commit(src, name, st, dst, temp, replace);
    if (placed.Status != Step::Ok)
        return placed;
    ++m_filesDone;
    if (m_kind != FileOpKind::Move)
        return {};
    noteTarget(dst);
    return removeSource(src, name, false, st);
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
        const int error = replace ? (::renameat(dst.Fd(), temp.c_str(), dst.Fd(), n) == 0 ? 0 : errno)
                                  : RenameNoReplace(dst.Fd(), temp.c_str(), dst.Fd(), n);
        if (error == 0)
            return {};
        if (error != EEXIST || replace) {
            ::unlinkat(dst.Fd(), temp.c_str(), 0);
            return failed(writeText(dst.PathOf(name), error));
        }
        struct stat dstSt;
        if (::fstatat(dst.Fd(), n, &dstSt, AT_SYMLINK_NOFOLLOW) != 0)
            continue;   // gone again
        Step answer;
        if (S_ISDIR(dstSt.st_mode))
            answer = failed(tr("Cannot replace the folder %1 with the file %2.")
                                .arg(quoted(dst.PathOf(name)), quoted(src.PathOf(name))));
        else
            answer = resolveConflict(src, name, srcSt, dst, dstSt);
        if (answer.Status != Step::Ok) {
            ::unlinkat(dst.Fd(), temp.c_str(), 0);
            return answer;
        }
        replace = true;
    }
    ::unlinkat(dst.Fd(), temp.c_str(), 0);
    return failed(writeText(dst.PathOf(name), EEXIST));
}

// Gives the finished unnamed file its name: directly when nothing is in the way,
// through a hidden temporary name and a rename when it replaces something.
FileOperationEngine::Step FileOperationEngine::commitUnnamed(const Dir& src, const std::string& name,
                                                               const struct stat& srcSt, const Dir& dst, int fd,
                                                               bool replace)
{
    if (!replace) {
        const int error = linkUnnamed(fd, dst.Fd(), name);
        if (error == 0)
            return {};
        if (error != EEXIST)
            return failed(writeText(dst.PathOf(name), error));
        struct stat dstSt;   // appeared while copying
        if (::fstatat(dst.Fd(), name.c_str(), &dstSt, AT_SYMLINK_NOFOLLOW) == 0) {
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
        const int error = linkUnnamed(fd, dst.Fd(), temp);
        if (error == 0)
            break;
        if (error != EEXIST || attempt == 100)
            return failed(writeText(dst.PathOf(name), error));
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

// The last step of a move across volumes: the source waits until its copy is on the
// disk. Flushing file by file would cost a disk round trip each, so the sources are
// collected and removed in batches after one flush of the target file systems.
FileOperationEngine::Step FileOperationEngine::removeSource(const Dir& src, const std::string& name, bool folder,
                                                            const struct stat& st)
{
    PendingRemoval item{src.Lasting(), src.Path(), name, folder, !folder && st.st_nlink > 1, FileIdentity::Of(st)};
    if (!item.Folder->valid())
        return failed(tr("Cannot remove %1: %2").arg(quoted(src.PathOf(name)), SystemErrorText(EMFILE)));
    if (m_pending.empty() || m_pending.back().Folder != item.Folder)
        ++m_pendingFolders;
    m_pendingBytes += S_ISREG(st.st_mode) ? int64_t(st.st_size) : 0;
    m_pending.push_back(std::move(item));
    return flushRemovals(false);
}

void FileOperationEngine::noteTarget(const Dir& dst)
{
    if (!m_targetsToSync.count(dst.Device()))
        m_targetsToSync[dst.Device()] = dst.Lasting();
}

// Batches stay small enough that a power cut loses little work and few descriptors
// are held; large enough that a tree of small files pays a flush per thousand.
FileOperationEngine::Step FileOperationEngine::flushRemovals(bool force)
{
    constexpr size_t kBatchEntries = 1024;
    constexpr int64_t kBatchBytes = int64_t(512) << 20;
    constexpr size_t kBatchFolders = 16;
    if (m_pending.empty()
        || (!force && m_pending.size() < kBatchEntries && m_pendingBytes < kBatchBytes && m_pendingFolders < kBatchFolders))
        return {};
    std::vector<PendingRemoval> batch;
    batch.swap(m_pending);
    m_pendingBytes = 0;
    m_pendingFolders = 0;
    // Copies not known to be on the disk keep their sources, every one of them.
    const Outcome synced = finishing([&]() -> Step {
        for (const auto& [device, fd] : m_targetsToSync)
            if (m_syncFailure || ::syncfs(fd->get()) != 0)
                return failed(tr("Cannot make sure the copies reached the disk: %1. The originals are kept.")
                                  .arg(SystemErrorText(m_syncFailure ? m_syncFailure : errno)));
        return {};
    });
    if (synced != Outcome::Ok)
        return synced == Outcome::Stopped ? Step{Step::Cancelled, {}} : Step{};
    for (const PendingRemoval& item : batch)
        if (!removeOne(item))
            return {Step::Cancelled, {}};
    return {};
}

// Removes one moved source, unless its name no longer holds what was copied: a file
// saved anew (a new file renamed over it) or written to since would be lost with it.
bool FileOperationEngine::removeOne(const PendingRemoval& item)
{
    const std::string path = item.Path == "/" ? "/" + item.Name : item.Path + '/' + item.Name;
    const Outcome removed = finishing([&]() -> Step {
        switch (removeUnlessChanged(item)) {
        case SourceRemoval::Status::Removed:
        case SourceRemoval::Status::Gone: return {};
        case SourceRemoval::Status::NotEmpty:
            // Skipped or kept items, or new ones that arrived meanwhile: the folder keeps them.
            m_aborted = true;
            return {};
        case SourceRemoval::Status::Changed:
            return failed(tr("%1 changed while it was being moved, so it was kept; the moved copy has its "
                             "earlier content.").arg(quoted(path)));
        case SourceRemoval::Status::Failed: break;
        }
        return failed(tr("Cannot remove %1: %2").arg(quoted(path), SystemErrorText(errno)));
    });
    return removed != Outcome::Stopped;
}

SourceRemoval::Status FileOperationEngine::removeUnlessChanged(const PendingRemoval& item)
{
    const int dirFd = item.Folder->get();
    const auto inode = std::make_pair(item.Was.Device, item.Was.Inode);
    SourceRemoval::Status status = SourceRemoval::Remove(dirFd, item.Name, item.Was, item.IsFolder);
    if (status == SourceRemoval::Status::Changed && item.HasOtherNames && m_unlinkedInodes.count(inode)) {
        // This run removed another name of the file, and that alone moves the change time
        // every name shows; its content must still be what was copied.
        FileIdentity was = item.Was;
        was.Changed = FileIdentity::At(dirFd, item.Name.c_str()).Changed;
        status = SourceRemoval::Remove(dirFd, item.Name, was);
    }
    if (status == SourceRemoval::Status::Removed && item.HasOtherNames)
        m_unlinkedInodes.insert(inode);
    return status;
}

void FileOperationEngine::keepAttributes(int fd, int srcFd, const struct stat& st)
{
    ExtendedAttributes::Copy(srcFd, fd, ExtendedAttributes::Scope::User);
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
    return failed(tr("Cannot replace the folder %1 with the file %2.")
                      .arg(quoted(dst.PathOf(name)), quoted(src.PathOf(name))));
}

// ".name.dvpart-XXXXXX": hidden, unique, beside the target so the final rename stays
// on one volume, and recognisable as a leftover should the program be killed.
std::string FileOperationEngine::tempName(const std::string& name)
{
    static constexpr char kDigits[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::string temp = TemporaryName::Prefix(name, kPartInfix);
    for (size_t i = 0; i < TemporaryName::kRandomChars; ++i) {
        // xorshift64: quick, and O_EXCL settles any collision.
        m_randomState ^= m_randomState << 13;
        m_randomState ^= m_randomState >> 7;
        m_randomState ^= m_randomState << 17;
        temp += kDigits[m_randomState % (sizeof kDigits - 1)];
    }
    return temp;
}

// A killed copy (on file systems without unnamed files) leaves its hidden temporary
// file; copying the same name into the same folder again removes it. The folder is
// read once to learn whether it holds any; only then is it read again for the name.
void FileOperationEngine::removeStaleParts(const Dir& dst, const std::string& name)
{
    if (!dst.PartsListed) {
        dst.PartsListed = true;
        FileOpTree::ForEachEntry(dst.Fd(), [&](const char* entry, unsigned char) {
            if (entry[0] == '.' && std::strstr(entry, kPartInfix))
                dst.Parts.emplace_back(entry);
            return true;
        });
    }
    const std::string prefix = TemporaryName::Prefix(name, kPartInfix);
    const size_t before = dst.Parts.size();
    std::erase_if(dst.Parts, [&](const std::string& part) {
        return part.size() == prefix.size() + TemporaryName::kRandomChars && part.compare(0, prefix.size(), prefix) == 0;
    });
    if (dst.Parts.size() != before)
        TemporaryName::RemoveStale(dst.Fd(), name, kPartInfix);
}
