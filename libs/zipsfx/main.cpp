// The self-extractor stub: finds the settings block and the archive appended to its
// own program file, asks what the settings let the user choose, extracts and runs the
// stored command line. Usage: <program> [folder]
#include "PosixIo.h"
#include "SfxArchive.h"
#include "SfxBlock.h"
#include "SfxExtractor.h"
#include "Terminal.h"
#include "UniqueFd.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <iostream>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int kAllExtracted = 0;
constexpr int kSomeFailed = 1;
constexpr int kCannotStart = 2;
const std::string kTemporaryFolder = "><";

int fail(const std::string& why)
{
    std::cerr << "Cannot extract: " << why << '\n';
    return kCannotStart;
}

uint64_t fileSize(int fd)
{
    struct stat info {};
    return ::fstat(fd, &info) == 0 && info.st_size > 0 ? uint64_t(info.st_size) : 0;
}

std::string shellQuoted(const std::string& text)
{
    if (text.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789/._-+") ==
        std::string::npos)
        return text;
    std::string quoted = "'";
    for (const char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string replaced(std::string text, const std::string& what, const std::string& with)
{
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size()))
        text.replace(at, what.size(), with);
    return text;
}

// The folder the user is offered first: the argument, else the stored default.
std::string chosenFolder(const SfxOptions& options, int argc, char** argv)
{
    if (argc > 1)
        return argv[1];
    if (options.AutoRun())
        return options.DefaultDir;
    const std::string shown = options.DefaultDir == kTemporaryFolder ? "a new temporary folder"
                              : options.DefaultDir.empty()            ? "the current folder"
                                                                      : options.DefaultDir;
    const std::string answer = Terminal::Ask("Extract to " + shown + "? (Enter = yes, or type a folder): ", "");
    return answer.empty() ? options.DefaultDir : answer;
}

bool makeFolders(const std::string& path)
{
    for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string prefix = path.substr(0, slash);
        if (::mkdir(prefix.c_str(), 0755) != 0 && errno != EEXIST)
            return false;
        if (slash == std::string::npos)
            return true;
    }
}

std::string preparedFolder(const std::string& wanted)
{
    if (wanted.empty())
        return ".";
    if (wanted == kTemporaryFolder) {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/sfx-XXXXXX";
        return ::mkdtemp(pattern.data()) ? pattern : std::string();
    }
    return makeFolders(wanted) ? wanted : std::string();
}

SfxOptions::Overwrite chosenOverwrite(const SfxOptions& options)
{
    const SfxOptions::Overwrite stored = options.OverwriteMode();
    if (options.HideOverwriteBox())
        return stored;
    const std::string answer =
        Terminal::Ask("Existing files: [c]onfirm each, [a]lways replace, [n]ever replace (Enter = as set): ", "");
    if (answer == "c")
        return SfxOptions::Overwrite::Ask;
    if (answer == "a")
        return SfxOptions::Overwrite::Always;
    return answer == "n" ? SfxOptions::Overwrite::Never : stored;
}

std::vector<bool> chosenMembers(const SfxOptions& options, const std::vector<SfxMember>& members)
{
    std::vector<bool> chosen(members.size(), true);
    if (!options.AskFiles() || !Terminal::Interactive())
        return chosen;
    for (size_t i = 0; i < members.size(); ++i)
        std::cout << "  " << i + 1 << "  " << members[i].Name << '\n';
    std::istringstream numbers(Terminal::Ask("Numbers of the files to leave out (Enter = extract all): ", ""));
    for (size_t number = 0; numbers >> number;)
        if (number >= 1 && number <= members.size())
            chosen[number - 1] = false;
    return chosen;
}

std::string chosenCommandLine(const SfxOptions& options)
{
    if (!options.AskCmdLine() || options.CommandLine.empty())
        return options.CommandLine;
    std::cout << "After extracting, this runs: " << options.CommandLine << '\n';
    const std::string answer = Terminal::Ask("Enter = run it, '-' = run nothing, or type another: ", "");
    return answer.empty() ? options.CommandLine : answer == "-" ? std::string() : answer;
}

void runCommand(const std::string& commandLine, const std::string& folder)
{
    const std::string command = replaced(commandLine, kTemporaryFolder, shellQuoted(folder));
    const pid_t child = ::fork();
    if (child == 0) {
        if (::chdir(folder.c_str()) == 0)
            ::execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        std::cerr << "The command \"" << command << "\" failed.\n";
}

int extract(int program, const SfxLayout& layout, int argc, char** argv)
{
    const SfxOptions& options = layout.Options;
    SfxArchive archive;
    if (!archive.Open(program, layout.ArchiveOffset, fileSize(program), options.CheckSize()))
        return fail(archive.Error());
    const std::string folder = preparedFolder(chosenFolder(options, argc, argv));
    const UniqueFd destination(folder.empty() ? -1 : ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!destination.valid())
        return fail("the folder to extract to cannot be made");
    const SfxOptions::Overwrite overwrite = chosenOverwrite(options);
    const std::vector<bool> chosen = chosenMembers(options, archive.Members());
    const std::string commandLine = chosenCommandLine(options);

    std::cout << "Extracting to " << folder << '\n';
    const SfxExtractor::Outcome outcome = SfxExtractor(program, archive, destination.get(), overwrite).Run(chosen);
    if (outcome.Failed > 0) {
        std::cerr << outcome.Failed << " file(s) not extracted.\n";
        return kSomeFailed;
    }
    if (!options.NoSuccessMessage())
        std::cout << outcome.Extracted << " file(s) extracted to " << folder << ".\n";
    // Only a whole extraction is worth running a setup command on.
    if (!commandLine.empty())
        runCommand(commandLine, folder);
    return kAllExtracted;
}

} // namespace

int main(int argc, char** argv)
{
    const UniqueFd program(::open("/proc/self/exe", O_RDONLY | O_CLOEXEC));
    if (!program.valid())
        return fail("the program file cannot be read");
    const SfxBlock::ReadAt read = [&program](uint64_t offset, void* to, size_t count) {
        return PosixIo::ReadExactly(program.get(), offset, to, count);
    };
    const std::optional<SfxLayout> layout = SfxBlock::Locate(read, fileSize(program.get()));
    if (!layout)
        return fail("this program carries no archive");
    if (!layout->Options.Caption.empty())
        std::cout << layout->Options.Caption << '\n';
    if (!layout->Options.Message.empty())
        std::cout << layout->Options.Message << '\n';
    return extract(program.get(), *layout, argc, argv);
}
