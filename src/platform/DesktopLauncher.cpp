// Launching (see DesktopLauncher.h). posix_spawn rather than QProcess: the child must
// stay ours to waitpid() on after this call returns, must not be reaped by Qt, and its
// arguments must be file names as bytes, not text.
#include "platform/DesktopLauncher.h"
#include "platform/DefaultApplication.h"
#include "platform/DesktopEntry.h"
#include "platform/FileNames.h"
#include "platform/FileOpSysCalls.h"
#include "platform/ProgramPath.h"

#include <QFile>
#include <QMimeDatabase>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

struct Command {
    QString Program;
    QStringList Arguments;   // argv, the program's name first
};

LaunchResult failure(const QString& text) { return {-1, text}; }

// The child works in another folder, so a relative name would miss the file.
QString absolutePath(const QString& path)
{
    if (path.startsWith(u'/'))
        return path;
    char* cwd = ::getcwd(nullptr, 0);
    const QString folder = cwd ? DecodeFileName(QByteArray(cwd)) : QString();
    ::free(cwd);
    return folder + u'/' + path;
}

bool startsAsProgram(const QByteArray& file)
{
    const int fd = ::open(file.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return false;
    char start[4] = {};
    const ssize_t length = ::read(fd, start, sizeof start);
    ::close(fd);
    const QByteArray bytes(start, length > 0 ? length : 0);
    return bytes.startsWith("\x7f" "ELF") || bytes.startsWith("#!");
}

bool runsItself(const QByteArray& file, const struct stat& status)
{
    return S_ISREG(status.st_mode) && ::access(file.constData(), X_OK) == 0 && startsAsProgram(file);
}

// QMimeDatabase::mimeTypeForFile would open the file by a UTF-8 name; this opens it by
// its bytes and asks the same question (name first, content when the name says nothing).
// Only a regular file is read: opening a FIFO would wait for a writer.
QMimeType mimeTypeOf(const QString& path, const QByteArray& file, const struct stat& status)
{
    const QMimeDatabase database;
    const QString name = path.mid(path.lastIndexOf(u'/') + 1);
    QFile device;
    const int fd = S_ISREG(status.st_mode) ? ::open(file.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY) : -1;
    if (fd < 0 || !device.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        if (fd >= 0)
            ::close(fd);
        return database.mimeTypeForFile(name, QMimeDatabase::MatchExtension);
    }
    return database.mimeTypeForFileNameAndData(name, &device);
}

LaunchResult spawn(const Command& command, const QString& workingDir)
{
    const QByteArray program = EncodeFileName(command.Program);
    const QByteArray folder = EncodeFileName(workingDir);
    QList<QByteArray> arguments;
    std::vector<char*> argv;
    for (const QString& argument : command.Arguments)
        arguments << EncodeFileName(argument);
    for (QByteArray& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    if (!folder.isEmpty())
        posix_spawn_file_actions_addchdir_np(&actions, folder.constData());
    // The program starts with no signal blocked or ignored, whatever this process set.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigset_t all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    pid_t pid = -1;
    const int error = posix_spawn(&pid, program.constData(), &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0)
        return failure(DesktopLauncher::tr("The program %1 cannot be started: %2")
                           .arg(DisplayFileName(command.Program), SystemErrorText(error)));
    return {pid, QString()};
}

std::optional<Command> inTerminal(const QString& name, const QStringList& arguments, QString* error)
{
    const QString terminal = ResolveProgram(QStringLiteral("x-terminal-emulator"));
    if (terminal.isEmpty()) {
        *error = DesktopLauncher::tr("%1 runs in a terminal, and no terminal program (x-terminal-emulator) is installed.")
                     .arg(name);
        return std::nullopt;
    }
    return Command{terminal, QStringList{terminal, QStringLiteral("-e")} + arguments};
}

std::optional<Command> applicationCommand(const QString& id, const QString& file, QString* error)
{
    const QString entryFile = DefaultApplication::LocateEntry(id);
    const std::optional<DesktopEntry> entry = DesktopEntry::Load(entryFile);
    if (!entry) {
        *error = DesktopLauncher::tr("The application entry %1 cannot be read.").arg(entryFile.isEmpty() ? id : entryFile);
        return std::nullopt;
    }
    const QString name = entry->Name.isEmpty() ? id : entry->Name;
    QString why;
    QStringList arguments = entry->Arguments({file}, &why);
    if (arguments.isEmpty()) {
        *error = DesktopLauncher::tr("%1 cannot be started: its command line is broken (%2).").arg(name, why);
        return std::nullopt;
    }
    const QString program = ResolveProgram(arguments.first());
    const bool tryExecMissing = !entry->TryExec.isEmpty() && ResolveProgram(entry->TryExec).isEmpty();
    if (program.isEmpty() || tryExecMissing) {
        *error = DesktopLauncher::tr("The program %1 of %2 is not installed.")
                     .arg(tryExecMissing ? entry->TryExec : arguments.first(), name);
        return std::nullopt;
    }
    arguments.first() = program;
    if (entry->Terminal)
        return inTerminal(name, arguments, error);
    return Command{program, arguments};
}

LaunchResult openWithApplication(const QString& file, const QString& mimeType, const QString& workingDir)
{
    const QStringList ids = DefaultApplication::Candidates(mimeType);
    if (ids.isEmpty())
        return failure(DesktopLauncher::tr("There is no application for the type \"%1\".").arg(mimeType));
    // The default's own trouble is what the user needs to hear when no other one starts.
    QString firstError;
    for (const QString& id : ids) {
        QString error;
        if (const std::optional<Command> command = applicationCommand(id, file, &error))
            return spawn(*command, workingDir);
        if (firstError.isEmpty())
            firstError = error;
    }
    return failure(firstError);
}

LaunchResult openFolder(const QString& folder, const QString& workingDir)
{
    const QString opener = ResolveProgram(QStringLiteral("xdg-open"));
    if (opener.isEmpty())
        return failure(DesktopLauncher::tr("The program %1 is not installed.").arg(QStringLiteral("xdg-open")));
    return spawn({opener, {opener, folder}}, workingDir);
}

} // namespace

LaunchResult DesktopLauncher::Open(const QString& path, const QString& workingDir)
{
    struct stat status;
    const QByteArray folder = EncodeFileName(workingDir);
    if (!workingDir.isEmpty() && (::stat(folder.constData(), &status) != 0 || !S_ISDIR(status.st_mode)))
        return failure(tr("The working folder %1 does not exist.").arg(DisplayFileName(workingDir)));
    const QString file = absolutePath(path);
    const QByteArray bytes = EncodeFileName(file);
    if (path.isEmpty() || ::stat(bytes.constData(), &status) != 0) {
        const int error = path.isEmpty() ? ENOENT : errno;
        return failure(tr("%1 cannot be opened: %2").arg(DisplayFileName(file), SystemErrorText(error)));
    }
    if (S_ISDIR(status.st_mode))
        return openFolder(file, workingDir);
    if (runsItself(bytes, status))
        return spawn({file, {file}}, workingDir);
    return openWithApplication(file, mimeTypeOf(file, bytes, status).name(), workingDir);
}
