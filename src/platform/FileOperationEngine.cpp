// The file-operation engine: shared states, delete and rename (see
// FileOperationEngine.h); copy and move are in FileOperationEngineTransfer.cpp.
#include "platform/FileOperationEngine.h"

#include "platform/FileNames.h"
#include "platform/FileOpPaths.h"
#include "platform/FileOpSysCalls.h"
#include "platform/FileOpTree.h"
#include "platform/TrashCan.h"

#include <QFile>
#include <random>

using namespace FileOpPaths;

namespace {

// The process's umask, read without changing it (umask() would race other threads).
mode_t currentUmask()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine())
            if (line.startsWith("Umask:"))
                return mode_t(line.mid(6).trimmed().toUInt(nullptr, 8));
    }
    return 022;
}

} // namespace

FileOperationEngine::FileOperationEngine(FileOpObserver& observer)
    : m_observer(observer)
    , m_randomState(std::random_device{}() | (uint64_t(std::random_device{}()) << 32) | 1)
    , m_umask(currentUmask())
    , m_uid(::geteuid())
    , m_gid(::getegid())
{
}

FileOperationEngine::~FileOperationEngine() = default;

FileOpResult FileOperationEngine::Run(const FileOpRequest& request)
{
    m_kind = request.Kind;
    m_aborted = false;
    m_cancelled = false;
    m_overwriteAll = AllAnswer::Ask;
    m_skipAllErrors = false;
    m_forGoodAnswers.clear();
    m_bytesDone = m_bytesTotal = m_filesDone = m_filesTotal = 0;
    m_askingTime = {};
    m_workStart = std::chrono::steady_clock::now();
    m_nextReport = {};
    if (request.Sources.isEmpty())
        return FileOpResult::Done;
    switch (request.Kind) {
    case FileOpKind::Copy:
    case FileOpKind::Move: return runTransfer(request);
    case FileOpKind::Delete: return runDelete(request);
    case FileOpKind::Rename: return runRename(request);
    }
    return FileOpResult::Failed;
}

// ---- progress and questions ----

bool FileOperationEngine::cancelled()
{
    if (!m_cancelled && m_observer.CancelRequested())
        m_cancelled = m_aborted = true;
    return m_cancelled;
}

bool FileOperationEngine::tick(int64_t bytes)
{
    m_bytesDone += bytes;
    report(false);
    return !cancelled();
}

void FileOperationEngine::setCurrent(const std::string& dir, const std::string& name)
{
    m_currentDir = dir;
    m_currentName = name;
    report(false);
}

void FileOperationEngine::report(bool force)
{
    const auto now = std::chrono::steady_clock::now();
    if (!force && now < m_nextReport)
        return;
    m_nextReport = now + m_progressInterval;
    FileOpProgress p;
    p.Operation = m_kind;
    std::string path = m_currentDir;
    if (!m_currentName.empty()) {
        if (path.empty() || path.back() != '/')
            path += '/';
        path += m_currentName;
    }
    p.CurrentFile = shown(path);
    p.BytesDone = m_bytesDone;
    p.BytesTotal = m_bytesTotal;
    p.FilesDone = m_filesDone;
    p.FilesTotal = m_filesTotal;
    p.Scanning = m_scanning;
    p.ElapsedMs = std::chrono::duration_cast<std::chrono::milliseconds>(now - m_workStart - m_askingTime).count();
    m_observer.Progress(p);
}

// Time spent waiting for an answer is not work; leaving it out keeps "time left" honest.
class AskingClock {
public:
    explicit AskingClock(std::chrono::steady_clock::duration& total) : m_total(total) {}
    ~AskingClock() { m_total += std::chrono::steady_clock::now() - m_start; }

private:
    std::chrono::steady_clock::duration& m_total;
    std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
};

ErrorChoice FileOperationEngine::askError(const QString& text)
{
    if (cancelled())
        return ErrorChoice::Cancel;
    if (m_skipAllErrors)
        return ErrorChoice::Skip;
    report(true);
    AskingClock clock(m_askingTime);
    const ErrorChoice choice = m_observer.AskError(text);
    if (choice == ErrorChoice::SkipAll) {
        m_skipAllErrors = true;
        return ErrorChoice::Skip;
    }
    return choice;
}

bool FileOperationEngine::confirm(const QString& text)
{
    if (cancelled())
        return false;
    AskingClock clock(m_askingTime);
    return m_observer.Confirm(text);
}

OverwriteChoice FileOperationEngine::askOverwrite(const FileOpConflict& conflict)
{
    if (m_overwriteAll == AllAnswer::Yes)
        return OverwriteChoice::Yes;
    if (m_overwriteAll == AllAnswer::No)
        return OverwriteChoice::No;
    if (cancelled())
        return OverwriteChoice::Cancel;
    report(true);
    AskingClock clock(m_askingTime);
    const OverwriteChoice choice = m_observer.AskOverwrite(conflict);
    if (choice == OverwriteChoice::YesToAll) {
        m_overwriteAll = AllAnswer::Yes;
        return OverwriteChoice::Yes;
    }
    if (choice == OverwriteChoice::NoToAll) {
        m_overwriteAll = AllAnswer::No;
        return OverwriteChoice::No;
    }
    return choice;
}

FileOpResult FileOperationEngine::result() const
{
    return m_aborted ? FileOpResult::Aborted : FileOpResult::Done;
}

// ---- collect ----

std::vector<FileOperationEngine::TopItem> FileOperationEngine::topItems(const QStringList& sources) const
{
    std::vector<TopItem> items;
    items.reserve(size_t(sources.size()));
    for (const QString& source : sources) {
        TopItem item;
        item.Path = cleanPath(source);
        const auto slash = item.Path.find_last_of('/');
        item.Parent = parentOf(item.Path);
        item.Name = slash == std::string::npos ? item.Path : item.Path.substr(slash + 1);
        if (::lstat(item.Path.c_str(), &item.St) != 0)
            item.StatError = errno;
        items.push_back(std::move(item));
    }
    return items;
}

// Totals for the progress window; an item done in one step (a rename, a trashing)
// counts as one file. False when cancelled meanwhile.
bool FileOperationEngine::countItems(std::vector<TopItem>& items, const std::function<bool(const TopItem&)>& oneStep)
{
    m_scanning = true;
    for (TopItem& item : items) {
        if (oneStep(item)) {
            item.Files = 1;
            ++m_filesTotal;
        } else {
            countItem(item);
        }
        if (cancelled())
            return false;
    }
    m_scanning = false;
    return true;
}

void FileOperationEngine::countItem(TopItem& item)
{
    const int64_t filesBefore = m_filesTotal;
    const int64_t bytesBefore = m_bytesTotal;
    Dir folder;
    if (item.StatError == 0 && S_ISDIR(item.St.st_mode)) {
        if (folder.OpenPath(item.Path) == 0)
            countTree(folder);
    } else {
        ++m_filesTotal;
        if (item.StatError == 0 && S_ISREG(item.St.st_mode))
            m_bytesTotal += item.St.st_size;
    }
    item.Files = m_filesTotal - filesBefore;
    item.Bytes = m_bytesTotal - bytesBefore;
}

// Counts what a transfer or delete will meet. Unreadable folders count as empty: the
// work itself meets them again and reports them. False when the count stopped.
bool FileOperationEngine::countTree(const Dir& folder)
{
    m_currentDir = folder.Path();
    m_currentName.clear();
    std::vector<std::string> subfolders;
    FileOpTree::ForEachEntry(folder.Fd(), [&](const char* name, unsigned char type) {
        // Folders need no stat; sizes do.
        struct stat st;
        const bool known = (type == DT_UNKNOWN || type == DT_REG) && ::fstatat(folder.Fd(), name, &st, AT_SYMLINK_NOFOLLOW) == 0;
        if (type == DT_DIR || (known && S_ISDIR(st.st_mode))) {
            subfolders.emplace_back(name);
        } else {
            ++m_filesTotal;
            if (known && S_ISREG(st.st_mode))
                m_bytesTotal += st.st_size;
        }
        report(false);
        return !cancelled();
    });
    for (const std::string& name : subfolders) {
        Dir sub;
        if (cancelled())
            return false;
        if (sub.OpenChild(folder, name) != 0)
            continue;
        folder.ReleaseFor(sub);
        const bool go = countTree(sub);
        if (!folder.Rejoin(sub) || !go)
            return false;   // the work itself will say what became of the folder
    }
    return true;
}

// ---- delete ----

FileOpResult FileOperationEngine::runDelete(const FileOpRequest& request)
{
    std::vector<TopItem> items = topItems(request.Sources);
    QString question;
    if (items.size() == 1)
        question = request.UseTrash ? tr("Move \"%1\" to the Trash?").arg(shown(items[0].Name))
                                    : tr("Delete \"%1\" for good?").arg(shown(items[0].Name));
    else
        question = request.UseTrash ? tr("Move %1 items to the Trash?").arg(items.size())
                                    : tr("Delete %1 items for good?").arg(items.size());
    if (!confirm(question)) {
        m_aborted = true;
        return FileOpResult::Aborted;
    }
    // A trashed folder is one rename, so the items are the units of progress there.
    if (!countItems(items, [&](const TopItem&) { return request.UseTrash; }))
        return result();
    m_workStart = std::chrono::steady_clock::now();
    int64_t filesBefore = 0;
    for (const TopItem& item : items) {
        setCurrent(item.Parent, item.Name);
        Outcome outcome;
        if (request.UseTrash) {
            outcome = trashItem(item);
        } else {
            const unsigned char type = item.StatError == 0 && S_ISDIR(item.St.st_mode) ? DT_DIR : DT_UNKNOWN;
            outcome = retrying([&] {
                Dir parent;
                if (const int error = parent.OpenPath(item.Parent))
                    return failed(tr("Cannot delete %1: %2").arg(quoted(item.Path), SystemErrorText(error)));
                return deleteForGood(parent, item.Name, type);
            });
        }
        filesBefore += item.Files;
        m_filesDone = filesBefore;
        if (outcome == Outcome::Stopped)
            break;
    }
    report(true);
    return result();
}

FileOperationEngine::Outcome FileOperationEngine::trashItem(const TopItem& item)
{
    return retrying([&]() -> Step {
        const TrashCan::Result r = TrashCan::Move(shown(item.Path));
        if (r.Status == TrashCan::Outcome::Trashed)
            return {};
        if (r.Status == TrashCan::Outcome::Failed)
            return failed(tr("Cannot move %1 to the Trash: %2").arg(quoted(item.Path), SystemErrorText(r.Error)));
        if (r.Status == TrashCan::Outcome::HoldsMount)
            return failed(tr("Cannot move %1 to the Trash: another file system is mounted on %2.")
                              .arg(quoted(item.Path), QLatin1Char('"') + r.Where + QLatin1Char('"')));
        // No trash on that volume: deleting for good is the person's decision, asked
        // once per volume.
        struct stat st {};
        const dev_t device = ::lstat(item.Path.c_str(), &st) == 0 ? st.st_dev : 0;
        auto known = m_forGoodAnswers.find(device);
        bool forGood;
        if (known != m_forGoodAnswers.end()) {
            forGood = known->second;
        } else {
            forGood = confirm(tr("%1 cannot be moved to the Trash: its volume has no trash folder that "
                                 "can take it. Delete it for good?").arg(quoted(item.Path)));
            if (cancelled())
                return {Step::Cancelled, {}};
            m_forGoodAnswers[device] = forGood;
        }
        if (!forGood)
            return {Step::Declined, {}};
        Dir parent;
        if (const int error = parent.OpenPath(item.Parent))
            return failed(tr("Cannot delete %1: %2").arg(quoted(item.Path), SystemErrorText(error)));
        return deleteForGood(parent, item.Name, S_ISDIR(st.st_mode) ? DT_DIR : DT_UNKNOWN);
    });
}

// Removes an entry and, for a folder, everything below it. Entries below that fail are
// asked about one by one; a folder left non-empty by a skip stays, without another
// question. Another file system mounted on a folder (a bind mount, a USB disk) is
// never entered: its files are not part of what was deleted.
FileOperationEngine::Step FileOperationEngine::deleteForGood(const Dir& dir, const std::string& name,
                                                             unsigned char type)
{
    const std::string path = dir.PathOf(name);
    if (type != DT_DIR) {
        if (::unlinkat(dir.Fd(), name.c_str(), 0) == 0) {
            ++m_filesDone;
            tick(0);
            return {};
        }
        // EISDIR (and EPERM on some systems) means it is a folder after all.
        if (errno != EISDIR && errno != EPERM)
            return failed(tr("Cannot delete %1: %2").arg(quoted(path), SystemErrorText(errno)));
    }
    const int unlinkError = errno;
    Dir folder;
    if (const int error = folder.OpenChild(dir, name))
        return failed(tr("Cannot delete %1: %2")
                          .arg(quoted(path), SystemErrorText(type != DT_DIR && error == ENOTDIR ? unlinkError : error)));
    if (folder.MountId() != dir.MountId())
        return failed(tr("Cannot delete %1: another file system is mounted on it.").arg(quoted(path)));
    std::vector<FileOpTree::Entry> entries;
    if (const int error = FileOpTree::List(folder.Fd(), entries))
        return failed(tr("Cannot read %1: %2").arg(quoted(path), SystemErrorText(error)));
    dir.ReleaseFor(folder);
    bool skippedSome = false;
    bool stopped = false;
    for (const FileOpTree::Entry& entry : entries) {
        setCurrent(path, entry.Name);
        const Outcome o = retrying([&] { return deleteForGood(folder, entry.Name, entry.Type); });
        if ((stopped = o == Outcome::Stopped))
            break;
        skippedSome |= o == Outcome::Skipped;
    }
    if (const Step back = leave(dir, folder); back.Status != Step::Ok)
        return back;
    if (stopped)
        return {Step::Cancelled, {}};
    if (::unlinkat(dir.Fd(), name.c_str(), AT_REMOVEDIR) == 0 || (skippedSome && errno == ENOTEMPTY))
        return {};
    return failed(tr("Cannot delete %1: %2").arg(quoted(path), SystemErrorText(errno)));
}

// ---- rename ----

FileOpResult FileOperationEngine::runRename(const FileOpRequest& request)
{
    if (request.Sources.size() != 1) {
        m_observer.Inform(tr("Only one item can be renamed at a time."));
        return FileOpResult::Failed;
    }
    const std::string from = cleanPath(request.Sources.front());
    const std::string to = cleanPath(request.Target);
    if (from == to)
        return FileOpResult::Done;
    m_filesTotal = 1;
    m_currentDir = from;
    report(true);
    bool exists = false;
    const Outcome outcome = retrying([&]() -> Step {
        int error = RenameNoReplace(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str());
        if (error == EEXIST) {
            // The same entry under another spelling (a case change on a file system that
            // ignores case) is not a conflict.
            struct stat a, b;
            if (::lstat(from.c_str(), &a) == 0 && ::lstat(to.c_str(), &b) == 0 && a.st_dev == b.st_dev
                && a.st_ino == b.st_ino)
                error = ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
            else
                exists = true;
        }
        if (error == 0 || exists)
            return {};
        return failed(tr("Cannot rename %1 to %2: %3").arg(quoted(from), quoted(to), SystemErrorText(error)));
    });
    if (exists) {
        m_observer.Inform(tr("Cannot rename %1 to %2: a file or folder with that name already exists.")
                              .arg(quoted(from), quoted(to)));
        return FileOpResult::Failed;
    }
    if (outcome == Outcome::Ok)
        m_filesDone = 1;
    report(true);
    return result();
}
