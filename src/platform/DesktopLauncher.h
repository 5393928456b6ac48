// Opening a file the way the desktop would, as a child of this process so that the
// caller can wait for it (and delete a temporary copy once it has ended).
#pragma once

#include <QCoreApplication>
#include <QString>
#include <sys/types.h>

struct LaunchResult {
    pid_t Pid = -1;          // the child, to be waited for; -1 when nothing started
    QString Error;           // for the user when nothing started
    bool Started() const { return Pid > 0; }
};

class DesktopLauncher {
    Q_DECLARE_TR_FUNCTIONS(DesktopLauncher)
public:
    // Opens `path` as a double click would: a folder in the desktop's file manager
    // (xdg-open as the child), an executable regular file (execute permission for the
    // user AND an ELF or "#!" start) runs itself, anything else starts with the default
    // application of its MIME type (by name first, by content when the name says
    // nothing), with `workingDir` as the working directory. An application whose
    // program is not installed gives way to the next one for the type; one with
    // Terminal=true runs inside x-terminal-emulator. The child's stdin is /dev/null, its
    // environment this process's. Nothing started -> Error says why.
    static LaunchResult Open(const QString& path, const QString& workingDir);
};
