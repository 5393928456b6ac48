// Decoding a 4000 x 3000 GIF of 256 colours (plasma noise from ImageMagick, so the code
// table fills and clears many times) to the pixel matrix and the in-memory bitmap,
// against giflib's DGifSlurp of the same bytes. Both sides read from memory. Without
// ImageMagick the picture is written through giflib. DV_BENCH_SMALL=1 makes it
// 1000 x 750.
#include "BenchSupport.h"

#include "viewers/image/GifToBmp.h"
#include "viewers/image/TGifFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstring>
#include <gif_lib.h>
#include <vector>

namespace {

// Bands of colour with noise in them: long runs and short ones, as in photos.
bool writeWithGiflib(const QString& path, int width, int height)
{
    int error = 0;
    GifFileType* gif = EGifOpenFileName(QFile::encodeName(path).constData(), false, &error);
    if (!gif)
        return false;
    GifColorType colors[256];
    for (int i = 0; i < 256; ++i)
        colors[i] = {GifByteType(i), GifByteType(255 - i), GifByteType(i * 7)};
    ColorMapObject* map = GifMakeMapObject(256, colors);
    bool ok = EGifPutScreenDesc(gif, width, height, 8, 0, map) == GIF_OK &&
              EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr) == GIF_OK;
    std::vector<GifPixelType> line(static_cast<size_t>(width));
    uint32_t noise = 12345;
    for (int y = 0; ok && y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            noise = noise * 1103515245 + 12345;
            line[size_t(x)] = GifPixelType((x / 16 + y / 16 + ((noise >> 16) % 4)) & 0xFF);
        }
        ok = EGifPutLine(gif, line.data(), width) == GIF_OK;
    }
    GifFreeMapObject(map);
    return EGifCloseFile(gif, &error) == GIF_OK && ok;
}

QByteArray makePicture(const QString& folder, int width, int height)
{
    const QString path = folder + QStringLiteral("/big.gif");
    const QString size = QStringLiteral("%1x%2").arg(width).arg(height);
    if (!bench::runQuiet({QStringLiteral("convert"), QStringLiteral("-seed"), QStringLiteral("1"), QStringLiteral("-size"),
                          size, QStringLiteral("plasma:fractal"), QStringLiteral("-colors"), QStringLiteral("256"), path}))
        writeWithGiflib(path, width, height);
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct MemoryInput {
    const QByteArray* bytes;
    qsizetype at;
};

int readFromMemory(GifFileType* gif, GifByteType* to, int count)
{
    auto* input = static_cast<MemoryInput*>(gif->UserData);
    const int n = int(std::min<qsizetype>(count, input->bytes->size() - input->at));
    std::memcpy(to, input->bytes->constData() + input->at, size_t(n));
    input->at += n;
    return n;
}

bool giflibSlurp(const QByteArray& bytes)
{
    MemoryInput input{&bytes, 0};
    int error = 0;
    GifFileType* gif = DGifOpen(&input, readFromMemory, &error);
    if (!gif)
        return false;
    const bool ok = DGifSlurp(gif) == GIF_OK;
    DGifCloseFile(gif, &error);
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const bool small = qEnvironmentVariableIntValue("DV_BENCH_SMALL") == 1;
    const int width = small ? 1000 : 4000;
    const int height = small ? 750 : 3000;
    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/dorvane-bench-XXXXXX"));
    const QByteArray bytes = dir.isValid() ? makePicture(dir.path(), width, height) : QByteArray();
    if (bytes.isEmpty() || !giflibSlurp(bytes)) {
        std::fprintf(stderr, "cannot make a %dx%d GIF under %s\n", width, height, qPrintable(QDir::tempPath()));
        return 1;
    }
    qsizetype bitmapSize = 0;
    bench::compare(
        "gif_decode_vs_giflib", small ? 9 : 5,
        [&] {
            TGifFile gif;
            gif.LoadFromBytes(bytes);
            bitmapSize = GifToBmp::FirstImage(gif).size();
        },
        [&] { giflibSlurp(bytes); });
    return bitmapSize == GifToBmp::kPixelDataOffset + qsizetype(width) * height ? 0 : 1;
}
