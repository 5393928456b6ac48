// Copy, move, delete and rename of files and whole folders, with a progress window,
// the overwrite question, the delete confirmation and the Trash. Nothing is lost: a
// copied file appears under its final name only when it is complete.
#pragma once

#include "platform/TShellFileOpRecord.h"

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
