#include "DeleteJob.h"

#include "ArchiveFile.h"
#include "MemberName.h"

#include "Wildcard.h"

#include <algorithm>
#include <memory>

namespace {

std::string Slashed(std::string text)
{
    std::replace(text.begin(), text.end(), '\\', '/');
    return text;
}

} // namespace

DeleteJob::DeleteJob(const ZipAddCommand& command, DllCallback& callback)
    : m_command(command), m_callback(callback), m_archivePath(command.ZipFileName)
{
}

int32_t DeleteJob::run()
{
    std::string why;
    const std::unique_ptr<ArchiveFile> file = ArchiveFile::Open(m_archivePath, why);
    zip_t* archive = file ? file->openZip(0, why) : nullptr;
    if (!archive) {
        m_callback.message(ZMC_FAILED, file ? "Cannot open \"" + m_archivePath + "\": " + why : why);
        return finish(0);
    }
    const std::vector<zip_uint64_t> doomed = matching(archive);
    m_callback.send(ZCB_TOTAL_FILES, 0, int64_t(doomed.size()));
    for (const zip_uint64_t index : doomed) {
        if (m_command.Verbose != 0)
            m_callback.message(ZMC_INFO, std::string("Deleting \"") + zip_get_name(archive, index, 0) + "\".");
        zip_delete(archive, index);
    }
    if (doomed.empty()) {
        zip_discard(archive);
        m_callback.message(ZMC_FAILED, "Nothing in \"" + m_archivePath + "\" matches what was to be deleted.");
        return finish(0);
    }
    return finish(write(archive, *file) ? int32_t(doomed.size()) : 0);
}

std::vector<zip_uint64_t> DeleteJob::matching(zip_t* archive) const
{
    std::vector<std::string> patterns;
    for (int i = 0; i < m_command.SpecCount; ++i)
        if (m_command.FileSpecs[i].FileSpec && *m_command.FileSpecs[i].FileSpec)
            patterns.push_back(Slashed(m_command.FileSpecs[i].FileSpec));
    std::vector<zip_uint64_t> found;
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const std::string name = MemberName::Shown(archive, zip_uint64_t(i));
        if (!name.empty() && std::any_of(patterns.begin(), patterns.end(),
                                [&](const std::string& p) { return Wildcard::Match(p, name, true); }))
            found.push_back(zip_uint64_t(i));
    }
    return found;
}

bool DeleteJob::write(zip_t* archive, const ArchiveFile& file)
{
    const std::string where = "\"" + m_archivePath + "\"";
    if (m_callback.stopped()) {
        zip_discard(archive);
        m_callback.message(ZMC_CANCELLED, "Deleting from " + where + " was cancelled; the archive is unchanged.");
        return false;
    }
    if (zip_close(archive) == 0)
        return true;
    m_callback.message(ZMC_FAILED, file.failure().empty() ? "Cannot write " + where + ": " +
                                                                zip_error_strerror(zip_get_error(archive)) +
                                                                "; the archive is unchanged."
                                                          : file.failure());
    zip_discard(archive);
    return false;
}

int32_t DeleteJob::finish(int32_t count)
{
    m_callback.send(ZCB_END_BATCH);
    return count;
}
