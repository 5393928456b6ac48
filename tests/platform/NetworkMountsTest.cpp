// Network drives: the tool's failures reach the user as readable text, and the list
// of connected drives holds remote volumes and GIO mounts and nothing else.
#include "platform/NetworkMounts.h"

#include "QtPrinters.h"
#include "support/EventWait.h"
#include "support/TempDir.h"

#include <QCoreApplication>
#include <QFile>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

namespace {

// Restores the real tool however a test ends.
struct ToolGuard {
    explicit ToolGuard(const QString& program) { SetMountToolForTests(program); }
    ~ToolGuard() { SetMountToolForTests(QString()); }
};

class EnvGuard {
public:
    EnvGuard(const char* name, const QByteArray& value)
        : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name))
    {
        qputenv(name, value);
    }
    ~EnvGuard()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char* m_name;
    bool m_had;
    QByteArray m_old;
};

// A stand-in for gio that records its arguments, says something on stderr and exits
// with the given code.
QString makeFakeTool(TempDir& dir, int exitCode, const QByteArray& stderrText = "")
{
    const QString path = dir.makeFile(QStringLiteral("bin/fakegio"),
                                      "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$(dirname \"$0\")/args\"\n"
                                      "printf '" + stderrText + "' >&2\nexit " + QByteArray::number(exitCode) + "\n");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

QStringList recordedArguments(TempDir& dir)
{
    QFile f(dir.filePath(QStringLiteral("bin/args")));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

// Runs the tool to its end the way the dialogs do, through the event loop.
ToolResult runToEnd(void (MountToolRun::*start)(const QString&), const QString& target)
{
    MountToolRun run;
    std::optional<ToolResult> result;
    QObject::connect(&run, &MountToolRun::Finished, [&](const ToolResult& r) { result = r; });
    (run.*start)(target);
    EXPECT_TRUE(runEventsUntil([&] { return result.has_value(); }, 30000)) << target.toStdString();
    return result.value_or(ToolResult{});
}

ToolResult mountToEnd(const QString& url) { return runToEnd(&MountToolRun::StartMount, url); }
ToolResult unmountToEnd(const QString& target) { return runToEnd(&MountToolRun::StartUnmount, target); }

TVolume volume(const QString& mountPoint, DriveType type)
{
    return TVolume{mountPoint, QStringLiteral("dev"), QStringLiteral("fs"), type};
}

} // namespace

TEST(NetworkMounts, invalidLocationFailsWithTheToolsOwnErrorText)
{
    if (QStandardPaths::findExecutable(QStringLiteral("gio")).isEmpty())
        GTEST_SKIP() << "gio is not installed";
    const ToolResult result = mountToEnd(QStringLiteral("nonsense://nowhere"));
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.errorText.contains(QStringLiteral("nonsense://nowhere"))) << result.errorText.toStdString();
}

TEST(NetworkMounts, missingToolSaysItIsNotInstalled)
{
    const ToolGuard tool(QStringLiteral("dorvane-no-such-tool"));
    const ToolResult mounted = mountToEnd(QStringLiteral("smb://server/share"));
    EXPECT_FALSE(mounted.ok);
    EXPECT_EQ(mounted.errorText, QStringLiteral("The program dorvane-no-such-tool is not installed."));
    const ToolResult unmounted = unmountToEnd(QStringLiteral("/mnt/share"));
    EXPECT_FALSE(unmounted.ok);
    EXPECT_EQ(unmounted.errorText, mounted.errorText);
}

TEST(NetworkMounts, toolGetsTheLocationAsOneArgumentAndItsFailureTextReachesTheUser)
{
    TempDir dir;
    const ToolGuard tool(makeFakeTool(dir, 2, "gio: smb://srv/my share: Failed to mount\\n"));
    const ToolResult result = unmountToEnd(QStringLiteral("smb://srv/my share"));
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.errorText, QStringLiteral("gio: smb://srv/my share: Failed to mount"));
    EXPECT_EQ(recordedArguments(dir), QStringList({"mount", "-u", "smb://srv/my share"}));

    // A tool that fails without a word still leaves the user a text.
    makeFakeTool(dir, 3);
    EXPECT_FALSE(mountToEnd(QStringLiteral("ftp://host/")).errorText.isEmpty());
}

TEST(NetworkMounts, successfulToolRunIsOk)
{
    TempDir dir;
    const ToolGuard tool(makeFakeTool(dir, 0, "some chatter"));
    const ToolResult result = mountToEnd(QStringLiteral("  sftp://host/path "));
    EXPECT_TRUE(result.ok);
    EXPECT_TRUE(result.errorText.isEmpty());
    EXPECT_EQ(recordedArguments(dir), QStringList({"mount", "sftp://host/path"}));
}

TEST(NetworkMounts, optionLikeOrEmptyLocationIsRefusedWithoutRunningTheTool)
{
    TempDir dir;
    const ToolGuard tool(makeFakeTool(dir, 0));
    for (const char* location : {"-u", "--unmount-scheme=smb", "", "   "}) {
        const ToolResult result = mountToEnd(QLatin1String(location));
        EXPECT_FALSE(result.ok) << location;
        EXPECT_FALSE(result.errorText.isEmpty()) << location;
        EXPECT_FALSE(unmountToEnd(QLatin1String(location)).ok) << location;
    }
    EXPECT_TRUE(recordedArguments(dir).isEmpty());
}

TEST(NetworkMounts, runBlocksTheCallerOrCancelLeavesTheToolRunning)
{
    TempDir dir;
    const QString path = dir.makeFile(QStringLiteral("bin/slowgio"),
                                      "#!/bin/sh\necho $$ > \"$(dirname \"$0\")/pid\"\nexec sleep 60\n");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const ToolGuard tool(path);
    MountToolRun run;
    bool finished = false;
    QObject::connect(&run, &MountToolRun::Finished, [&] { finished = true; });
    run.StartMount(QStringLiteral("smb://slow/share"));
    EXPECT_TRUE(run.IsRunning());
    QFile pidFile(dir.filePath(QStringLiteral("bin/pid")));
    ASSERT_TRUE(runEventsUntil([&] { return pidFile.exists() && pidFile.size() > 0; }));
    ASSERT_TRUE(pidFile.open(QIODevice::ReadOnly));
    const QString proc = QStringLiteral("/proc/") + QString::fromLatin1(pidFile.readAll()).trimmed();
    EXPECT_TRUE(QFile::exists(proc));
    run.Cancel();
    EXPECT_FALSE(run.IsRunning());
    EXPECT_FALSE(QFile::exists(proc)) << "the tool was killed and collected";
    QCoreApplication::processEvents();
    EXPECT_FALSE(finished);
}

TEST(NetworkMounts, connectedDrivesAreRemoteVolumesThenGvfsFoldersOnly)
{
    TempDir runtime;
    runtime.makeDir(QStringLiteral("gvfs/sftp:host=b"));
    runtime.makeDir(QStringLiteral("gvfs/smb-share:server=a,share=x"));
    runtime.makeFile(QStringLiteral("gvfs/stray-file"));
    const EnvGuard env("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());

    const QVector<TVolume> volumes = {volume("/", DriveType::Fixed), volume("/mnt/nfs", DriveType::Remote),
                                      volume("/media/usb", DriveType::Removable),
                                      volume("/mnt/cifs", DriveType::Remote), volume("/tmp", DriveType::RamDisk)};
    EXPECT_EQ(NetworkMountPoints(volumes),
              QStringList({"/mnt/nfs", "/mnt/cifs", runtime.filePath("gvfs/sftp:host=b"),
                           runtime.filePath("gvfs/smb-share:server=a,share=x")}));

    TempDir noGvfs;
    const EnvGuard bare("XDG_RUNTIME_DIR", noGvfs.path().toLocal8Bit());
    EXPECT_EQ(NetworkMountPoints(volumes), QStringList({"/mnt/nfs", "/mnt/cifs"}));
}
