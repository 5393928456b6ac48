#include "viewers/image/TGifFile.h"

#include "viewers/image/EGifException.h"
#include "viewers/image/GifStream.h"

namespace {

constexpr uint8_t kExtensionIntroducer = 0x21;   // '!'
constexpr uint8_t kImageSeparator = 0x2C;        // ','
constexpr uint8_t kTrailer = 0x3B;               // ';'

} // namespace

TGifFile::TGifFile(qint64 maxPixels)
    : m_maxPixels(maxPixels)
    , m_signature("GIF")
    , m_version("87a")
{
}

void TGifFile::LoadFromBytes(const QByteArray& bytes, const std::function<void()>& rowDecoded)
{
    m_images.clear();
    m_pixelsHeld = 0;
    GifStream stream(bytes);
    ReadHeader(stream);
    ReadScreen(stream);
    ReadBlocks(stream, rowDecoded);
}

// Only the version is checked: the signature bytes are taken as they are.
void TGifFile::ReadHeader(GifStream& stream)
{
    m_signature = stream.Read(3);
    m_version = stream.Read(3);
    static const QByteArrayList known = {"87a", "89a", "87A", "89A"};
    if (!known.contains(m_version))
        throw EGifException(tr("Gif Version must be 87a or 89a"));
}

void TGifFile::ReadScreen(GifStream& stream)
{
    m_screenWidth = stream.ReadWord();
    m_screenHeight = stream.ReadWord();
    m_flags = stream.ReadByte();
    m_backgroundIndex = stream.ReadByte();
    m_aspectRatio = stream.ReadByte();
    m_hasGlobalTable = m_flags & 0x80;
    m_globalTableSize = 2 << (m_flags & 7);
    m_globalTable = TColorTable(m_globalTableSize);
    if (m_hasGlobalTable)
        m_globalTable.Read(stream);
}

// Anything but an extension or an image where a block should start ends the reading
// quietly, as does the end of the stream: the images before it stay.
void TGifFile::ReadBlocks(GifStream& stream, const std::function<void()>& rowDecoded)
{
    uint8_t next = stream.ReadByte();
    qsizetype lastRound = -1;
    while (next != kTrailer) {
        if (stream.AtEnd() || stream.Position() == lastRound)
            return;
        lastRound = stream.Position();
        TExtensionList extensions;
        while (next == kExtensionIntroducer) {
            extensions.append(TExtension::Read(stream));
            next = stream.ReadByte();
        }
        if (next != kImageSeparator)
            continue;
        auto image = std::make_unique<TGifSubImage>(*this, m_globalTableSize);
        image->SetExtensions(extensions);
        // Frames beyond the budget end the reading quietly: the first is what is shown.
        if (!image->Read(stream, rowDecoded))
            return;
        m_pixelsHeld += qint64(image->Width()) * image->Height();
        m_images.push_back(std::move(image));
        next = stream.AtEnd() ? kTrailer : stream.ReadByte();
    }
}
