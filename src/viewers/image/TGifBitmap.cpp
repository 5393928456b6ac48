#include "viewers/image/TGifBitmap.h"

#include "viewers/image/EGifException.h"
#include "viewers/image/GifToBmp.h"
#include "viewers/image/PictureFile.h"
#include "viewers/image/TGifFile.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QImageReader>
#include <QtEndian>
#include <cerrno>
#include <cstring>

namespace {

class Texts {
    Q_DECLARE_TR_FUNCTIONS(TGifBitmap)
public:
    static QString CannotRead(const QString& path, const QString& reason)
    {
        return tr("Cannot read the file %1: %2").arg(QDir::toNativeSeparators(path), reason);
    }
    static QString NoMemory(int width, int height)
    {
        return tr("Not enough memory to show the picture (%1 x %2 pixels).").arg(width).arg(height);
    }
    static QString Unreadable(const QString& reason) { return tr("The picture cannot be shown: %1").arg(reason); }
};

// Qt's readers refuse pictures over QImageReader::allocationLimit() (256 MB unless
// changed), and a row padded to 4 bytes can take the largest picture the decoder
// accepts past it. A reader given an image of the right size and format fills that one
// instead, so the picture is allocated here, without touching the process-wide limit.
QImage imageFromBmp(QByteArray bmp)
{
    const auto* header = reinterpret_cast<const uchar*>(bmp.constData());
    const int width = qFromLittleEndian<qint32>(header + 18);
    const int height = qFromLittleEndian<qint32>(header + 22);
    if (width == 0 || height == 0)
        return {};
    QImage image(width, height, QImage::Format_Indexed8);
    if (image.isNull())
        throw EImageError(Texts::NoMemory(width, height));
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    if (!reader.read(&image))
        throw EImageError(Texts::Unreadable(reader.errorString()));
    return image;
}

} // namespace

QImage TGifBitmap::FromBytes(const QByteArray& bytes, const std::function<void()>& rowDecoded)
{
    QByteArray bmp;
    {
        // The decoded matrices go before the QImage is made: the largest pictures need
        // the room.
        TGifFile gif;
        gif.LoadFromBytes(bytes, rowDecoded);
        bmp = GifToBmp::FirstImage(gif);
    }
    return imageFromBmp(std::move(bmp));
}

QImage TGifBitmap::FromFile(const QString& path, const std::function<void()>& rowDecoded)
{
    const UntrustedFile file = PictureFile::Open(path, kMaxFileSize, {"GIF87a", "GIF89a", "GIF87A", "GIF89A"});
    QByteArray bytes(qsizetype(file.Size()), Qt::Uninitialized);
    errno = 0;
    if (!file.ReadAt(0, bytes.data(), size_t(bytes.size())))   // errno stays 0 when the file got shorter
        throw EImageError(Texts::CannotRead(path, QString::fromLocal8Bit(std::strerror(errno ? errno : EIO))));
    return FromBytes(bytes, rowDecoded);
}
