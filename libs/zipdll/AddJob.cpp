#include "AddJob.h"

#include "ArchiveTimes.h"
#include "FileCollector.h"
#include "SourceRemover.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace {

constexpr zip_uint32_t kDosReadOnly = 0x01;
constexpr zip_uint32_t kDosFolder = 0x10;

std::string Lower(std::string text)
{
    for (char& c : text)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool NewerThanEntry(zip_t* archive, zip_int64_t index, time_t fileTime)
{
    zip_stat_t st;
    if (zip_stat_index(archive, zip_uint64_t(index), 0, &st) != 0 || !(st.valid & ZIP_STAT_MTIME))
        return true;
    // Zip times have two-second steps.
    return (fileTime & ~time_t(1)) > st.mtime;
}

int CancelRequested(zip_t*, void* state)
{
    return static_cast<DllCallback*>(state)->stopped() ? 1 : 0;
}

zip_uint16_t MethodOf(int32_t specEncryption, bool commandEncrypts)
{
    switch (specEncryption) {
    case ZSE_NONE:
        return ZIP_EM_NONE;
    case ZSE_TRADITIONAL:
        return ZIP_EM_TRAD_PKWARE;
    case ZSE_AES256:
        return ZIP_EM_AES_256;
    default:
        return commandEncrypts ? ZIP_EM_TRAD_PKWARE : ZIP_EM_NONE;
    }
}

} // namespace

AddJob::AddJob(const ZipAddCommand& command, DllCallback& callback)
    : m_command(command), m_callback(callback), m_archivePath(command.ZipFileName)
{
}

int32_t AddJob::run()
{
    std::string why;
    m_archiveFile = ArchiveFile::Open(m_archivePath, why);
    if (!m_archiveFile) {
        m_callback.message(ZMC_FAILED, why);
        return finish(0);
    }
    FileCollector collector(m_command, m_callback);
    const std::vector<SourceFile> files = collector.collect();
    m_walkedFolders = collector.walkedFolders();
    if (m_callback.stopped()) {
        m_callback.message(ZMC_CANCELLED, "Adding to \"" + m_archivePath + "\" was cancelled.");
        return finish(0);
    }
    if (files.empty()) {
        m_callback.message(ZMC_FAILED, "Nothing to add to \"" + m_archivePath + "\".");
        return finish(0);
    }
    std::vector<Entry> entries = plan(files);
    if (!fillPasswords(entries))
        return finish(0);
    zip_t* archive = m_archiveFile->openZip(ZIP_CREATE, why);
    if (!archive) {
        m_callback.message(ZMC_FAILED, "Cannot open \"" + m_archivePath + "\": " + why);
        return finish(0);
    }
    entries = wanted(archive, entries);
    announceTotals(entries);
    zip_register_cancel_callback_with_state(archive, &CancelRequested, nullptr, &m_callback);
    int32_t queued = 0;
    std::vector<Entry> written;
    for (const Entry& entry : entries) {
        if (m_callback.stopped())
            break;
        if (queue(archive, entry)) {
            ++queued;
            written.push_back(entry);
        }
    }
    if (!write(archive, queued))
        return finish(0);
    afterWriting(written);
    return finish(queued);
}

std::vector<AddJob::Entry> AddJob::plan(const std::vector<SourceFile>& files)
{
    std::vector<Entry> entries;
    for (const SourceFile& file : files) {
        Entry entry;
        entry.file = &file;
        const ZipFileSpec& fileSpec = m_command.FileSpecs[file.fileSpec];
        if (file.kind != SourceFile::Kind::Folder)
            entry.encryption = MethodOf(fileSpec.Encrypt, m_command.Encrypt != 0);
        if (entry.encryption != ZIP_EM_NONE) {
            if (fileSpec.Password && *fileSpec.Password)
                entry.password = fileSpec.Password;
            else if (m_command.Password && *m_command.Password)
                entry.password = m_command.Password;
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

bool AddJob::fillPasswords(std::vector<Entry>& entries)
{
    const auto lacking = [](const Entry& e) { return e.encryption != ZIP_EM_NONE && e.password.empty(); };
    if (std::none_of(entries.begin(), entries.end(), lacking))
        return true;
    // Bit 0 of the error code tells the caller the password is for adding.
    m_callback.send(ZCB_PASSWORD, 1, 1);
    const std::string answer = m_callback.present() && m_callback.answerCode() == 1 ? m_callback.answerText() : "";
    if (answer.empty()) {
        m_callback.message(ZMC_FAILED, "No password was given for encrypting: nothing was added to \"" +
                                           m_archivePath + "\".");
        return false;
    }
    for (Entry& entry : entries)
        if (lacking(entry))
            entry.password = answer;
    return true;
}

std::vector<AddJob::Entry> AddJob::wanted(zip_t* archive, const std::vector<Entry>& entries)
{
    const bool update = m_command.Update != 0;
    const bool freshen = m_command.Freshen != 0 && !update;
    std::vector<Entry> kept;
    for (const Entry& entry : entries) {
        const SourceFile& file = *entry.file;
        const zip_int64_t existing = zip_name_locate(archive, file.storedName.c_str(), 0);
        bool take = true;
        if (file.kind == SourceFile::Kind::Folder)
            take = existing < 0 && !freshen;
        else if (update || freshen)
            take = existing < 0 ? update : NewerThanEntry(archive, existing, file.info.st_mtime);
        if (take)
            kept.push_back(entry);
        else if (m_command.Verbose != 0)
            m_callback.message(ZMC_INFO, "\"" + file.storedName + "\" is up to date.");
    }
    return kept;
}

void AddJob::announceTotals(const std::vector<Entry>& entries)
{
    int64_t bytes = 0;
    for (const Entry& entry : entries)
        if (entry.file->kind != SourceFile::Kind::Folder)
            bytes += entry.file->info.st_size;
    m_callback.send(ZCB_TOTAL_FILES, 0, int64_t(entries.size()));
    m_callback.send(ZCB_TOTAL_SIZE, 0, bytes);
}

bool AddJob::queue(zip_t* archive, const Entry& entry)
{
    const SourceFile& file = *entry.file;
    const zip_int64_t existing = zip_name_locate(archive, file.storedName.c_str(), 0);
    const zip_int64_t index = addData(archive, file);
    if (index < 0) {
        m_callback.message(ZMC_FILE_PROBLEM,
                           "Cannot add \"" + file.diskPath + "\": " + zip_error_strerror(zip_get_error(archive)));
        return false;
    }
    if (!describe(archive, zip_uint64_t(index), entry)) {
        m_callback.message(ZMC_FILE_PROBLEM, "Cannot add \"" + file.diskPath +
                                                 "\": " + zip_error_strerror(zip_get_error(archive)));
        // An entry that cannot get its encryption must not be written in the clear.
        if (existing >= 0)
            zip_unchange(archive, zip_uint64_t(index));
        else
            zip_delete(archive, zip_uint64_t(index));
        return false;
    }
    if (m_command.Verbose != 0)
        m_callback.message(ZMC_INFO, "Adding \"" + file.storedName + "\".");
    return true;
}

zip_int64_t AddJob::addData(zip_t* archive, const SourceFile& file)
{
    if (file.kind == SourceFile::Kind::Folder)
        return zip_dir_add(archive, file.storedName.c_str(), ZIP_FL_ENC_GUESS);
    zip_source_t* source = nullptr;
    if (file.kind == SourceFile::Kind::Link) {
        // A link is stored as its target, never followed.
        char target[PATH_MAX];
        const ssize_t length = ::readlink(file.diskPath.c_str(), target, sizeof target);
        if (length < 0) {
            zip_error_set(zip_get_error(archive), ZIP_ER_READ, errno);
            return -1;
        }
        void* copy = std::malloc(size_t(length) + 1);
        if (!copy)
            return -1;
        std::memcpy(copy, target, size_t(length));
        source = zip_source_buffer(archive, copy, zip_uint64_t(length), 1);
        if (!source)
            std::free(copy);
    } else {
        source = FileSource::Create(archive, file, m_callback, m_readFailure);
    }
    if (!source)
        return -1;
    const zip_int64_t index = zip_file_add(archive, file.storedName.c_str(), source, ZIP_FL_OVERWRITE | ZIP_FL_ENC_GUESS);
    if (index < 0)
        zip_source_free(source);
    return index;
}

bool AddJob::describe(zip_t* archive, zip_uint64_t index, const Entry& entry)
{
    const SourceFile& file = *entry.file;
    const bool store = m_command.Level <= 0 || file.kind != SourceFile::Kind::File || file.info.st_size == 0 ||
                       storedOnly(file);
    const zip_uint32_t level = zip_uint32_t(std::clamp(m_command.Level, 1, 9));
    zip_uint32_t attributes = (zip_uint32_t(file.info.st_mode) & 0xFFFF) << 16;
    if (file.kind == SourceFile::Kind::Folder)
        attributes |= kDosFolder;
    if (!(file.info.st_mode & S_IWUSR))
        attributes |= kDosReadOnly;
    if (zip_set_file_compression(archive, index, store ? ZIP_CM_STORE : ZIP_CM_DEFLATE, store ? 0 : level) != 0 ||
        zip_file_set_mtime(archive, index, file.info.st_mtime, 0) != 0 ||
        zip_file_set_external_attributes(archive, index, 0, ZIP_OPSYS_UNIX, attributes) != 0)
        return false;
    return entry.encryption == ZIP_EM_NONE ||
           zip_file_set_encryption(archive, index, entry.encryption, entry.password.c_str()) == 0;
}

bool AddJob::storedOnly(const SourceFile& file) const
{
    if (!m_command.StoreSuffixes)
        return false;
    const std::string name = Lower(file.storedName);
    const std::string list = m_command.StoreSuffixes;
    size_t from = 0;
    while (from <= list.size()) {
        size_t end = list.find_first_of(":;", from);
        if (end == std::string::npos)
            end = list.size();
        const std::string suffix = Lower(list.substr(from, end - from));
        if (!suffix.empty() && name.ends_with(suffix))
            return true;
        from = end + 1;
    }
    return false;
}

bool AddJob::write(zip_t* archive, int32_t queued)
{
    const std::string where = "\"" + m_archivePath + "\"";
    if (queued == 0 || m_callback.stopped()) {
        zip_discard(archive);
        if (m_callback.stopped())
            m_callback.message(ZMC_CANCELLED, "Adding to " + where + " was cancelled; the archive is unchanged.");
        return false;
    }
    if (m_command.ArchiveComment && *m_command.ArchiveComment)
        zip_set_archive_comment(archive, m_command.ArchiveComment, zip_uint16_t(strnlen(m_command.ArchiveComment, 0xFFFF)));
    if (zip_close(archive) == 0)
        return true;
    if (m_callback.stopped()) {
        m_callback.message(ZMC_CANCELLED, "Adding to " + where + " was cancelled; the archive is unchanged.");
    } else {
        std::string text = "Cannot write " + where + ": " + zip_error_strerror(zip_get_error(archive));
        if (!m_readFailure.text.empty())
            text += " (reading " + m_readFailure.text + ")";
        m_callback.message(ZMC_FAILED, m_archiveFile->failure().empty() ? text + "; the archive is unchanged."
                                                                        : m_archiveFile->failure());
    }
    zip_discard(archive);
    return false;
}

void AddJob::afterWriting(const std::vector<Entry>& entries)
{
    if (m_command.LatestTime != 0)
        ArchiveTimes::SetToNewestEntry(m_archiveFile->target());
    if (m_command.Move == 0)
        return;
    std::vector<const SourceFile*> moved;
    for (const Entry& entry : entries)
        moved.push_back(entry.file);
    SourceRemover(m_callback).remove(m_archiveFile->target(), moved, m_walkedFolders);
}

int32_t AddJob::finish(int32_t count)
{
    m_callback.flushProgress();
    m_callback.send(ZCB_END_BATCH);
    return count;
}
