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

// Every description of the folder, keyed by the entry name's ASCII upper-case form
// (AsciiUpper) so the pane looks names up without regard to case. A later line for a
// name replaces an earlier one; a line with an empty description removes the name.
QHash<QString, QString> LoadDescriptions(const QString& folder);

// The description of one entry (full path): the first line naming it, or "".
QString ReadDescription(const QString& entryPath);

// Gives the entry the new description by rewriting its folder's file through a
// temporary file renamed over the old one. False when nothing was written: the folder
// is not writable, the file is read-only, the disk is full, or the name cannot be
// written in the file's format; the old file is then unchanged. A failed rename shows
// a warning and leaves the temporary file beside the old one.
bool WriteDescription(const QString& entryPath, const QString& text);
