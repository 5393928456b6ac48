// Writes the first image of a GIF file as an 8-bit Windows bitmap in memory: the form
// every picture loader reads, palette and all.
#pragma once

#include <QByteArray>
#include <QCoreApplication>

class TGifFile;

class GifToBmp {
    Q_DECLARE_TR_FUNCTIONS(GifToBmp)
public:
    // The palette is the image's local table if it has one, else the file's global
    // table. Throws EGifException when the file holds no image.
    static QByteArray FirstImage(const TGifFile& file);

    static constexpr int kPixelDataOffset = 14 + 40 + 256 * 4;
};
