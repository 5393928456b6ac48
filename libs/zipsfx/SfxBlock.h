// Finding and reading the settings block a self-extracting program carries: it follows
// the stub's own ELF image at once, and the archive follows it. Every length and offset
// read here comes from an untrusted file and is checked against what was read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

struct SfxOptions {
    enum class Overwrite { Ask, Always, Never };

    uint8_t Flags = 0;
    std::string Caption;
    std::string DefaultDir;
    std::string CommandLine;
    std::string Message;

    bool AskCmdLine() const { return Flags & 0x01; }
    bool AskFiles() const { return Flags & 0x02; }
    bool HideOverwriteBox() const { return Flags & 0x04; }
    Overwrite OverwriteMode() const;
    bool CheckSize() const { return !(Flags & 0x20); }
    bool AutoRun() const { return Flags & 0x40; }
    bool NoSuccessMessage() const { return Flags & 0x80; }
};

struct SfxLayout {
    SfxOptions Options;
    uint64_t BlockOffset = 0;
    uint64_t ArchiveOffset = 0;
};

namespace SfxBlock {

// The most a block can take: the fixed part and four texts of 255 bytes.
constexpr size_t kMaxSize = 8 + 4 * 256;

// Reads `count` bytes at `offset` of the program file; false when they are not all there.
using ReadAt = std::function<bool(uint64_t offset, void* to, size_t count)>;

// Where the ELF image described by `header` ends: the end of its section header table,
// which must lie inside a file of `fileSize` bytes.
std::optional<uint64_t> ElfImageEnd(const uint8_t* header, size_t size, uint64_t fileSize);

// The block at the start of `bytes`; `blockSize` receives its stored size.
std::optional<SfxOptions> Parse(const uint8_t* bytes, size_t size, uint32_t& blockSize);

std::optional<SfxLayout> Locate(const ReadAt& read, uint64_t fileSize);
std::optional<SfxLayout> LocateInBytes(const uint8_t* data, size_t size);

} // namespace SfxBlock
