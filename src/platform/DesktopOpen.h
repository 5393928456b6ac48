// Opening a folder in the desktop's own file manager, whichever the desktop has.
#pragma once

#include <QString>

// Starts `xdg-open FOLDER` detached and returns at once. False, with a text for the
// user in *error, when the folder does not exist or the program cannot be started.
bool OpenFolderInFileManager(const QString& folder, QString* error);

// Replaces the "xdg-open" program (a name looked up in PATH, or a path); empty restores it.
void SetFolderOpenerForTests(const QString& program);
