#include "viewers/image/JpegLoader.h"

#include "platform/TMessages.h"
#include "viewers/image/EImageError.h"
#include "viewers/image/PictureFile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sys/mman.h>
// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>

namespace {

// libjpeg ends a fatal error by calling error_exit, which must not return. Throwing
// from there would unwind through the library's C frames, which works only when
// libjpeg happens to be built with unwind tables. A longjmp back into Decompressor::Run
// works with any build: it skips only libjpeg's frames and the step's, and the steps
// hold nothing with a destructor. Run then returns false and the caller throws.
struct ErrorManager {
    jpeg_error_mgr base; // first: libjpeg hands back a pointer to it
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    bool tooManyScans;
};

// Every scan of a progressive picture passes over all of it, and a few bytes make a
// scan: a small file could keep the window busy for minutes. Real encoders write
// about a dozen.
constexpr int kMaxScans = 500;

void jumpOut(j_common_ptr cinfo)
{
    auto* manager = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, manager->message);
    std::longjmp(manager->jump, 1);
}

void limitScans(j_common_ptr cinfo)
{
    if (!cinfo->is_decompressor || reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number <= kMaxScans)
        return;
    reinterpret_cast<ErrorManager*>(cinfo->err)->tooManyScans = true;
    std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

// Warnings (data ending early, stray bytes) leave a picture worth showing; libjpeg
// would print them on stderr.
void stayQuiet(j_common_ptr) {}

using Step = void (*)(j_decompress_ptr cinfo, void* context);

class Decompressor {
public:
    Decompressor()
    {
        std::memset(&m_cinfo, 0, sizeof m_cinfo);
        m_cinfo.err = jpeg_std_error(&m_error.base);
        m_error.base.error_exit = jumpOut;
        m_error.base.output_message = stayQuiet;
        m_error.tooManyScans = false;
        m_progress.progress_monitor = limitScans;
        m_created = Run([](j_decompress_ptr cinfo, void*) { jpeg_create_decompress(cinfo); }, nullptr);
        m_cinfo.progress = &m_progress;
    }
    ~Decompressor() { jpeg_destroy_decompress(&m_cinfo); }
    Decompressor(const Decompressor&) = delete;
    Decompressor& operator=(const Decompressor&) = delete;

    // False when libjpeg failed; its text is then in the error manager.
    bool Run(Step step, void* context)
    {
        if (setjmp(m_error.jump))
            return false;
        step(&m_cinfo, context);
        return true;
    }
    void RunOrThrow(Step step, void* context)
    {
        if (m_created && Run(step, context))
            return;
        if (m_error.tooManyScans)
            throw EImageError(JpegLoader::tr("The picture has more than %1 scans.").arg(kMaxScans));
        throw EImageError(QString::fromLocal8Bit(m_error.message));
    }
    jpeg_decompress_struct& Info() { return m_cinfo; }

private:
    jpeg_decompress_struct m_cinfo;
    ErrorManager m_error;
    jpeg_progress_mgr m_progress{};
    bool m_created = false;
};

bool isCmyk(const jpeg_decompress_struct& cinfo)
{
    return cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
}

// Four bytes a pixel land straight in a Format_RGB32 row; the alpha byte must be 0xff.
constexpr J_COLOR_SPACE kRgb32Space = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRA : JCS_EXT_ARGB;

void readHeader(j_decompress_ptr cinfo, void* context)
{
    const auto& options = *static_cast<const JpegOptions*>(context);
    jpeg_save_markers(cinfo, JPEG_COM, 0);
    jpeg_read_header(cinfo, TRUE);
    cinfo->scale_num = unsigned(std::max(1, options.ScaleRatio));
    cinfo->scale_denom = 100;
    cinfo->do_block_smoothing = options.BlockSmoothing;
    // libjpeg turns CMYK into neither RGB nor grey: that conversion is ours.
    if (isCmyk(*cinfo)) {
        cinfo->out_color_space = JCS_CMYK;
    } else if (options.ForceGray) {
        cinfo->out_color_space = JCS_GRAYSCALE;
    } else if (options.ScreenDepth == 8) {
        cinfo->out_color_space = JCS_RGB;
        cinfo->quantize_colors = TRUE;
        cinfo->desired_number_of_colors = 256;
        cinfo->dither_mode = JDITHER_FS;
    } else {
        cinfo->out_color_space = kRgb32Space;
    }
    jpeg_calc_output_dimensions(cinfo);
}

// Photoshop, which writes the Adobe marker, stores CMYK inverted.
void cmykToRgb32(JSAMPROW row, JDIMENSION width, bool inverted)
{
    for (JDIMENSION x = 0; x < width; ++x) {
        JSAMPLE* p = row + 4 * size_t(x);
        int c = p[0], m = p[1], y = p[2], k = p[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        const QRgb rgb = qRgb(c * k / 255, m * k / 255, y * k / 255);
        std::memcpy(p, &rgb, sizeof rgb);
    }
}

struct Rows {
    uchar* bits;
    qsizetype stride;
    QRgb colors[256];
    int colorCount;
};

void readRows(j_decompress_ptr cinfo, void* context)
{
    auto& rows = *static_cast<Rows*>(context);
    jpeg_start_decompress(cinfo);
    // The two-pass quantiser has chosen its colours once start returns.
    rows.colorCount = cinfo->quantize_colors ? std::min(cinfo->actual_number_of_colors, 256) : 0;
    for (int i = 0; i < rows.colorCount; ++i) {
        const JSAMPARRAY map = cinfo->colormap;
        const bool grey = cinfo->out_color_components == 1;
        rows.colors[i] = grey ? qRgb(map[0][i], map[0][i], map[0][i]) : qRgb(map[0][i], map[1][i], map[2][i]);
    }
    const bool cmyk = cinfo->out_color_space == JCS_CMYK;
    while (cinfo->output_scanline < cinfo->output_height) {
        JSAMPROW row = rows.bits + qsizetype(cinfo->output_scanline) * rows.stride;
        if (jpeg_read_scanlines(cinfo, &row, 1) != 1)
            break;
        if (cmyk)
            cmykToRgb32(row, cinfo->output_width, cinfo->saw_Adobe_marker);
    }
    // The rest of the stream (the end marker) is not needed: destroying the
    // decompressor frees everything, and a broken trailer costs no picture.
}

// A photo's pixels are tens of megabytes written once, straight after allocation:
// faulted in 4 KiB pages, that first touch can cost more than the decoding itself.
// Transparent huge pages take a 2 MiB page per fault instead.
constexpr qsizetype kHugePageWorthy = 4 << 20;

struct Mapping {
    void* address;
    size_t length;
};

void unmapPicture(void* info)
{
    auto* mapping = static_cast<Mapping*>(info);
    ::munmap(mapping->address, mapping->length);
    delete mapping;
}

QImage newPicture(int width, int height, QImage::Format format)
{
    const qsizetype stride = (qsizetype(width) * QImage::toPixelFormat(format).bitsPerPixel() + 31) / 32 * 4;
    const size_t length = size_t(stride) * size_t(height);
    if (qsizetype(length) < kHugePageWorthy)
        return QImage(width, height, format);
    void* address = ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (address == MAP_FAILED)
        return {};
    ::madvise(address, length, MADV_HUGEPAGE);
    auto* mapping = new Mapping{address, length};
    QImage image(static_cast<uchar*>(address), width, height, stride, format, unmapPicture, mapping);
    if (image.isNull())
        unmapPicture(mapping);
    return image;
}

QImage::Format formatOf(const jpeg_decompress_struct& cinfo)
{
    if (cinfo.quantize_colors)
        return QImage::Format_Indexed8;
    return cinfo.out_color_space == JCS_GRAYSCALE ? QImage::Format_Grayscale8 : QImage::Format_RGB32;
}

void refuseHuge(qint64 width, qint64 height, qint64 maxPixels)
{
    if (width * height > maxPixels)
        throw EImageError(JpegLoader::tr("The picture is too large (%1 x %2 pixels; at most 268,435,456 pixels are shown).")
                              .arg(width)
                              .arg(height));
}

QImage decode(Decompressor& jpeg, const JpegOptions& options)
{
    jpeg_decompress_struct& cinfo = jpeg.Info();
    // A progressive picture keeps every coefficient in memory; 8 bytes a pixel covers
    // three full-resolution components, and libjpeg refuses rather than exceed it.
    cinfo.mem->max_memory_to_use = long(std::min<qint64>(options.MaxPixels * 8, LONG_MAX));
    jpeg.RunOrThrow(readHeader, const_cast<JpegOptions*>(&options));
    refuseHuge(cinfo.image_width, cinfo.image_height, options.MaxPixels);
    refuseHuge(cinfo.output_width, cinfo.output_height, options.MaxPixels);

    QImage image = newPicture(int(cinfo.output_width), int(cinfo.output_height), formatOf(cinfo));
    if (image.isNull())
        throw EImageError(JpegLoader::tr("Not enough memory to show the picture (%1 x %2 pixels).")
                              .arg(cinfo.output_width)
                              .arg(cinfo.output_height));
    Rows rows{image.bits(), image.bytesPerLine(), {}, 0};
    jpeg.RunOrThrow(readRows, &rows);
    if (rows.colorCount > 0)
        image.setColorTable(QList<QRgb>(rows.colors, rows.colors + rows.colorCount));
    if (options.ForceGray && image.format() != QImage::Format_Grayscale8)
        image.convertTo(QImage::Format_Grayscale8); // a CMYK picture, made RGB above
    return image;
}

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};

} // namespace

QImage JpegLoader::FromFile(const QString& path, const JpegOptions& options)
{
    // Every JPEG stream starts with the start-of-image marker.
    UntrustedFile opened = PictureFile::OpenUnlessUnopenable(path, PictureFile::kMaxSize, {"\xFF\xD8"});
    const std::unique_ptr<FILE, FileCloser> file(opened.Ok() ? ::fdopen(opened.Fd(), "rb") : nullptr);
    if (!file) {
        const int error = opened.Ok() ? errno : opened.Error();
        TMessages::Show(MsgKind::Warning, tr("Can't open %1 (error code %2)").arg(path).arg(error), MsgButtons::Ok);
        return {};
    }
    opened.Release();   // the stream closes it now
    Decompressor jpeg;
    jpeg.RunOrThrow([](j_decompress_ptr cinfo, void* f) { jpeg_stdio_src(cinfo, static_cast<FILE*>(f)); },
                    file.get());
    return decode(jpeg, options);
}

QImage JpegLoader::FromBytes(const QByteArray& bytes, const JpegOptions& options)
{
    Decompressor jpeg;
    jpeg.RunOrThrow(
        [](j_decompress_ptr cinfo, void* b) {
            const auto& data = *static_cast<const QByteArray*>(b);
            jpeg_mem_src(cinfo, reinterpret_cast<const unsigned char*>(data.constData()), (unsigned long)data.size());
        },
        const_cast<QByteArray*>(&bytes));
    return decode(jpeg, options);
}
