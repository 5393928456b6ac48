// Copy, move, delete and rename of files and whole folders, with a progress window,
// the overwrite question, the delete confirmation and the Trash. Nothing is lost: a
// copied file appears under its final name only when it is complete.
#pragma once

#include <QStringList>
#include <cstdint>

class QWidget;

// Operation codes, numbered as the program stores and passes them.
constexpr uint32_t FO_MOVE = 1;
constexpr uint32_t FO_COPY = 2;
constexpr uint32_t FO_DELETE = 3;
constexpr uint32_t FO_RENAME = 4;

constexpr uint16_t FOF_ALLOWUNDO = 0x0040;       // deleted items go to the Trash
constexpr uint16_t FOF_NOCONFIRMMKDIR = 0x0200;  // missing target folders are created silently

// Result of Execute.
constexpr int kFileOpDone = 0;        // every item was done
constexpr int kFileOpAborted = 1;     // the user cancelled, or skipped or declined items
constexpr int kFileOpFailed = 2;      // the request itself was refused (e.g. a folder into itself)

struct TShellFileOpRecord {
    QWidget* Owner = nullptr;          // window the progress and questions belong to; none for background runs
    uint32_t Function = FO_COPY;
    QStringList Source;                // full paths, in listing order
    QString Target;                    // target folder (copy, move) or the full new path (rename)
    uint16_t Flags = FOF_ALLOWUNDO | FOF_NOCONFIRMMKDIR;
    bool AnyOperationsAborted = false; // set when something was cancelled, skipped or declined
};

class TShellFileOperation {
public:
    // Runs the operation with its own progress window. Called on the UI thread it
    // waits for the end while windows stay painted; called on a worker thread it runs
    // there and asks its questions through the UI thread. Errors and questions are
    // shown to the user; the result only says how it ended.
    static int Execute(TShellFileOpRecord& record);

    // For shutdown: every running operation stops at its next step, leaving finished
    // files whole and no partial file; open questions are answered with Cancel.
    static void CancelAll();
    // Waits up to `msecs` for running operations to end; false when some still run.
    static bool WaitForAll(int msecs);
    // Operations currently running (any thread).
    static int Running();
};
