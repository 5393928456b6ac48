// The descriptions of a folder's entries, kept in the folder's file DESCRIPT.ION:
// reading them for the pane listing and the describe dialog, and rewriting the file
// when the user describes an entry. Main thread only (rewriting may show a message).
#pragma once

#include <QHash>
#include <QString>

// The file's name as written for a folder that has none yet.
inline constexpr char kDescriptionFileName[] = "DESCRIPT.ION";

// Full path of the folder's description file, found without regard to case (the exact
// "DESCRIPT.ION" first, then "descript.ion", then any other spelling in byte order),
// or an empty string when there is none.
QString FindDescriptionFile(const QString& folder);

// How much of a description file is read for the listing and the describe dialog,
// which read it on the UI thread at every refresh. Anyone who can write to a shared
// folder can plant a file of gigabytes (a sparse one costs them nothing), and reading
// it whole froze the window for most of a minute. 16 MiB holds hundreds of thousands
// of descriptions, more than a folder has entries, and costs a moment, not a minute.
// Lines that begin past it are not shown.
inline constexpr qint64 kDescriptionReadLimit = qint64(16) << 20;
// The largest file a description is written to. A rewrite holds the whole file in
// memory and writes all of it again; a sparse file of gigabytes would freeze the window
// and fill the disk with its holes, so a larger file is left as it is, with a warning.
inline constexpr qint64 kDescriptionRewriteLimit = qint64(16) << 20;

// Every description of the folder, keyed by the entry name's ASCII upper-case form
// (AsciiUpper) so the pane looks names up without regard to case. A later line for a
// name replaces an earlier one; a line with an empty description removes the name.
QHash<QString, QString> LoadDescriptions(const QString& folder, qint64 readLimit = kDescriptionReadLimit);

// The description of one entry (full path): the first line naming it, or "".
QString ReadDescription(const QString& entryPath);

// Gives the entry the new description by replacing its folder's file through the door
// for a user's file (a temporary file renamed over the old one, which keeps its mode,
// owner and attributes): the lines naming it get the new text, or are removed when it
// is empty; a new line goes after the lines that begin within readLimit; every other
// byte of the file stays as it was. False when nothing was written: the folder is not
// writable, the file is read-only, another user's, not a regular file, larger than
// kDescriptionRewriteLimit or changed by another program meanwhile, the disk is full,
// or the name cannot be written in the file's format; a warning then says why and the
// old file is unchanged.
bool WriteDescription(const QString& entryPath, const QString& text, qint64 readLimit = kDescriptionReadLimit);
