// The GIF loader of the picture control: the program's own decoder turns the first
// image into an 8-bit BMP in memory, and Qt's BMP reader makes the QImage from it.
#pragma once

#include "viewers/image/TGifFile.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <functional>

class TGifBitmap {
public:
    // The first image of the GIF as an 8-bit indexed QImage; null when that image has no
    // pixels. Throws EGifException or EImageError with the text for the user.
    // rowDecoded runs after every decoded row.
    static QImage FromBytes(const QByteArray& bytes, const std::function<void()>& rowDecoded = {});
    // Every image the decoder accepts fits in this, compressed at its worst (12-bit codes
    // of one pixel each) with room for tables and extensions; a larger file is refused
    // before it is read, since it is read whole.
    static constexpr qint64 kMaxFileSize = TGifFile::kMaxPixels * 3 / 2 + (qint64(1) << 20);
    // An unreadable file, or one that is no GIF file or larger, throws EImageError naming it.
    static QImage FromFile(const QString& path, const std::function<void()>& rowDecoded = {});
};
