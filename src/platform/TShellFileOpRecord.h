// What a copy, move, delete or rename is asked to do and how it ended. Plain data,
// so the tables that keep operations for later need no widgets.
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

// Result of TShellFileOperation::Execute.
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
