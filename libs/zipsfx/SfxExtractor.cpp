#include "SfxExtractor.h"

#include "MemberPath.h"
#include "PosixIo.h"
#include "Terminal.h"

#include <ctime>
#include <iostream>
#include <sys/stat.h>

namespace {

constexpr size_t kMaxLinkTarget = 4096;
constexpr int kPasswordTries = 3;

timespec dosTime(uint16_t date, uint16_t time)
{
    tm parts{};
    parts.tm_year = ((date >> 9) & 0x7F) + 80;
    parts.tm_mon = ((date >> 5) & 0x0F) - 1;
    parts.tm_mday = date & 0x1F;
    parts.tm_hour = time >> 11;
    parts.tm_min = (time >> 5) & 0x3F;
    parts.tm_sec = (time & 0x1F) * 2;
    parts.tm_isdst = -1;
    return timespec{std::mktime(&parts), 0};
}

mode_t currentUmask()
{
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

} // namespace

SfxExtractor::SfxExtractor(int program, const SfxArchive& archive, int destination, SfxOptions::Overwrite overwrite)
    : m_program(program), m_archive(archive), m_folder(destination), m_overwrite(overwrite), m_umask(currentUmask())
{
}

SfxExtractor::Outcome SfxExtractor::Run(const std::vector<bool>& chosen)
{
    Outcome outcome;
    const std::vector<SfxMember>& members = m_archive.Members();
    for (size_t i = 0; i < members.size(); ++i) {
        const Step step = i < chosen.size() && chosen[i] ? Extract(members[i]) : Step::Skipped;
        (step == Step::Extracted ? outcome.Extracted : step == Step::Skipped ? outcome.Skipped : outcome.Failed)++;
    }
    return outcome;
}

SfxExtractor::Step SfxExtractor::Extract(const SfxMember& member)
{
    const std::optional<std::string> relative = MemberPath::Relative(member.Name, true);
    if (!relative)
        return Refuse(member, "its name leads outside the extraction folder");
    if (member.IsFolder())
        return m_folder.MakeFolders(*relative) ? Step::Extracted : Refuse(member, "its folder cannot be made");
    std::string leaf;
    const UniqueFd folder = m_folder.OpenParent(*relative, leaf);
    if (!folder.valid())
        return Refuse(member, "its folder cannot be made, or a link stands in its path");
    if (const std::optional<Step> verdict = ReplaceVerdict(member, folder.get(), leaf))
        return *verdict;
    const Step step = member.IsSymlink() ? ExtractLink(member, *relative, folder.get(), leaf)
                                         : ExtractFile(member, folder.get(), leaf);
    if (step == Step::Extracted)
        std::cout << "  " << *relative << '\n';
    return step;
}

SfxExtractor::Step SfxExtractor::ExtractFile(const SfxMember& member, int folder, const std::string& leaf)
{
    std::string temporary;
    const UniqueFd file = ExtractionFolder::CreateTemporary(folder, temporary);
    if (!file.valid())
        return Refuse(member, "it cannot be created");
    const MemberDecoder::Result result = Decode(member, [&file](const uint8_t* bytes, size_t count) {
        return PosixIo::WriteAll(file.get(), bytes, count);
    });
    if (result == MemberDecoder::Result::Ok) {
        SetAttributes(file.get(), member);
        if (ExtractionFolder::Commit(folder, temporary, leaf))
            return Step::Extracted;
    }
    ExtractionFolder::Discard(folder, temporary);
    return Refuse(member, result == MemberDecoder::Result::Ok ? "it cannot be put in place"
                                                              : MemberDecoder::Describe(result));
}

SfxExtractor::Step SfxExtractor::ExtractLink(const SfxMember& member, const std::string& relative, int folder,
                                             const std::string& leaf)
{
    std::string target;
    const MemberDecoder::Result result = Decode(member, [&target](const uint8_t* bytes, size_t count) {
        target.append(reinterpret_cast<const char*>(bytes), count);
        return target.size() <= kMaxLinkTarget;
    });
    if (result != MemberDecoder::Result::Ok)
        return Refuse(member, MemberDecoder::Describe(result));
    if (!MemberPath::LinkStaysInside(relative, target))
        return Refuse(member, "it is a link leading outside the extraction folder");
    std::string temporary;
    if (!ExtractionFolder::MakeTemporaryLink(folder, target, temporary))
        return Refuse(member, "the link cannot be made");
    if (ExtractionFolder::Commit(folder, temporary, leaf))
        return Step::Extracted;
    ExtractionFolder::Discard(folder, temporary);
    return Refuse(member, "it cannot be put in place");
}

// No value: the member may be written.
std::optional<SfxExtractor::Step> SfxExtractor::ReplaceVerdict(const SfxMember& member, int folder,
                                                               const std::string& leaf)
{
    switch (ExtractionFolder::Probe(folder, leaf)) {
    case ExtractionFolder::Existing::Nothing:
        return std::nullopt;
    case ExtractionFolder::Existing::Folder:
        return Refuse(member, "a folder of that name exists");
    case ExtractionFolder::Existing::File:
        break;
    }
    if (m_overwrite == SfxOptions::Overwrite::Ask ? AskReplace(member)
                                                  : m_overwrite == SfxOptions::Overwrite::Always)
        return std::nullopt;
    std::cout << "  " << member.Name << ": exists, kept\n";
    return Step::Skipped;
}

bool SfxExtractor::AskReplace(const SfxMember& member)
{
    const std::string answer =
        Terminal::Ask(member.Name + " exists. Replace it? [y]es, [n]o, [a]ll, [N]one: ", "n");
    if (answer == "a" || answer == "A")
        m_overwrite = SfxOptions::Overwrite::Always;
    if (answer == "N")
        m_overwrite = SfxOptions::Overwrite::Never;
    return answer == "y" || answer == "Y" || answer == "a" || answer == "A";
}

MemberDecoder::Result SfxExtractor::Decode(const SfxMember& member, const MemberDecoder::Sink& sink)
{
    const std::optional<uint64_t> dataAt = m_archive.DataAt(member);
    if (!dataAt)
        return MemberDecoder::Result::Damaged;
    if (!member.Encrypted())
        return MemberDecoder::Decode(m_program, *dataAt, member, {}, sink);
    // A wrong password shows at the encryption header, before anything is written.
    for (int i = 0; i < kPasswordTries; ++i) {
        const std::string* password = Password(member);
        if (!password)
            break;
        const MemberDecoder::Result result = MemberDecoder::Decode(m_program, *dataAt, member, *password, sink);
        if (result != MemberDecoder::Result::BadPassword)
            return result;
        m_password.reset();
    }
    return MemberDecoder::Result::BadPassword;
}

// One password serves every member until it fails; without a terminal none is asked.
const std::string* SfxExtractor::Password(const SfxMember& member)
{
    if (!m_password && !m_noPassword) {
        m_password = Terminal::AskHidden("Password for " + member.Name + ": ");
        m_noPassword = !m_password;
    }
    return m_password ? &*m_password : nullptr;
}

void SfxExtractor::SetAttributes(int fd, const SfxMember& member) const
{
    const mode_t stored = member.UnixMode() & 0777;
    ::fchmod(fd, (stored ? stored : 0666) & ~m_umask);
    const timespec modified = dosTime(member.DosDate, member.DosTime);
    const timespec times[2] = {modified, modified};
    ::futimens(fd, times);
}

SfxExtractor::Step SfxExtractor::Refuse(const SfxMember& member, const std::string& why)
{
    std::cerr << "  " << member.Name << ": not extracted, " << why << '\n';
    return Step::Failed;
}
