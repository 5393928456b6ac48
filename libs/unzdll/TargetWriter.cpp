#include "TargetWriter.h"

#include "MemberPath.h"
#include "OutcomeReport.h"
#include "TempFile.h"

#include "platform/doors/SourceRemoval.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char kChangedMeanwhile[] = "the file in its place changed meanwhile, so it was kept";

std::string ParentOf(const std::string& relative)
{
    const size_t slash = relative.rfind('/');
    return slash == std::string::npos ? std::string() : relative.substr(0, slash);
}

std::string LeafOf(const std::string& relative)
{
    const size_t slash = relative.rfind('/');
    return slash == std::string::npos ? relative : relative.substr(slash + 1);
}

std::string WalkFailure(int error)
{
    if (error == ELOOP || error == ENOTDIR)
        return "a symbolic link or a file stands where a folder is needed";
    return std::strerror(error);
}

} // namespace

TargetWriter::TargetWriter(const UnzExtractCommand& command, DllCallback& callback, MemberReader& reader,
                           int baseFolder)
    : m_command(command), m_callback(callback), m_reader(reader), m_walker(baseFolder)
{
}

bool TargetWriter::makeFolder(const MemberInfo& member, const std::string& relative)
{
    if (m_walker.open(relative, member.mode) < 0) {
        ReportWriteFailure(m_callback, member.name, WalkFailure(errno));
        return false;
    }
    return true;
}

bool TargetWriter::writeFile(const MemberInfo& member, const std::string& relative)
{
    m_callback.send(ZCB_NEW_FILE, 0, int64_t(member.size), member.name);
    const int folder = folderFor(member, relative);
    if (folder < 0)
        return false;
    const std::string leaf = LeafOf(relative);
    const Existing found = existing(folder, leaf, member, relative);
    if (found == Existing::Keep)
        return false;
    TempFile file(folder, leaf, member.mode, m_leftovers.mayHave(folder, ParentOf(relative), leaf));
    if (!file.valid()) {
        ReportWriteFailure(m_callback, member.name, std::strerror(file.error()));
        return false;
    }
    const ReadOutcome outcome =
        m_reader.read(member, [&file](const char* data, size_t size) { return file.write(data, size); });
    if (outcome != ReadOutcome::Ok) {
        ReportOutcome(m_callback, outcome, member,
                      outcome == ReadOutcome::SinkFailed ? std::strerror(file.error()) : m_reader.reason());
        return false;
    }
    // A new file needs no flush of its own: the whole run is flushed at its end.
    if (!file.commit(member.mtime, found == Existing::Replace, m_found)) {
        ReportWriteFailure(m_callback, member.name,
                           file.changed() ? kChangedMeanwhile : std::strerror(file.error()));
        return false;
    }
    return true;
}

bool TargetWriter::makeLink(const MemberInfo& member, const std::string& relative, const std::string& target)
{
    if (!MemberPath::LinkStaysInside(relative, target)) {
        ReportUnsafe(m_callback, member.name, "it is a link to \"" + target + "\", outside the target folder");
        return false;
    }
    const int folder = folderFor(member, relative);
    if (folder < 0)
        return false;
    const std::string leaf = LeafOf(relative);
    const Existing found = existing(folder, leaf, member, relative);
    if (found == Existing::Keep)
        return false;
    if (found == Existing::Replace && !removeReplaced(folder, leaf, member))
        return false;
    if (::symlinkat(target.c_str(), folder, leaf.c_str()) != 0) {
        ReportWriteFailure(m_callback, member.name, std::strerror(errno));
        return false;
    }
    const timespec times[2] = {{0, UTIME_OMIT}, {member.mtime, 0}};
    ::utimensat(folder, leaf.c_str(), times, AT_SYMLINK_NOFOLLOW);
    return true;
}

// A link cannot be renamed over a file as a new file's content is: the file goes first,
// and only while it is still the one the caller agreed to replace.
bool TargetWriter::removeReplaced(int folder, const std::string& leaf, const MemberInfo& member)
{
    const SourceRemoval::Status status = SourceRemoval::Remove(folder, leaf, m_found);
    if (status == SourceRemoval::Status::Removed || status == SourceRemoval::Status::Gone)
        return true;
    ReportWriteFailure(m_callback, member.name,
                       status == SourceRemoval::Status::Changed ? kChangedMeanwhile : std::strerror(errno));
    return false;
}

int TargetWriter::folderFor(const MemberInfo& member, const std::string& relative)
{
    const int folder = m_walker.open(ParentOf(relative));
    if (folder < 0)
        ReportWriteFailure(m_callback, member.name, WalkFailure(errno));
    return folder;
}

TargetWriter::Existing TargetWriter::existing(int folder, const std::string& leaf, const MemberInfo& member,
                                              const std::string& relative)
{
    const bool update = m_command.Update != 0;
    const bool freshen = m_command.Freshen != 0 && !update;
    struct stat found {};
    const bool present = ::fstatat(folder, leaf.c_str(), &found, AT_SYMLINK_NOFOLLOW) == 0;
    m_found = present ? FileIdentity::Of(found) : FileIdentity{};
    if (!present) {
        if (!freshen)
            return Existing::Absent;
        if (m_command.Verbose != 0)
            m_callback.message(ZMC_INFO, "\"" + relative + "\" is not there to be freshened.");
        return Existing::Keep;
    }
    if (S_ISDIR(found.st_mode)) {
        ReportWriteFailure(m_callback, member.name, "a folder of that name is in the way");
        return Existing::Keep;
    }
    if (update || freshen) {
        // Zip times have two-second steps.
        if (member.mtime > (found.st_mtime & ~time_t(1)))
            return Existing::Replace;
        m_callback.send(ZCB_SKIPPED, ZSK_NOT_NEWER, 0, member.name);
        return Existing::Keep;
    }
    if (m_command.Overwrite != 0)
        return Existing::Replace;
    return askToReplace(member, relative);
}

TargetWriter::Existing TargetWriter::askToReplace(const MemberInfo& member, const std::string& relative)
{
    m_callback.send(ZCB_OVERWRITE, 0, 0, relative);
    if (m_callback.present() && m_callback.answerCode() == 1 && !m_callback.stopped())
        return Existing::Replace;
    m_callback.send(ZCB_SKIPPED, ZSK_EXISTS, 0, member.name);
    return Existing::Keep;
}
