// The file-operation engine: copy, move, delete and rename of files and whole folders.
// It links QtCore only and talks to the person only through FileOpObserver, so the
// program runs it behind windows and tests run it with a script.
//
// A copy or move goes through these states, in order:
//   check     a folder into itself or a sub-folder of itself, or an item onto itself, is
//             refused before anything is touched (result Failed);
//   prepare   the missing target folder is made (asked first without CreateTargetSilently);
//   collect   files and bytes are counted for the progress, links never followed;
//   room      a copy, or a move to another volume, larger than the target's free
//             space is asked about before the first write: go on or stop;
//   transfer  item by item: resolve a conflict (ask: yes, yes to all, no, no to all,
//             cancel; folders merge into folders), then
//               - a move tries rename() first, which is the whole move on one volume;
//               - otherwise a folder is made and filled, a file copied to a hidden
//                 temporary name beside its target and renamed into place when whole;
//   remove    a moved item's source goes only once its copy is in place, checked, and
//             flushed to the disk (in batches: one flush for many files), and only
//             when its name still holds the very file that was copied: a source saved
//             anew or written to meanwhile is kept and reported.
// An error stops at the item and asks skip, skip all, retry or cancel. A cancel, from
// the observer or a question, leaves every finished file whole and no temporary file.
// "For all" answers (overwrite, skip errors) hold for the rest of the run.
//
// Deep trees hold a bounded number of descriptors (FileOpFolder). A copy whose source
// changed while it was read is reported, not called done. Delete never enters another
// mount: a folder with a file system mounted on it is reported and left.
//
// Thread: one run at a time on any thread; the observer is called on that thread.
#pragma once

#include "platform/FileCopier.h"
#include "platform/FileOpFolder.h"
#include "platform/FileOpObserver.h"
#include "platform/doors/SourceRemoval.h"

#include <QCoreApplication>
#include <QStringList>
#include <chrono>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <sys/stat.h>
#include <vector>

struct FileOpRequest {
    FileOpKind Kind = FileOpKind::Copy;
    QStringList Sources;              // full paths
    QString Target;                   // target folder (copy, move) or the new full path (rename)
    bool UseTrash = true;             // delete moves items to the Trash
    bool CreateTargetSilently = true; // a missing target folder is made without asking
};

enum class FileOpResult { Done, Aborted, Failed };

class FileOperationEngine {
    Q_DECLARE_TR_FUNCTIONS(FileOperationEngine)

public:
    explicit FileOperationEngine(FileOpObserver& observer);
    ~FileOperationEngine();

    FileOpResult Run(const FileOpRequest& request);

    // Something was cancelled, skipped or declined in the last run.
    bool AnyAborted() const { return m_aborted; }

    // The byte copier, so tests can make its writes fail.
    FileCopier& Copier() { return m_copier; }
    // Least time between two Progress calls; 0 reports every step (tests).
    void SetProgressInterval(int msecs) { m_progressInterval = std::chrono::milliseconds(msecs); }
    // For tests of a disk that fails to flush: every flush before removing moved
    // sources fails with `error`; 0 removes the fault.
    void InjectSyncFailure(int error) { m_syncFailure = error; }
    // False: copy through hidden temporary names, as on file systems without unnamed
    // files (vfat, NFS), so tests reach that path anywhere.
    void SetUnnamedFiles(bool allowed) { m_unnamedFiles = allowed; }

private:
    using Dir = FileOpFolder;
    // A moved source waiting for its copy to reach the disk before it is removed; its
    // name must then still hold exactly what was copied.
    struct PendingRemoval {
        std::shared_ptr<FileOpFd> Folder;
        std::string Path;
        std::string Name;
        bool IsFolder = false;
        bool HasOtherNames = false;   // a hard-linked file
        FileIdentity Was;
    };
    // One source as the request named it.
    struct TopItem {
        std::string Path;
        std::string Parent;
        std::string Name;
        struct stat St {};
        int StatError = 0;
        int64_t Files = 0;   // counted in the collect state
        int64_t Bytes = 0;
    };
    // How one attempt at a step ended; Failed carries the text for the error question.
    struct Step {
        enum Kind { Ok, Failed, Declined, Cancelled } Status = Ok;
        QString Text;
    };
    enum class Outcome { Ok, Skipped, Stopped };
    enum class AllAnswer { Ask, Yes, No };

    // Runs `attempt` until it works or the person skips or cancels.
    template <class Attempt> Outcome retrying(Attempt attempt);
    // The same for the end of work already done: one attempt even after a cancel, and
    // questions only when that attempt fails and nobody cancelled.
    template <class Attempt> Outcome finishing(Attempt attempt);
    Step failed(const QString& text) const { return {Step::Failed, text}; }

    // States shared by all kinds.
    bool cancelled();
    bool tick(int64_t bytes);
    void setCurrent(const std::string& dir, const std::string& name);
    void report(bool force);
    ErrorChoice askError(const QString& text);
    bool confirm(const QString& text);
    OverwriteChoice askOverwrite(const FileOpConflict& conflict);
    FileOpResult result() const;
    std::vector<TopItem> topItems(const QStringList& sources) const;
    bool countTree(const Dir& folder);
    void countItem(TopItem& item);
    bool countItems(std::vector<TopItem>& items, const std::function<bool(const TopItem&)>& oneStep);

    // Copy and move (FileOperationEngineTransfer.cpp).
    FileOpResult runTransfer(const FileOpRequest& request);
    bool refused(const std::vector<TopItem>& items, const std::string& target);
    bool prepareTarget(const std::string& target, bool silently, FileOpResult& stop);
    bool roomOrConsent(const std::vector<TopItem>& items, const Dir& target);
    bool transferTop(const TopItem& item, const Dir& target);
    bool transferItem(const Dir& src, const std::string& name, unsigned char type, const Dir& dst, bool tryRename);
    Step transferOnce(const Dir& src, const std::string& name, unsigned char type, const Dir& dst, bool tryRename);
    Step resolveConflict(const Dir& src, const std::string& name, const struct stat& srcSt, const Dir& dst,
                         const struct stat& dstSt);
    Step moveByRename(const Dir& src, const std::string& name, const Dir& dst, bool replace, bool& tryRename);
    Step copyFolder(const Dir& src, const std::string& name, const Dir& dst);
    Step mergeFolder(const Dir& src, const std::string& name, const Dir& dst, bool tryRename);
    Step fillFolder(const Dir& src, const std::string& name, const Dir& from, const Dir& dst, const Dir& to,
                    const struct stat& st, bool tryRename);
    bool transferChildren(const Dir& src, const Dir& dst, bool tryRename);
    Step copyRegular(const Dir& src, const std::string& name, const Dir& dst, bool replace);
    Step copyLink(const Dir& src, const std::string& name, const Dir& dst, bool replace);
    Step copyFifo(const Dir& src, const std::string& name, const Dir& dst, bool replace);
    Step placeSpecialEntry(const Dir& src, const std::string& name, const struct stat& st, const Dir& dst,
                           const std::string& temp, bool replace, bool keepMode);
    Step commit(const Dir& src, const std::string& name, const struct stat& srcSt, const Dir& dst,
                const std::string& temp, bool replace);
    Step commitUnnamed(const Dir& src, const std::string& name, const struct stat& srcSt, const Dir& dst, int fd,
                         bool replace);
    int linkUnnamed(int fd, int dirFd, const std::string& name);
    Step folderOverFile(const Dir& src, const std::string& name, const Dir& dst);
    Step removeSource(const Dir& src, const std::string& name, bool folder, const struct stat& st);
    void noteTarget(const Dir& dst);
    Step flushRemovals(bool force);
    bool removeOne(const PendingRemoval& item);
    Step leave(const Dir& parent, const Dir& child);
    SourceRemoval::Status removeUnlessChanged(const PendingRemoval& item);
    void removeStaleParts(const Dir& dst, const std::string& name);
    std::string tempName(const std::string& name);
    void keepAttributes(int fd, int srcFd, const struct stat& st);
    QString transferVerb() const;

    // Delete and rename (FileOperationEngine.cpp).
    FileOpResult runDelete(const FileOpRequest& request);
    Outcome trashItem(const TopItem& item);
    Step deleteForGood(const Dir& dir, const std::string& name, unsigned char type);
    FileOpResult runRename(const FileOpRequest& request);

    FileOpObserver& m_observer;
    FileCopier m_copier;
    FileOpKind m_kind = FileOpKind::Copy;
    bool m_aborted = false;
    bool m_cancelled = false;
    AllAnswer m_overwriteAll = AllAnswer::Ask;
    bool m_skipAllErrors = false;
    std::map<dev_t, bool> m_forGoodAnswers;   // "delete for good?" per volume without a trash
    uint64_t m_randomState;
    mode_t m_umask;
    bool m_unnamedFiles = true;
    bool m_linkThroughProc = false;   // linking by descriptor needs a capability we lack
    uid_t m_uid;
    gid_t m_gid;

    // Moved sources waiting for the next flush, in the order they are to go (a folder
    // after its contents), and one descriptor per target file system to flush.
    std::vector<PendingRemoval> m_pending;
    int64_t m_pendingBytes = 0;
    size_t m_pendingFolders = 0;
    std::map<dev_t, std::shared_ptr<FileOpFd>> m_targetsToSync;
    // Files this run removed a name of: removing one name of a hard-linked file changes
    // the change time its other names show.
    std::set<std::pair<dev_t, ino_t>> m_unlinkedInodes;
    int m_syncFailure = 0;

    int64_t m_bytesDone = 0;
    int64_t m_bytesTotal = 0;
    int64_t m_filesDone = 0;
    int64_t m_filesTotal = 0;
    bool m_scanning = false;
    std::string m_currentDir;
    std::string m_currentName;
    std::chrono::steady_clock::time_point m_workStart;
    std::chrono::steady_clock::duration m_askingTime{};
    std::chrono::steady_clock::time_point m_nextReport;
    std::chrono::milliseconds m_progressInterval{40};
};

template <class Attempt>
FileOperationEngine::Outcome FileOperationEngine::retrying(Attempt attempt)
{
    for (;;) {
        if (cancelled())
            return Outcome::Stopped;
        const Step step = attempt();
        switch (step.Status) {
        case Step::Ok: return Outcome::Ok;
        case Step::Declined: m_aborted = true; return Outcome::Skipped;
        case Step::Cancelled: m_cancelled = m_aborted = true; return Outcome::Stopped;
        case Step::Failed: break;
        }
        switch (askError(step.Text)) {
        case ErrorChoice::Retry: continue;
        case ErrorChoice::Skip:
        case ErrorChoice::SkipAll: m_aborted = true; return Outcome::Skipped;
        case ErrorChoice::Cancel: m_cancelled = m_aborted = true; return Outcome::Stopped;
        }
    }
}

template <class Attempt>
FileOperationEngine::Outcome FileOperationEngine::finishing(Attempt attempt)
{
    const Step first = attempt();
    if (first.Status == Step::Ok)
        return Outcome::Ok;
    if (cancelled()) {
        m_aborted = true;
        return Outcome::Stopped;
    }
    if (first.Status == Step::Declined) {
        m_aborted = true;
        return Outcome::Skipped;
    }
    if (first.Status == Step::Failed) {
        switch (askError(first.Text)) {
        case ErrorChoice::Retry: return retrying(attempt);
        case ErrorChoice::Skip:
        case ErrorChoice::SkipAll: m_aborted = true; return Outcome::Skipped;
        case ErrorChoice::Cancel: break;
        }
    }
    m_cancelled = m_aborted = true;
    return Outcome::Stopped;
}
