// The "New dir/zip" command: asks for a name and creates one folder, or one empty
// zip archive, in a pane's folder. The caller re-reads the pane.
#pragma once

#include <QByteArray>
#include <QString>

class QWidget;

// `paneDir` is the pane's folder (a trailing '/' is added when missing). With
// `zipOnly` only an archive can be made. Returns the full path created, or an empty
// string when the user cancelled. A name that cannot be created is reported and the
// dialog is shown again with the typed text kept. `parent` owns the dialog and the
// messages.
QString CreateDirOrZip(const QString& paneDir, bool zipOnly, QWidget* parent = nullptr);

// The bytes of an empty zip archive (just the end-of-central-directory record).
QByteArray EmptyZipTemplate();
// Writes an empty zip archive at `path`; false when the file already exists or
// cannot be written (a partly written file is removed again).
bool CreateEmptyZip(const QString& path);
