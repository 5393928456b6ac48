// Streams one member's data out of the program file: decrypted when a password is
// given, inflated when deflated, checked against the stored size and CRC-32.
#pragma once

#include "SfxMember.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

class MemberDecoder {
public:
    enum class Result { Ok, BadPassword, Unsupported, Damaged, CrcMismatch, ReadFailed, WriteFailed };

    using Sink = std::function<bool(const uint8_t* bytes, size_t count)>;

    // `password` is used when the member is encrypted; `dataAt` from SfxArchive::DataAt.
    static Result Decode(int fd, uint64_t dataAt, const SfxMember& member, const std::string& password,
                         const Sink& sink);

    static const char* Describe(Result result);
};
