#include "MemberReader.h"

#include <algorithm>

namespace {

// Large reads keep libzip's per-call overhead out of testing big archives.
constexpr zip_uint64_t kBufferSize = zip_uint64_t(1) << 20;

bool PasswordProblem(int code)
{
    return code == ZIP_ER_WRONGPASSWD || code == ZIP_ER_NOPASSWD;
}

} // namespace

MemberReader::MemberReader(zip_t* archive, PasswordKeeper& passwords, DllCallback& callback)
    : m_archive(archive), m_passwords(passwords), m_callback(callback), m_buffer(new char[kBufferSize])
{
}

ReadOutcome MemberReader::read(const MemberInfo& member, const Sink& sink)
{
    m_reason.clear();
    ReadOutcome failure = ReadOutcome::Damaged;
    zip_file_t* file = open(member, failure);
    if (!file)
        return failure;
    const ReadOutcome outcome = pump(file, member, sink);
    zip_fclose(file);
    return outcome;
}

zip_file_t* MemberReader::open(const MemberInfo& member, ReadOutcome& failure)
{
    if (member.encrypted)
        return openEncrypted(member, failure);
    zip_file_t* file = zip_fopen_index(m_archive, member.index, 0);
    if (!file) {
        m_reason = zip_error_strerror(zip_get_error(m_archive));
        failure = ReadOutcome::Damaged;
    }
    return file;
}

zip_file_t* MemberReader::openEncrypted(const MemberInfo& member, ReadOutcome& failure)
{
    m_passwords.beginMember();
    for (;;) {
        if (m_passwords.current()) {
            zip_file_t* file = zip_fopen_index_encrypted(m_archive, member.index, 0, m_passwords.current()->c_str());
            if (file)
                return file;
            zip_error_t* error = zip_get_error(m_archive);
            if (!PasswordProblem(zip_error_code_zip(error))) {
                m_reason = zip_error_strerror(error);
                failure = ReadOutcome::Damaged;
                return nullptr;
            }
        }
        if (!m_passwords.askAnother(member.name)) {
            failure = m_callback.stopped() ? ReadOutcome::Cancelled : ReadOutcome::BadPassword;
            return nullptr;
        }
    }
}

ReadOutcome MemberReader::pump(zip_file_t* file, const MemberInfo& member, const Sink& sink)
{
    zip_uint64_t total = 0;
    for (;;) {
        // One byte more than the directory promises tells a member that inflates on
        // past its size, which would otherwise fill the disk before its CRC is checked.
        const zip_uint64_t wanted = std::min(kBufferSize, member.size - total + 1);
        const zip_int64_t got = zip_fread(file, m_buffer.get(), wanted);
        if (got < 0) {
            zip_error_t* error = zip_file_get_error(file);
            m_reason = zip_error_strerror(error);
            return zip_error_code_zip(error) == ZIP_ER_CRC ? ReadOutcome::CrcError : ReadOutcome::Damaged;
        }
        if (got == 0)
            break;
        if (zip_uint64_t(got) > member.size - total) {
            m_reason = "its data is longer than the directory says";
            return ReadOutcome::Damaged;
        }
        total += zip_uint64_t(got);
        if (!sink(m_buffer.get(), size_t(got)))
            return m_callback.stopped() ? ReadOutcome::Cancelled : ReadOutcome::SinkFailed;
        if (!m_callback.progress(got))
            return ReadOutcome::Cancelled;
    }
    if (total != member.size) {
        m_reason = "its data is shorter than the directory says";
        return ReadOutcome::Damaged;
    }
    return ReadOutcome::Ok;
}
