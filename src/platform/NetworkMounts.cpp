// Network drives through `gio mount` (see NetworkMounts.h). The tool, not a library,
// does the work so that the program needs neither GLib nor a D-Bus binding, and so
// that the tool's own error text (bad address, refused login) reaches the user as is.
#include "platform/NetworkMounts.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>

#include <unistd.h>

namespace {

constexpr int kToolTimeoutMs = 60 * 1000;

QString g_toolOverride;   // UI thread only; set by tests

QString toolProgram() { return g_toolOverride.isEmpty() ? QStringLiteral("gio") : g_toolOverride; }

QString resolveProgram(const QString& program)
{
    if (program.contains(u'/')) {
        const QFileInfo info(program);
        return info.isFile() && info.isExecutable() ? info.absoluteFilePath() : QString();
    }
    return QStandardPaths::findExecutable(program);
}

// A target starting with "-" would be read as an option: gio mount does not honour "--".
bool looksLikeOption(const QString& target) { return target.startsWith(u'-'); }

ToolResult failure(const QString& text) { return ToolResult{false, text}; }

ToolResult runTool(const QStringList& arguments)
{
    const QString name = QFileInfo(toolProgram()).fileName();
    const QString program = resolveProgram(toolProgram());
    if (program.isEmpty())
        return failure(QStringLiteral("The program %1 is not installed.").arg(name));

    QProcess process;
    // The tool asks for passwords on standard input: with none it fails at once
    // instead of waiting for an answer nobody can type.
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!process.waitForStarted())
        return failure(QStringLiteral("The program %1 could not be started: %2").arg(name, process.errorString()));
    if (!process.waitForFinished(kToolTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        return failure(QStringLiteral("%1 did not finish within %2 seconds.").arg(name).arg(kToolTimeoutMs / 1000));
    }
    if (process.exitStatus() == QProcess::CrashExit)
        return failure(QStringLiteral("%1 stopped unexpectedly.").arg(name));
    if (process.exitCode() == 0)
        return ToolResult{true, {}};
    QString text = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
    if (text.isEmpty())
        text = QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
    if (text.isEmpty())
        text = QStringLiteral("%1 failed with exit code %2.").arg(name).arg(process.exitCode());
    return failure(text);
}

QString gvfsFolder()
{
    QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (runtime.isEmpty())
        runtime = QStringLiteral("/run/user/%1").arg(::getuid());
    return runtime + QStringLiteral("/gvfs");
}

} // namespace

ToolResult MountLocation(const QString& url)
{
    const QString location = url.trimmed();
    if (location.isEmpty())
        return failure(QStringLiteral("Type the location of the network drive, for example smb://server/share."));
    if (looksLikeOption(location))
        return failure(QStringLiteral("\"%1\" is not a valid location.").arg(location));
    return runTool({QStringLiteral("mount"), location});
}

ToolResult UnmountLocation(const QString& mountPointOrUrl)
{
    const QString target = mountPointOrUrl.trimmed();
    if (target.isEmpty())
        return failure(QStringLiteral("Choose the network drive to disconnect."));
    if (looksLikeOption(target))
        return failure(QStringLiteral("\"%1\" is not a valid location.").arg(target));
    return runTool({QStringLiteral("mount"), QStringLiteral("-u"), target});
}

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
