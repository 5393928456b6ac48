// The "New dir/zip" command: asks for a name and creates one folder, or one empty
// zip archive, in a pane's folder. The caller re-reads the pane.
#pragma once

#include <QString>

class QWidget;

// `paneDir` is the pane's folder (a trailing '/' is added when missing). With
// `zipOnly` only an archive can be made. A new zip is a copy of the file at
// `emptyZipTemplate`. Returns the full path created, or an empty string when the user
// cancelled. A name that cannot be created is reported and the dialog is shown again
// with the typed text kept. `parent` owns the dialog and the messages.
QString CreateDirOrZip(const QString& paneDir, bool zipOnly, const QString& emptyZipTemplate,
                       QWidget* parent = nullptr);
