// What the file-operation engine tells and asks whoever started it. The engine knows no
// windows: the program answers with dialogs on the UI thread, tests with a script.
// Every call comes from the engine's own thread.
#pragma once

#include <QDateTime>
#include <QString>
#include <cstdint>

enum class FileOpKind { Copy, Move, Delete, Rename };

struct FileOpProgress {
    FileOpKind Operation = FileOpKind::Copy;
    QString CurrentFile;       // full path of the item being worked on
    int64_t BytesDone = 0;
    int64_t BytesTotal = 0;    // regular files' sizes, counted before the work starts
    int64_t FilesDone = 0;
    int64_t FilesTotal = 0;    // items other than folders
    int64_t ElapsedMs = 0;     // time spent working, questions left out, for "time left"
    bool Scanning = false;     // still counting the totals
};

// Both sides of an overwrite question.
struct FileOpConflict {
    QString SourcePath;
    QString TargetPath;
    int64_t SourceSize = 0;
    int64_t TargetSize = 0;
    QDateTime SourceModified;
    QDateTime TargetModified;
    bool SourceIsFolder = false;
};

enum class OverwriteChoice { Yes, YesToAll, No, NoToAll, Cancel };
// SkipAll skips this item and every later one that fails, without asking again.
enum class ErrorChoice { Skip, SkipAll, Retry, Cancel };

class FileOpObserver {
public:
    virtual ~FileOpObserver() = default;

    // Called often (the engine throttles it to a few dozen a second); must be quick.
    virtual void Progress(const FileOpProgress& progress) = 0;
    // Polled between blocks of every file: true stops the operation at the next step.
    virtual bool CancelRequested() = 0;

    virtual OverwriteChoice AskOverwrite(const FileOpConflict& conflict) = 0;
    // `text` names the failing path and the system's reason.
    virtual ErrorChoice AskError(const QString& text) = 0;
    // A yes/no question: the delete confirmation, "delete for good?", "create folder?".
    virtual bool Confirm(const QString& text) = 0;
    // A refusal: the request is not carried out.
    virtual void Inform(const QString& text) = 0;
};
