#include "SfxSettingsBlock.h"

#include <array>

namespace {

constexpr qsizetype kFixedBytes = 8;
constexpr qsizetype kAlignment = 4;

enum Flag : uint8_t {
    kAskCmdLine = 0x01,
    kAskFiles = 0x02,
    kHideOverwriteBox = 0x04,
    kOverwriteAlways = 0x08,
    kOverwriteNever = 0x10,
    kNoSizeCheck = 0x20,
    kAutoRun = 0x40,
    kNoSuccessMessage = 0x80,
};

} // namespace

uint8_t SfxSettingsBlock::Flags() const
{
    uint8_t flags = 0;
    if (AskCmdLine)
        flags |= kAskCmdLine;
    if (AskFiles)
        flags |= kAskFiles;
    if (HideOverwriteBox)
        flags |= kHideOverwriteBox;
    if (Overwrite == OverwriteMode::Always)
        flags |= kOverwriteAlways;
    if (Overwrite == OverwriteMode::Never)
        flags |= kOverwriteNever;
    // Stored inverted: a zero byte means the careful behaviour.
    if (!CheckSize)
        flags |= kNoSizeCheck;
    if (AutoRun)
        flags |= kAutoRun;
    if (NoSuccessMessage)
        flags |= kNoSuccessMessage;
    return flags;
}

QByteArray SfxSettingsBlock::Build() const
{
    const std::array<QByteArray, 4> texts = {Caption.toUtf8(), DefaultDir.toUtf8(), CommandLine.toUtf8(),
                                             Message.toUtf8()};
    qsizetype textBytes = 0;
    for (const QByteArray& text : texts) {
        if (text.size() > kMaxTextBytes)
            return {};
        textBytes += text.size();
    }
    const qsizetype unaligned = kFixedBytes + qsizetype(texts.size()) + textBytes;
    const qsizetype size = (unaligned + kAlignment - 1) / kAlignment * kAlignment;

    QByteArray block("MPV", 3);
    block.append(char(Flags()));
    block.append(char(0));
    block.append(char(1));
    block.append(char(size & 0xFF));
    block.append(char(size >> 8));
    for (const QByteArray& text : texts) {
        block.append(char(text.size()));
        block.append(text);
    }
    block.append(size - block.size(), char(0));
    return block;
}
