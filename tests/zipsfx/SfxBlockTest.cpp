// Finding the settings block behind a program image: found right where the section
// header table ends, and refused whenever a length or offset would reach past what
// the file holds.
#include "SfxBlock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

constexpr size_t kImageEnd = 64 + 2 * 64;

void put16(Bytes& bytes, size_t at, uint16_t value)
{
    bytes[at] = uint8_t(value);
    bytes[at + 1] = uint8_t(value >> 8);
}

// A 64-bit little-endian ELF header whose two 64-byte section headers follow it.
Bytes image()
{
    Bytes bytes(kImageEnd, 0);
    const uint8_t ident[] = {0x7F, 'E', 'L', 'F', 2, 1, 1};
    std::copy(std::begin(ident), std::end(ident), bytes.begin());
    bytes[0x28] = 64;
    put16(bytes, 0x3A, 64);
    put16(bytes, 0x3C, 2);
    return bytes;
}

// Caption "Go", no folder, command "ls", message "m": 8 + 3 + 1 + 3 + 2 = 17, padded to 20.
const Bytes kBlock = {'M', 'P', 'V', 0x48, 0, 1, 20, 0, 2, 'G', 'o', 0, 2, 'l', 's', 1, 'm', 0, 0, 0};

Bytes program(const Bytes& block)
{
    Bytes bytes = image();
    bytes.insert(bytes.end(), block.begin(), block.end());
    const Bytes archive = {'P', 'K', 5, 6};
    bytes.insert(bytes.end(), archive.begin(), archive.end());
    return bytes;
}

std::optional<SfxLayout> locate(const Bytes& bytes)
{
    return SfxBlock::LocateInBytes(bytes.data(), bytes.size());
}

TEST(SfxBlock, FoundWhereTheImageEnds)
{
    const std::optional<SfxLayout> layout = locate(program(kBlock));
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->BlockOffset, kImageEnd);
    EXPECT_EQ(layout->ArchiveOffset, kImageEnd + kBlock.size());
    const SfxOptions& options = layout->Options;
    EXPECT_EQ(options.Caption, "Go");
    EXPECT_EQ(options.DefaultDir, "");
    EXPECT_EQ(options.CommandLine, "ls");
    EXPECT_EQ(options.Message, "m");
    EXPECT_EQ(options.OverwriteMode(), SfxOptions::Overwrite::Always);
    EXPECT_TRUE(options.AutoRun());
    EXPECT_TRUE(options.CheckSize());
    EXPECT_FALSE(options.AskFiles());
}

TEST(SfxBlock, TextRunningPastTheBlockIsRefused)
{
    Bytes block = kBlock;
    block[15] = 5;   // the message would take the padding and the next block
    EXPECT_FALSE(locate(program(block)));
}

TEST(SfxBlock, BlockLongerThanTheFileIsRefused)
{
    Bytes block = kBlock;
    put16(block, 6, 1024);
    EXPECT_FALSE(locate(program(block)));
}

TEST(SfxBlock, SectionTablePastTheFileIsRefused)
{
    Bytes bytes = program(kBlock);
    put16(bytes, 0x3C, 0xFFFF);
    EXPECT_FALSE(locate(bytes));
    EXPECT_FALSE(SfxBlock::ElfImageEnd(bytes.data(), 40, bytes.size()));   // header cut short
}

} // namespace
