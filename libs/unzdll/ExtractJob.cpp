#include "ExtractJob.h"

#include "MemberPath.h"
#include "OutcomeReport.h"
#include "TargetWriter.h"
#include "UniqueFd.h"
#include "Wildcard.h"

#include "platform/doors/SourceRemoval.h"
#include "platform/doors/UntrustedFile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>

namespace {

std::string Slashed(std::string text)
{
    std::replace(text.begin(), text.end(), '\\', '/');
    return text;
}

} // namespace

ExtractJob::ExtractJob(UnzExtractCommand& command, DllCallback& callback)
    : m_command(command), m_callback(callback), m_archivePath(command.ZipFileName),
      m_passwords(command.Password, command.PasswordRequestCount, callback)
{
}

ExtractJob::~ExtractJob()
{
    if (m_archive)
        zip_discard(m_archive);
}

int32_t ExtractJob::run()
{
    // Whatever the name says, only a regular file is opened: a FIFO named ".zip" must
    // not hang the caller.
    UntrustedFile file = UntrustedFile::Open(m_archivePath);
    if (!file.Ok()) {
        m_callback.message(ZMC_FAILED, file.Explain(m_archivePath));
        return finish(0);
    }
    int error = 0;
    m_archive = zip_fdopen(file.Fd(), ZIP_RDONLY, &error);
    if (!m_archive) {
        zip_error_t reason;
        zip_error_init_with_code(&reason, error);
        m_callback.message(ZMC_FAILED, "Cannot open \"" + m_archivePath + "\": " + zip_error_strerror(&reason));
        zip_error_fini(&reason);
        return finish(0);
    }
    file.Release();   // libzip closed it, having taken a copy
    m_reader = std::make_unique<MemberReader>(m_archive, m_passwords, m_callback);
    const std::vector<MemberInfo> members = ListMembers(m_archive);
    if (m_command.ToMemory != 0)
        return finish(toMemory(members));
    const std::vector<MemberInfo> chosen = selected(members);
    announceTotals(chosen);
    const int32_t done = m_command.TestOnly != 0 ? testAll(chosen) : extractAll(chosen);
    if (m_callback.stopped())
        m_callback.message(ZMC_CANCELLED, "Extracting from \"" + m_archivePath + "\" was cancelled.");
    return finish(done);
}

std::vector<std::string> ExtractJob::patterns() const
{
    std::vector<std::string> found;
    for (int i = 0; i < m_command.SpecCount; ++i)
        if (m_command.FileSpecs[i].FileSpec && *m_command.FileSpecs[i].FileSpec)
            found.push_back(Slashed(m_command.FileSpecs[i].FileSpec));
    return found;
}

std::vector<MemberInfo> ExtractJob::selected(const std::vector<MemberInfo>& members) const
{
    const std::vector<std::string> wanted = patterns();
    if (wanted.empty())
        return members;
    std::vector<MemberInfo> chosen;
    for (const MemberInfo& member : members)
        if (std::any_of(wanted.begin(), wanted.end(),
                        [&](const std::string& p) { return Wildcard::Match(p, member.name, true); }))
            chosen.push_back(member);
    return chosen;
}

void ExtractJob::announceTotals(const std::vector<MemberInfo>& members)
{
    int64_t bytes = 0;
    for (const MemberInfo& member : members)
        bytes += int64_t(member.size);
    m_callback.send(ZCB_TOTAL_FILES, 0, int64_t(members.size()));
    m_callback.send(ZCB_TOTAL_SIZE, 0, bytes);
}

int32_t ExtractJob::testAll(const std::vector<MemberInfo>& members)
{
    const auto discard = [](const char*, size_t) { return true; };
    int32_t passed = 0;
    for (const MemberInfo& member : members) {
        if (m_callback.stopped())
            break;
        m_callback.send(ZCB_NEW_FILE, 0, int64_t(member.size), member.name);
        const ReadOutcome outcome = m_reader->read(member, discard);
        ReportOutcome(m_callback, outcome, member, m_reader->reason());
        if (outcome != ReadOutcome::Ok)
            continue;
        ++passed;
        if (m_command.Verbose != 0)
            m_callback.message(ZMC_INFO, "\"" + member.name + "\" is OK.");
    }
    return passed;
}

int32_t ExtractJob::extractAll(const std::vector<MemberInfo>& members)
{
    const UniqueFd base(::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!base.valid()) {
        m_callback.message(ZMC_FAILED, std::string("Cannot open the folder to extract into: ") + std::strerror(errno));
        return 0;
    }
    TargetWriter writer(m_command, m_callback, *m_reader, base.get());
    const bool keepFolders = m_command.DirNames != 0;
    int32_t done = 0;
    for (const MemberInfo& member : members) {
        if (m_callback.stopped())
            break;
        if (member.kind == MemberInfo::Kind::Folder && !keepFolders)
            continue;
        const std::optional<std::string> relative = MemberPath::Relative(member.name, keepFolders);
        if (!relative) {
            ReportUnsafe(m_callback, member.name, "its name is absolute, climbs out with \"..\" or names nothing");
            continue;
        }
        if (member.kind == MemberInfo::Kind::Folder) {
            done += writer.makeFolder(member, *relative) ? 1 : 0;
        } else if (member.kind == MemberInfo::Kind::File) {
            done += writer.writeFile(member, *relative) ? 1 : 0;
        } else if (!keepFolders) {
            ReportUnsafe(m_callback, member.name, "links are made only when folder names are kept");
        } else {
            std::string target;
            // Made after every file, so no file of this archive is written through them.
            if (readLinkTarget(member, target))
                m_links.push_back({member, *relative, target});
        }
    }
    for (const PendingLink& link : m_links) {
        if (m_callback.stopped())
            break;
        done += writer.makeLink(link.member, link.relative, link.target) ? 1 : 0;
    }
    if (done > 0)
        flush();
    return done;
}

// One flush of the file system for the whole run: a flush per file would cost more
// than the extraction of many small files. The caller may remove the members or the
// archive once this library returns, so a failure here must reach it.
void ExtractJob::flush()
{
    if (!SourceRemoval::FlushFileSystem("."))
        m_callback.message(ZMC_FAILED, std::string("Cannot flush the extracted files to disk: ") +
                                           std::strerror(errno) + ". Keep the archive until they are safe.");
}

bool ExtractJob::readLinkTarget(const MemberInfo& member, std::string& target)
{
    if (member.size == 0 || member.size >= PATH_MAX) {
        ReportOutcome(m_callback, ReadOutcome::Damaged, member, "a link target must have 1 to 4095 bytes");
        return false;
    }
    const ReadOutcome outcome = m_reader->read(member, [&target](const char* data, size_t size) {
        if (target.size() + size >= PATH_MAX)
            return false;
        target.append(data, size);
        return true;
    });
    ReportOutcome(m_callback, outcome, member,
                  outcome == ReadOutcome::SinkFailed ? "its link target is too long" : m_reader->reason());
    return outcome == ReadOutcome::Ok;
}

int32_t ExtractJob::toMemory(const std::vector<MemberInfo>& members)
{
    const int64_t room = m_command.BufferSize;
    m_command.BufferSize = 0;
    const std::vector<std::string> wanted = patterns();
    if (wanted.empty() || !m_command.Buffer || room < 0) {
        m_callback.message(ZMC_FAILED, "Extracting to memory needs one member name and a buffer.");
        return 0;
    }
    const std::string& name = wanted.front();
    auto found = std::find_if(members.begin(), members.end(), [&](const MemberInfo& m) { return m.name == name; });
    if (found == members.end())
        found = std::find_if(members.begin(), members.end(),
                             [&](const MemberInfo& m) { return Wildcard::Match(name, m.name, true); });
    if (found == members.end() || found->kind == MemberInfo::Kind::Folder) {
        m_callback.message(ZMC_FAILED, "\"" + name + "\" is not a file in \"" + m_archivePath + "\".");
        return 0;
    }
    const MemberInfo& member = *found;
    const std::string tooLarge = "\"" + member.name + "\" holds " + std::to_string(member.size) +
                                 " bytes, more than the " + std::to_string(room) + " bytes of room given";
    if (member.size > zip_uint64_t(room)) {
        m_callback.message(ZMC_FAILED, tooLarge + ".");
        return 0;
    }
    announceTotals({member});
    m_callback.send(ZCB_NEW_FILE, 0, int64_t(member.size), member.name);
    int64_t filled = 0;
    const ReadOutcome outcome = m_reader->read(member, [&](const char* data, size_t size) {
        if (int64_t(size) > room - filled)
            return false;
        std::memcpy(m_command.Buffer + filled, data, size);
        filled += int64_t(size);
        return true;
    });
    ReportOutcome(m_callback, outcome, member, outcome == ReadOutcome::SinkFailed ? tooLarge : m_reader->reason());
    if (outcome != ReadOutcome::Ok)
        return 0;
    m_command.BufferSize = filled;
    return 1;
}

int32_t ExtractJob::finish(int32_t count)
{
    m_callback.flushProgress();
    m_callback.send(ZCB_END_BATCH);
    return count;
}
