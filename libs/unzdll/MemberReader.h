// Reads one member's data (decrypting and inflating it) in large blocks, asking for a
// password when the one at hand does not fit. libzip checks the CRC at the end of the
// data; the caller's sink sees every block before that verdict, so it must not put
// anything in place until read() says Ok.
#pragma once

#include "MemberInfo.h"
#include "PasswordKeeper.h"

#include "DllCallback.h"

#include <functional>
#include <memory>
#include <string>
#include <zip.h>

enum class ReadOutcome { Ok, BadPassword, Damaged, CrcError, SinkFailed, Cancelled };

class MemberReader {
public:
    using Sink = std::function<bool(const char* data, size_t size)>;

    MemberReader(zip_t* archive, PasswordKeeper& passwords, DllCallback& callback);

    ReadOutcome read(const MemberInfo& member, const Sink& sink);
    // Why the last read failed, for Damaged.
    const std::string& reason() const { return m_reason; }

private:
    zip_file_t* open(const MemberInfo& member, ReadOutcome& failure);
    zip_file_t* openEncrypted(const MemberInfo& member, ReadOutcome& failure);
    ReadOutcome pump(zip_file_t* file, const MemberInfo& member, const Sink& sink);

    zip_t* m_archive;
    PasswordKeeper& m_passwords;
    DllCallback& m_callback;
    std::unique_ptr<char[]> m_buffer;
    std::string m_reason;
};
