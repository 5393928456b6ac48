// Network drives: connecting and disconnecting remote locations (smb://, sftp://,
// ftp://, dav://, ...) through GIO's command-line tool, and finding the network drives
// that are connected now. Widget-free, so the dialogs stay thin and tests need no UI.
#pragma once

#include "platform/DriveList.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>

class QProcess;
class QTimer;

struct ToolResult {
    bool ok = false;
    QString errorText;   // what to show the user when ok is false
};

// One run of the tool, connecting (`gio mount URL`) or disconnecting (`gio mount -u
// TARGET`, a mount point or a location). A login can take the tool up to a minute, so
// it never blocks the thread that starts it: Finished arrives once, through that
// thread's event loop, unless the run is cancelled. UI thread only.
class MountToolRun : public QObject {
    Q_OBJECT
public:
    explicit MountToolRun(QObject* parent = nullptr);
    ~MountToolRun() override;   // a tool still running is killed

    // Input the tool must not see, or a missing tool, finish at once, inside the call.
    void StartMount(const QString& url);
    void StartUnmount(const QString& mountPointOrUrl);
    // Kills the tool; no Finished follows.
    void Cancel();
    bool IsRunning() const;

Q_SIGNALS:
    void Finished(const ToolResult& result);

private:
    void start(const QStringList& arguments);
    void processEnded();
    void finish(const ToolResult& result);

    QProcess* m_process = nullptr;
    QTimer* m_timeout = nullptr;
    QString m_toolName;
};

// The connected network drives: remote volumes from the mount table, then the GIO
// mounts, each a folder under $XDG_RUNTIME_DIR/gvfs/. Each path is listed once.
QStringList NetworkMountPoints(const QVector<TVolume>& volumes);

// Replaces the "gio" program (a name looked up in PATH, or a path); empty restores it.
void SetMountToolForTests(const QString& program);
