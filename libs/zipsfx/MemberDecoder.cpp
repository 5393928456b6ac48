#include "MemberDecoder.h"

#include "PosixIo.h"
#include "ZipCrypto.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>
#include <zlib.h>

namespace {

using Result = MemberDecoder::Result;

constexpr size_t kChunk = 64 * 1024;
constexpr uint16_t kStored = 0;
constexpr uint16_t kDeflated = 8;

// The member's stored bytes after the encryption header, decrypted, in chunks.
struct Input {
    int Fd;
    uint64_t At;
    uint64_t Left;
    std::optional<ZipCrypto> Crypto;

    // Fills `buffer` with the next chunk; false on a read error.
    bool Next(std::vector<uint8_t>& buffer)
    {
        buffer.resize(size_t(std::min<uint64_t>(Left, kChunk)));
        if (!PosixIo::ReadExactly(Fd, At, buffer.data(), buffer.size()))
            return false;
        At += buffer.size();
        Left -= buffer.size();
        if (Crypto)
            Crypto->Decrypt(buffer.data(), buffer.size());
        return true;
    }
};

// What has been handed on: never more than the stored size, and its CRC.
struct Output {
    const SfxMember& Member;
    const MemberDecoder::Sink& Sink;
    uint64_t Written = 0;
    uLong Crc = crc32(0, nullptr, 0);

    Result Emit(const uint8_t* bytes, size_t count)
    {
        if (count > Member.UncompressedSize - Written)
            return Result::Damaged;
        Written += count;
        Crc = crc32(Crc, bytes, uInt(count));
        return count == 0 || Sink(bytes, count) ? Result::Ok : Result::WriteFailed;
    }

    Result Verdict() const
    {
        if (Written != Member.UncompressedSize)
            return Result::Damaged;
        return Crc == Member.Crc32 ? Result::Ok : Result::CrcMismatch;
    }
};

// The last header byte repeats the CRC's top byte, or the time's when the CRC was not
// known before the data was written.
Result startDecryption(Input& input, const SfxMember& member, const std::string& password)
{
    if (input.Left < ZipCrypto::kHeaderSize)
        return Result::Damaged;
    uint8_t header[ZipCrypto::kHeaderSize];
    if (!PosixIo::ReadExactly(input.Fd, input.At, header, sizeof header))
        return Result::ReadFailed;
    input.Crypto.emplace(password);
    input.Crypto->Decrypt(header, sizeof header);
    input.At += sizeof header;
    input.Left -= sizeof header;
    const uint8_t check = member.HasDataDescriptor() ? uint8_t(member.DosTime >> 8) : uint8_t(member.Crc32 >> 24);
    return header[ZipCrypto::kHeaderSize - 1] == check ? Result::Ok : Result::BadPassword;
}

Result copyStored(Input& input, Output& output)
{
    std::vector<uint8_t> chunk;
    while (input.Left > 0) {
        if (!input.Next(chunk))
            return Result::ReadFailed;
        if (const Result r = output.Emit(chunk.data(), chunk.size()); r != Result::Ok)
            return r;
    }
    return output.Verdict();
}

Result inflateAll(Input& input, Output& output)
{
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
        return Result::Damaged;
    const std::unique_ptr<z_stream, int (*)(z_stream*)> guard(&stream, inflateEnd);
    std::vector<uint8_t> chunk;
    std::vector<uint8_t> out(kChunk);
    for (;;) {
        if (stream.avail_in == 0 && input.Left > 0) {
            if (!input.Next(chunk))
                return Result::ReadFailed;
            stream.next_in = chunk.data();
            stream.avail_in = uInt(chunk.size());
        }
        stream.next_out = out.data();
        stream.avail_out = uInt(out.size());
        const int status = inflate(&stream, Z_NO_FLUSH);
        if (status != Z_OK && status != Z_STREAM_END)
            return Result::Damaged;
        if (const Result r = output.Emit(out.data(), out.size() - stream.avail_out); r != Result::Ok)
            return r;
        if (status == Z_STREAM_END)
            return output.Verdict();
        if (stream.avail_in == 0 && input.Left == 0 && stream.avail_out != 0)
            return Result::Damaged;
    }
}

} // namespace

MemberDecoder::Result MemberDecoder::Decode(int fd, uint64_t dataAt, const SfxMember& member,
                                            const std::string& password, const Sink& sink)
{
    if (member.Method != kStored && member.Method != kDeflated)
        return Result::Unsupported;
    Input input{fd, dataAt, member.CompressedSize, std::nullopt};
    if (member.Encrypted())
        if (const Result r = startDecryption(input, member, password); r != Result::Ok)
            return r;
    Output output{member, sink};
    return member.Method == kStored ? copyStored(input, output) : inflateAll(input, output);
}

const char* MemberDecoder::Describe(Result result)
{
    switch (result) {
    case Result::Ok: return "done";
    case Result::BadPassword: return "encrypted, and no right password was given";
    case Result::Unsupported: return "compression method not supported";
    case Result::Damaged: return "damaged data";
    case Result::CrcMismatch: return "CRC error";
    case Result::ReadFailed: return "read error";
    case Result::WriteFailed: return "write error";
    }
    return "";
}
