// The limits and flag bytes of an LZRW1-KH chunk, shared by its writer and its reader.
#pragma once

namespace Lzrw1Kh {

// The longest input a chunk holds; its stored form is one byte longer.
constexpr int kChunkInput = 32783;
constexpr int kMaxChunk = kChunkInput + 1;

constexpr unsigned char kCompressedFlag = 64;
constexpr unsigned char kStoredFlag = 128;

constexpr int kMaxOffset = 4095;
constexpr int kMinCopy = 3;
constexpr int kMaxCopy = 18;
constexpr int kMinRun = 16;
constexpr int kMaxRun = 4095;
constexpr int kItemsPerControlWord = 16;

} // namespace Lzrw1Kh
