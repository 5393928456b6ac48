// Decodes JPEG pictures into QImages through libjpeg, with the picture control's
// choices: scaling while decoding, block smoothing, grey output, and the 256-colour
// dithered output an 8-bit screen needs. Files and memory take the same path.
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QImage>
#include <QString>

struct JpegOptions {
    int ScaleRatio = 100;      // percent; libjpeg scales in steps of 1/8, rounding up
    bool BlockSmoothing = false;
    bool ForceGray = false;
    int ScreenDepth = 24;      // 8 asks for 256 colours with Floyd-Steinberg dithering
    // Pictures larger than this, as stored or as decoded, are refused before any
    // pixel memory is taken; the viewer never lowers it.
    qint64 MaxPixels = 16384LL * 16384;
};

class JpegLoader {
    Q_DECLARE_TR_FUNCTIONS(JpegLoader)
public:
    // A file that cannot be opened or read is reported in a warning and gives an empty
    // image. Throws EImageError with libjpeg's text for a broken picture, and naming the
    // file when it is no regular file, too large or no JPEG stream.
    static QImage FromFile(const QString& path, const JpegOptions& options = {});
    static QImage FromBytes(const QByteArray& bytes, const JpegOptions& options = {});
};
