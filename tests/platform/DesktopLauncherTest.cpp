// Desktop entries, default applications and launching: Exec lines become the exact
// argument vectors their authors meant or are refused, the default is found in the
// XDG order, and Open starts a real child that the caller can wait for.
#include "platform/DefaultApplication.h"
#include "platform/DesktopEntry.h"
#include "platform/DesktopLauncher.h"
#include "platform/FileNames.h"

#include "QtPrinters.h"
#include "support/TempDir.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <optional>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Private XDG folders for one test; the MIME database stays reachable through a link.
// The variables it or the test changes are put back for tests run in the same process.
struct XdgSandbox {
    TempDir dir;
    QList<std::pair<const char*, std::optional<QByteArray>>> saved;

    XdgSandbox()
    {
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_CONFIG_DIRS", "XDG_DATA_HOME", "XDG_DATA_DIRS",
                                 "XDG_CURRENT_DESKTOP", "PATH", "LC_ALL"})
            saved.append({name, qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt});
        qputenv("XDG_CONFIG_HOME", EncodeFileName(dir.makeDir(QStringLiteral("config"))));
        qputenv("XDG_CONFIG_DIRS", EncodeFileName(dir.makeDir(QStringLiteral("etc"))));
        qputenv("XDG_DATA_HOME", EncodeFileName(dir.makeDir(QStringLiteral("data"))));
        qputenv("XDG_DATA_DIRS", EncodeFileName(dir.makeDir(QStringLiteral("share"))));
        qunsetenv("XDG_CURRENT_DESKTOP");
        QFile::link(QStringLiteral("/usr/share/mime"), dir.filePath(QStringLiteral("share/mime")));
    }

    ~XdgSandbox()
    {
        for (const auto& [name, value] : saved)
            value ? qputenv(name, *value) : qunsetenv(name);
    }

    void write(const QString& relative, const QByteArray& text) { dir.makeFile(relative, text); }

    void addApplication(const QString& relative, const QByteArray& exec, const QByteArray& more = {})
    {
        write(relative, "[Desktop Entry]\nType=Application\nName=App\nExec=" + exec + "\n" + more);
    }

    void setDefault(const QString& mimeapps, const QByteArray& type, const QByteArray& ids)
    {
        write(mimeapps, "[Default Applications]\n" + type + "=" + ids + "\n");
    }

    // A script that writes its working folder and its arguments, one a line, to NAME.out.
    QString addRecorder(const QString& name)
    {
        const QString script = dir.makeFile(name, "#!/bin/sh\nprintf '%s\\n' \"$(pwd -P)\" \"$@\" > \"$0.out\"\n");
        QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return script;
    }
};

QStringList arguments(const QByteArray& exec, const QStringList& files)
{
    DesktopEntry entry;
    entry.Exec = QString::fromUtf8(exec);
    entry.Name = QStringLiteral("My App");
    entry.Icon = QStringLiteral("my-icon");
    entry.FilePath = QStringLiteral("/apps/my.desktop");
    QString error;
    const QStringList result = entry.Arguments(files, &error);
    EXPECT_EQ(result.isEmpty(), !error.isEmpty()) << error.toStdString();
    return result;
}

int exitCodeOf(pid_t pid)
{
    int status = 0;
    const QDeadlineTimer deadline(10000);
    while (::waitpid(pid, &status, WNOHANG) == 0 && !deadline.hasExpired())
        QThread::msleep(10);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

QByteArray contentOf(const QString& file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QByteArray canonical(const QString& folder) { return QFileInfo(folder).canonicalFilePath().toUtf8(); }

} // namespace

TEST(DesktopEntry, readsItsOwnGroupTolerantlyAndInTheUsersLanguage)
{
    XdgSandbox xdg;
    qputenv("LC_ALL", "de_DE.UTF-8");
    xdg.write(QStringLiteral("e.desktop"), "# note\r\n[Desktop Action x]\r\nExec=other\r\n[Desktop Entry]\r\n"
                                           "not a key\r\nName = Viewer\r\nName[de]=Betrachter\r\n"
                                           "Exec=view\\sit %f\r\nExec=second\r\nTerminal=true\r\n");
    const std::optional<DesktopEntry> entry = DesktopEntry::Load(xdg.dir.filePath(QStringLiteral("e.desktop")));
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->Name, QStringLiteral("Betrachter"));
    EXPECT_EQ(entry->Exec, QStringLiteral("view it %f"));
    EXPECT_TRUE(entry->Terminal);
    EXPECT_FALSE(entry->Hidden);
    EXPECT_FALSE(DesktopEntry::Load(xdg.dir.filePath(QStringLiteral("missing.desktop"))));
}

TEST(DesktopExec, quotingAndEscapesGiveExactArguments)
{
    XdgSandbox xdg;
    // As written in the file: value escapes first (\\\\ -> \\), then the quoting rules.
    xdg.addApplication(QStringLiteral("q.desktop"), R"("/opt/my app/run" "say \"hi\" \$HOME \`x\` \\\\" plain "")");
    const std::optional<DesktopEntry> entry = DesktopEntry::Load(xdg.dir.filePath(QStringLiteral("q.desktop")));
    ASSERT_TRUE(entry);
    QString error;
    EXPECT_EQ(entry->Arguments({QStringLiteral("/f")}, &error),
              (QStringList{"/opt/my app/run", R"(say "hi" $HOME `x` \)", "plain", "", "/f"}));
}

TEST(DesktopExec, fieldCodesExpandByKind)
{
    const QStringList two{QStringLiteral("/a b"), QStringLiteral("/c")};
    EXPECT_EQ(arguments("app %f --name=%c %k %i 100%% %d %m", two),
              (QStringList{"app", "/a b", "--name=My App", "/apps/my.desktop", "--icon", "my-icon", "100%"}));
    EXPECT_EQ(arguments("app %F", two), (QStringList{"app", "/a b", "/c"}));
    EXPECT_EQ(arguments("app %u", two), (QStringList{"app", "/a b"}));
    EXPECT_EQ(arguments("app %U --x", {}), (QStringList{"app", "--x"}));
}

TEST(DesktopExec, withoutFileCodeTheFilesAreAppended)
{
    EXPECT_EQ(arguments("app --new", {QStringLiteral("/a")}), (QStringList{"app", "--new", "/a"}));
    // Only after the entry's own words: a file never becomes the program.
    EXPECT_TRUE(arguments("%d", {QStringLiteral("/a")}).isEmpty());
}

TEST(DesktopExec, brokenCommandLinesAreRefused)
{
    for (const char* exec : {"app \"unclosed", "app $HOME", "app 'a b'", "app \"a\"b", "app \"\\q\"", "app %x",
                             "app %f %u", "app --file=%F", "app 50%", ""})
        EXPECT_TRUE(arguments(exec, {QStringLiteral("/a")}).isEmpty()) << exec;
}

TEST(DefaultApplication, userConfigBeatsDataAndDesktopSpecificFileComesFirst)
{
    XdgSandbox xdg;
    for (const char* id : {"a.desktop", "b.desktop", "c.desktop"})
        xdg.addApplication(QStringLiteral("share/applications/") + QLatin1String(id), "true");
    xdg.setDefault(QStringLiteral("share/applications/mimeapps.list"), "text/plain", "b.desktop");
    xdg.setDefault(QStringLiteral("share/applications/kde-mimeapps.list"), "text/plain", "b.desktop");
    xdg.setDefault(QStringLiteral("config/mimeapps.list"), "text/plain", "a.desktop");
    qputenv("XDG_CURRENT_DESKTOP", "KDE");
    EXPECT_EQ(DefaultApplication::For(QStringLiteral("text/plain")), QStringLiteral("a.desktop"));
    xdg.setDefault(QStringLiteral("config/kde-mimeapps.list"), "text/plain", "c.desktop");
    EXPECT_EQ(DefaultApplication::For(QStringLiteral("text/plain")), QStringLiteral("c.desktop"));
}

TEST(DefaultApplication, firstInstalledIdOfTheListWins)
{
    XdgSandbox xdg;
    xdg.addApplication(QStringLiteral("data/applications/hidden.desktop"), "true", "Hidden=true\n");
    xdg.addApplication(QStringLiteral("share/applications/kde/foo.desktop"), "true");
    xdg.addApplication(QStringLiteral("share/applications/a.desktop"), "true");
    xdg.setDefault(QStringLiteral("config/mimeapps.list"), "text/plain",
                   "gone.desktop;hidden.desktop;kde-foo.desktop;a.desktop;");
    EXPECT_EQ(DefaultApplication::For(QStringLiteral("text/plain")), QStringLiteral("kde-foo.desktop"));
    EXPECT_EQ(DefaultApplication::LocateEntry(QStringLiteral("kde-foo.desktop")),
              xdg.dir.filePath(QStringLiteral("share/applications/kde/foo.desktop")));
}

TEST(DefaultApplication, removedAssociationSkipsCacheEntry)
{
    XdgSandbox xdg;
    xdg.addApplication(QStringLiteral("share/applications/x.desktop"), "true");
    xdg.addApplication(QStringLiteral("share/applications/y.desktop"), "true");
    xdg.write(QStringLiteral("share/applications/mimeinfo.cache"), "[MIME Cache]\ntext/plain=x.desktop;y.desktop;\n");
    EXPECT_EQ(DefaultApplication::For(QStringLiteral("text/plain")), QStringLiteral("x.desktop"));
    xdg.write(QStringLiteral("config/mimeapps.list"), "[Removed Associations]\ntext/plain=x.desktop;\n");
    EXPECT_EQ(DefaultApplication::For(QStringLiteral("text/plain")), QStringLiteral("y.desktop"));
}

TEST(DefaultApplication, parentTypeLendsItsApplicationButOctetStreamDoesNot)
{
    XdgSandbox xdg;
    xdg.addApplication(QStringLiteral("share/applications/edit.desktop"), "true");
    xdg.addApplication(QStringLiteral("share/applications/hex.desktop"), "true");
    xdg.write(QStringLiteral("config/mimeapps.list"),
              "[Default Applications]\ntext/plain=edit.desktop\napplication/octet-stream=hex.desktop\n");
    EXPECT_EQ(DefaultApplication::For(QStringLiteral("text/x-csrc")), QStringLiteral("edit.desktop"));
    EXPECT_EQ(DefaultApplication::For(QStringLiteral("image/png")), QString());
}

TEST(DesktopLauncher, startsTheDefaultApplicationAsChildWithTheExactFile)
{
    XdgSandbox xdg;
    const QString recorder = xdg.addRecorder(QStringLiteral("bin/rec"));
    xdg.addApplication(QStringLiteral("data/applications/rec.desktop"), "\"" + recorder.toUtf8() + "\" %f");
    xdg.setDefault(QStringLiteral("config/mimeapps.list"), "text/plain", "rec.desktop");
    const QString work = xdg.dir.makeDir(QStringLiteral("work"));
    // Latin-1 bytes, a space and a quote: none of it may be changed on the way.
    const QByteArray file = EncodeFileName(xdg.dir.path()) + "/caf\xe9 \"x\".txt";
    ::close(::open(file.constData(), O_CREAT | O_WRONLY, 0644));

    const LaunchResult result = DesktopLauncher::Open(DecodeFileName(file), work);
    ASSERT_TRUE(result.Started()) << result.Error.toStdString();
    EXPECT_EQ(exitCodeOf(result.Pid), 0);
    EXPECT_EQ(contentOf(recorder + QStringLiteral(".out")), canonical(work) + "\n" + file + "\n");
    ::unlink(file.constData());   // QTemporaryDir cannot remove a name that is not UTF-8
}

TEST(DesktopLauncher, executableScriptRunsItselfButAnExecuteBitAloneDoesNot)
{
    XdgSandbox xdg;
    const QString script = xdg.addRecorder(QStringLiteral("tool.sh"));
    const LaunchResult result = DesktopLauncher::Open(script, xdg.dir.path());
    ASSERT_TRUE(result.Started()) << result.Error.toStdString();
    EXPECT_EQ(exitCodeOf(result.Pid), 0);
    EXPECT_EQ(contentOf(script + QStringLiteral(".out")), canonical(xdg.dir.path()) + "\n");

    const QString data = xdg.dir.makeFile(QStringLiteral("notes.txt"), "echo hi\n");
    QFile::setPermissions(data, QFile::ReadOwner | QFile::ExeOwner);
    EXPECT_FALSE(DesktopLauncher::Open(data, xdg.dir.path()).Started());
}

TEST(DesktopLauncher, missingProgramGivesWayToTheNextApplication)
{
    XdgSandbox xdg;
    const QString recorder = xdg.addRecorder(QStringLiteral("bin/rec"));
    xdg.addApplication(QStringLiteral("data/applications/gone.desktop"), "/no/such/viewer %f");
    xdg.addApplication(QStringLiteral("data/applications/try.desktop"), "\"" + recorder.toUtf8() + "\"",
                       "TryExec=no-such-viewer\n");
    xdg.addApplication(QStringLiteral("data/applications/rec.desktop"), "\"" + recorder.toUtf8() + "\" %U");
    const QString file = xdg.dir.makeFile(QStringLiteral("a.txt"));

    xdg.setDefault(QStringLiteral("config/mimeapps.list"), "text/plain", "gone.desktop;try.desktop");
    const LaunchResult refused = DesktopLauncher::Open(file, xdg.dir.path());
    EXPECT_EQ(refused.Pid, -1);
    EXPECT_TRUE(refused.Error.contains(QStringLiteral("/no/such/viewer"))) << refused.Error.toStdString();

    xdg.setDefault(QStringLiteral("config/mimeapps.list"), "text/plain", "gone.desktop;try.desktop;rec.desktop");
    const LaunchResult result = DesktopLauncher::Open(file, xdg.dir.path());
    ASSERT_TRUE(result.Started()) << result.Error.toStdString();
    EXPECT_EQ(exitCodeOf(result.Pid), 0);
    EXPECT_TRUE(contentOf(recorder + QStringLiteral(".out")).endsWith("\n" + file.toUtf8() + "\n"));
}

TEST(DesktopLauncher, noApplicationStartsNothingAndSaysForWhichType)
{
    XdgSandbox xdg;
    const QString recorder = xdg.addRecorder(QStringLiteral("bin/rec"));
    xdg.addApplication(QStringLiteral("data/applications/rec.desktop"), "\"" + recorder.toUtf8() + "\" %f");
    xdg.setDefault(QStringLiteral("config/mimeapps.list"), "image/png", "rec.desktop");
    const LaunchResult result = DesktopLauncher::Open(xdg.dir.makeFile(QStringLiteral("a.txt")), xdg.dir.path());
    EXPECT_EQ(result.Pid, -1);
    EXPECT_TRUE(result.Error.contains(QStringLiteral("\"text/plain\""))) << result.Error.toStdString();
    EXPECT_FALSE(QFile::exists(recorder + QStringLiteral(".out")));
}

TEST(DesktopLauncher, terminalEntryRunsInsideTheTerminalEmulatorOrIsRefused)
{
    XdgSandbox xdg;
    const QString terminal = xdg.addRecorder(QStringLiteral("bin/x-terminal-emulator"));
    qputenv("PATH", EncodeFileName(xdg.dir.filePath(QStringLiteral("bin"))));
    xdg.addApplication(QStringLiteral("data/applications/vi.desktop"), "/bin/true %f", "Terminal=true\n");
    xdg.setDefault(QStringLiteral("config/mimeapps.list"), "text/plain", "vi.desktop");
    const QString file = xdg.dir.makeFile(QStringLiteral("a.txt"));

    const LaunchResult result = DesktopLauncher::Open(file, xdg.dir.path());
    ASSERT_TRUE(result.Started()) << result.Error.toStdString();
    EXPECT_EQ(exitCodeOf(result.Pid), 0);
    EXPECT_TRUE(contentOf(terminal + QStringLiteral(".out")).endsWith("\n-e\n/bin/true\n" + file.toUtf8() + "\n"));

    QFile::remove(terminal);
    const LaunchResult refused = DesktopLauncher::Open(file, xdg.dir.path());
    EXPECT_EQ(refused.Pid, -1);
    EXPECT_TRUE(refused.Error.contains(QStringLiteral("x-terminal-emulator"))) << refused.Error.toStdString();
}

TEST(DesktopLauncher, folderGoesToXdgOpenAsAChild)
{
    XdgSandbox xdg;
    const QString opener = xdg.addRecorder(QStringLiteral("bin/xdg-open"));
    qputenv("PATH", EncodeFileName(xdg.dir.filePath(QStringLiteral("bin"))));
    const QString folder = xdg.dir.makeDir(QStringLiteral("my folder"));
    const LaunchResult result = DesktopLauncher::Open(folder, xdg.dir.path());
    ASSERT_TRUE(result.Started()) << result.Error.toStdString();
    EXPECT_EQ(exitCodeOf(result.Pid), 0);
    EXPECT_TRUE(contentOf(opener + QStringLiteral(".out")).endsWith("\n" + folder.toUtf8() + "\n"));
}
