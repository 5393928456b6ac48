// One image of a GIF file: its descriptor, colour table, compressed data, the decoded
// pixel matrix and the extension blocks that came before it.
#pragma once

#include "viewers/image/TByteArray2D.h"
#include "viewers/image/TByteBuffer.h"
#include "viewers/image/TColorTable.h"
#include "viewers/image/TExtension.h"

#include <QCoreApplication>
#include <functional>

class GifStream;
class TGifFile;

class TGifSubImage {
    Q_DECLARE_TR_FUNCTIONS(TGifSubImage)
public:
    // `colorCount` must be a power of 2 from 2 to 256; throws EGifException otherwise.
    TGifSubImage(const TGifFile& file, int colorCount);

    // Reads the image after its "," separator and decodes it; rowDecoded runs after
    // every decoded row. False, with nothing read past the descriptor, when a later
    // frame of an animation would exceed what the file may still hold.
    bool Read(GifStream& stream, const std::function<void()>& rowDecoded = {});

    const TGifFile& File() const { return m_file; }
    int Left() const { return m_left; }
    int Top() const { return m_top; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int Flags() const { return m_flags; }
    bool HasLocalTable() const { return m_hasLocalTable; }
    bool Interlaced() const { return m_interlaced; }
    int BitsPerPixel() const { return m_bitsPerPixel; }
    int CodeSize() const { return m_codeSize; }
    const TColorTable& ColorTable() const { return m_colorTable; }
    const TByteBuffer& CompressedData() const { return m_compressed; }
    const TByteArray2D& Pixels() const { return m_pixels; }
    const TExtensionList& Extensions() const { return m_extensions; }
    void SetExtensions(const TExtensionList& extensions) { m_extensions = extensions; }

private:
    void ReadDescriptor(GifStream& stream);
    void UseColorCount(int count);
    void ReadCompressedData(GifStream& stream);

    const TGifFile& m_file;
    int m_left = 0;
    int m_top = 0;
    int m_width = 0;
    int m_height = 0;
    int m_flags = 0;
    bool m_hasLocalTable = false;
    bool m_interlaced = false;
    int m_bitsPerPixel = 0;
    int m_codeSize = 0;
    TColorTable m_colorTable;
    TByteBuffer m_compressed;
    TByteArray2D m_pixels;
    TExtensionList m_extensions;
};
