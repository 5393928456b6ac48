// Network drives: connecting and disconnecting remote locations (smb://, sftp://,
// ftp://, dav://, ...) through GIO's command-line tool, and finding the network drives
// that are connected now. Widget-free, so the dialogs stay thin and tests need no UI.
#pragma once

#include "platform/DriveList.h"

#include <QString>
#include <QStringList>
#include <QVector>

struct ToolResult {
    bool ok = false;
    QString errorText;   // what to show the user when ok is false
};

// Runs `gio mount URL` and waits for it (at most a minute); blocks the calling thread.
ToolResult MountLocation(const QString& url);
// Runs `gio mount -u TARGET`; the target is a mount point or a location.
ToolResult UnmountLocation(const QString& mountPointOrUrl);

// The connected network drives: remote volumes from the mount table, then the GIO
// mounts, each a folder under $XDG_RUNTIME_DIR/gvfs/. Each path is listed once.
QStringList NetworkMountPoints(const QVector<TVolume>& volumes);

// Replaces the "gio" program (a name looked up in PATH, or a path); empty restores it.
void SetMountToolForTests(const QString& program);
