// The GIF loader of the picture control: the program's own decoder turns the first
// image into an 8-bit BMP in memory, and Qt's BMP reader makes the QImage from it.
#pragma once

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
    // An unreadable file throws EImageError naming it.
    static QImage FromFile(const QString& path, const std::function<void()>& rowDecoded = {});
};
