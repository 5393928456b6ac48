// Loading a 4000 x 3000 photo-like JPEG into a QImage against libjpeg's own djpeg
// decoding the same file to /dev/null, each from the page cache.
#include "BenchSupport.h"

#include "viewers/image/JpegLoader.h"

#include <QCoreApplication>
#include <QTemporaryDir>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/dorvane-bench-XXXXXX"));
    const QString path = dir.filePath(QStringLiteral("big.jpg"));
    if (!dir.isValid()
        || !bench::runQuiet({QStringLiteral("convert"), QStringLiteral("-size"), QStringLiteral("4000x3000"),
                             QStringLiteral("plasma:fractal"), QStringLiteral("-quality"), QStringLiteral("90"), path})) {
        std::fprintf(stderr, "cannot make %s with ImageMagick's convert\n", qPrintable(path));
        return 1;
    }
    QImage last;
    bench::compare("jpeg_load_vs_djpeg", 7, [&] { last = JpegLoader::FromFile(path); },
                   [&] { bench::runQuiet({QStringLiteral("djpeg"), QStringLiteral("-outfile"), QStringLiteral("/dev/null"), path}); });
    return last.size() == QSize(4000, 3000) ? 0 : 1;
}
