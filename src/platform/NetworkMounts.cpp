// Network drives through `gio mount` (see NetworkMounts.h). The tool, not a library,
// does the work so that the program needs neither GLib nor a D-Bus binding, and so
// that the tool's own error text (bad address, refused login) reaches the user as is.
#include "platform/NetworkMounts.h"
#include "platform/ProgramPath.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTimer>

#include <unistd.h>

namespace {

constexpr int kToolTimeoutMs = 60 * 1000;

QString g_toolOverride;   // UI thread only; set by tests

QString toolProgram() { return g_toolOverride.isEmpty() ? QStringLiteral("gio") : g_toolOverride; }

// A target starting with "-" would be read as an option: gio mount does not honour "--".
bool looksLikeOption(const QString& target) { return target.startsWith(u'-'); }

ToolResult failure(const QString& text) { return ToolResult{false, text}; }

QString gvfsFolder()
{
    QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (runtime.isEmpty())
        runtime = QStringLiteral("/run/user/%1").arg(::getuid());
    return runtime + QStringLiteral("/gvfs");
}

} // namespace

MountToolRun::MountToolRun(QObject* parent)
    : QObject(parent)
    , m_timeout(new QTimer(this))
{
    m_timeout->setSingleShot(true);
    m_timeout->setInterval(kToolTimeoutMs);
    connect(m_timeout, &QTimer::timeout, this, [this] {
        Cancel();
        finish(failure(
            tr("%1 did not finish within %2 seconds.").arg(m_toolName).arg(kToolTimeoutMs / 1000)));
    });
}

MountToolRun::~MountToolRun() { Cancel(); }

void MountToolRun::StartMount(const QString& url)
{
    const QString location = url.trimmed();
    if (location.isEmpty())
        return finish(
            failure(tr("Type the location of the network drive, for example smb://server/share.")));
    if (looksLikeOption(location))
        return finish(failure(tr("\"%1\" is not a valid location.").arg(location)));
    start({QStringLiteral("mount"), location});
}

void MountToolRun::StartUnmount(const QString& mountPointOrUrl)
{
    const QString target = mountPointOrUrl.trimmed();
    if (target.isEmpty())
        return finish(failure(tr("Choose the network drive to disconnect.")));
    if (looksLikeOption(target))
        return finish(failure(tr("\"%1\" is not a valid location.").arg(target)));
    start({QStringLiteral("mount"), QStringLiteral("-u"), target});
}

bool MountToolRun::IsRunning() const { return m_process != nullptr; }

void MountToolRun::Cancel()
{
    m_timeout->stop();
    if (!m_process)
        return;
    QProcess* process = m_process;
    m_process = nullptr;
    process->disconnect(this);
    process->kill();
    // A killed process ends at once; waiting here only collects it, so no zombie
    // outlives the dialog.
    process->waitForFinished(1000);
    delete process;
}

void MountToolRun::start(const QStringList& arguments)
{
    Cancel();
    m_toolName = QFileInfo(toolProgram()).fileName();
    const QString program = ResolveProgram(toolProgram());
    if (program.isEmpty())
        return finish(failure(tr("The program %1 is not installed.").arg(m_toolName)));

    m_process = new QProcess(this);
    // The tool asks for passwords on standard input: with none it fails at once
    // instead of waiting for an answer nobody can type.
    m_process->setStandardInputFile(QProcess::nullDevice());
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart || !m_process)
            return;
        const QString reason = m_process->errorString();
        Cancel();
        finish(failure(tr("The program %1 could not be started: %2").arg(m_toolName, reason)));
    });
    connect(m_process, &QProcess::finished, this, &MountToolRun::processEnded);
    m_timeout->start();
    m_process->start(program, arguments);
}

void MountToolRun::processEnded()
{
    m_timeout->stop();
    QProcess* process = m_process;
    m_process = nullptr;
    if (!process)
        return;
    process->deleteLater();
    if (process->exitStatus() == QProcess::CrashExit)
        return finish(failure(tr("%1 stopped unexpectedly.").arg(m_toolName)));
    if (process->exitCode() == 0)
        return finish(ToolResult{true, {}});
    QString text = QString::fromLocal8Bit(process->readAllStandardError()).trimmed();
    if (text.isEmpty())
        text = QString::fromLocal8Bit(process->readAllStandardOutput()).trimmed();
    if (text.isEmpty())
        text = tr("%1 failed with exit code %2.").arg(m_toolName).arg(process->exitCode());
    finish(failure(text));
}

void MountToolRun::finish(const ToolResult& result) { Q_EMIT Finished(result); }

QStringList NetworkMountPoints(const QVector<TVolume>& volumes)
{
    QStringList points;
    QSet<QString> seen;
    auto add = [&](const QString& path) {
        if (!seen.contains(path)) {
            seen.insert(path);
            points += path;
        }
    };
    for (const TVolume& volume : volumes) {
        if (volume.type == DriveType::Remote)
            add(volume.mountPoint);
    }
    // The gvfs FUSE bridge shows each GIO mount as one folder; gio maps such a path
    // back to its location, so the path is what the user disconnects.
    const QDir gvfs(gvfsFolder());
    const QStringList names = gvfs.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
    for (const QString& name : names)
        add(gvfs.filePath(name));
    return points;
}

void SetMountToolForTests(const QString& program) { g_toolOverride = program; }
