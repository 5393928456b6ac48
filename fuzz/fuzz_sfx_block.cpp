// Feeds arbitrary bytes to the self-extractor's block reader, both as a whole program
// file and as a block on its own. Besides not crashing or reading outside the input: a
// block found lies inside the file right after the image, within the largest size a
// block can have, and its texts fit in it.
#include "SfxBlock.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void check(bool holds)
{
    if (!holds)
        std::abort();
}

size_t textBytes(const SfxOptions& options)
{
    return options.Caption.size() + options.DefaultDir.size() + options.CommandLine.size() + options.Message.size();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (const std::optional<SfxLayout> layout = SfxBlock::LocateInBytes(data, size)) {
        const uint64_t blockSize = layout->ArchiveOffset - layout->BlockOffset;
        check(layout->BlockOffset < layout->ArchiveOffset && layout->ArchiveOffset <= size);
        check(blockSize <= SfxBlock::kMaxSize && blockSize % 4 == 0);
        check(8 + 4 + textBytes(layout->Options) <= blockSize);
        check(SfxBlock::ElfImageEnd(data, size, size) == layout->BlockOffset);
    }
    uint32_t blockSize = 0;
    if (const std::optional<SfxOptions> options = SfxBlock::Parse(data, size, blockSize))
        check(blockSize <= size && 8 + 4 + textBytes(*options) <= blockSize);
    return 0;
}
