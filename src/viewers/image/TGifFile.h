// A GIF file (87a or 89a) read from memory: header, logical screen, global colour
// table and every image, each decoded on reading. Extensions are kept, not applied.
#pragma once

#include "viewers/image/TColorTable.h"
#include "viewers/image/TGifSubImage.h"

#include <QByteArray>
#include <QCoreApplication>
#include <functional>
#include <memory>
#include <vector>

class GifStream;

class TGifFile {
    Q_DECLARE_TR_FUNCTIONS(TGifFile)
public:
    // The matrix a descriptor may ask for: 16384 x 16384 one-byte pixels, 256 MiB. A
    // larger image is refused before anything is allocated. The viewer never lowers it.
    static constexpr qint64 kMaxPixels = 268435456;

    explicit TGifFile(qint64 maxPixels = kMaxPixels);
    TGifFile(const TGifFile&) = delete;
    TGifFile& operator=(const TGifFile&) = delete;

    // Throws EGifException with the text for the user. A file cut short keeps what was
    // read before the cut. rowDecoded runs after every decoded row of every image.
    // The images' compressed data stay views into `bytes` (shared, not copied).
    void LoadFromBytes(const QByteArray& bytes, const std::function<void()>& rowDecoded = {});

    const QByteArray& Signature() const { return m_signature; }
    const QByteArray& Version() const { return m_version; }
    int ScreenWidth() const { return m_screenWidth; }
    int ScreenHeight() const { return m_screenHeight; }
    int Flags() const { return m_flags; }
    int BackgroundIndex() const { return m_backgroundIndex; }
    int AspectRatio() const { return m_aspectRatio; }
    bool HasGlobalTable() const { return m_hasGlobalTable; }
    int GlobalTableSize() const { return m_globalTableSize; }
    const TColorTable& GlobalTable() const { return m_globalTable; }
    int ImageCount() const { return int(m_images.size()); }
    const TGifSubImage& Image(int index) const { return *m_images.at(size_t(index)); }
    qint64 MaxPixels() const { return m_maxPixels; }
    // What later images of an animation may still hold: every image is kept, and a
    // small file of many large frames must not take all memory before the first shows.
    qint64 PixelsLeft() const { return kFramesBudget * m_maxPixels - m_pixelsHeld; }
    static constexpr qint64 kFramesBudget = 4;

private:
    void ReadHeader(GifStream& stream);
    void ReadScreen(GifStream& stream);
    void ReadBlocks(GifStream& stream, const std::function<void()>& rowDecoded);

    const qint64 m_maxPixels;
    qint64 m_pixelsHeld = 0;
    QByteArray m_signature;
    QByteArray m_version;
    int m_screenWidth = 0;
    int m_screenHeight = 0;
    int m_flags = 0;
    int m_backgroundIndex = 0;
    int m_aspectRatio = 0;
    bool m_hasGlobalTable = false;
    int m_globalTableSize = 0;
    TColorTable m_globalTable;
    std::vector<std::unique_ptr<TGifSubImage>> m_images;
};
