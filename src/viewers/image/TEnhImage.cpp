#include "viewers/image/TEnhImage.h"

#include "viewers/image/EImageError.h"
#include "viewers/image/JpegLoader.h"
#include "viewers/image/PictureFile.h"
#include "viewers/image/TGifBitmap.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>
#include <QScreen>
#include <algorithm>
#include <memory>

namespace {

// The busy cursor for as long as a picture loads, however the load ends.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

// In integers, so that the side that fits comes out exactly the area's: a ratio in
// floating point times the picture's side can land a hair below it and lose a pixel.
QSize scaledToFit(QSize picture, QSize area, bool overSize)
{
    const bool fits = picture.width() <= area.width() && picture.height() <= area.height();
    if (picture.isEmpty() || (fits && !overSize))
        return picture;
    const qint64 pw = picture.width(), ph = picture.height(), aw = area.width(), ah = area.height();
    if (aw * ph <= ah * pw)
        return QSize(int(aw), int(ph * aw / pw));
    return QSize(int(pw * ah / ph), int(ah));
}

bool isJpegName(const QString& path)
{
    const QString ext = QFileInfo(path).suffix().toUpper();
    return ext == QLatin1String("JPG") || ext == QLatin1String("JPEG") || ext == QLatin1String("JFIF");
}

bool isGifName(const QString& path)
{
    return QFileInfo(path).suffix().toUpper() == QLatin1String("GIF");
}

} // namespace

TEnhImage::TEnhImage(QWidget* parent)
    : QWidget(parent)
{
    resize(105, 105);
}

void TEnhImage::LoadFromFile(const QString& path)
{
    const BusyCursor busy;
    SetPicture(ReadPicture(path));
}

QImage TEnhImage::ReadPicture(const QString& path)
{
    if (isJpegName(path)) {
        JpegOptions options;
        options.ScaleRatio = m_scaleRatio;
        options.BlockSmoothing = m_blockSmoothing;
        options.ForceGray = m_forceGray;
        options.ScreenDepth = screen() ? screen()->depth() : 24;
        return JpegLoader::FromFile(path, options);
    }
    if (isGifName(path)) {
        // A large GIF decodes for a while: keep the window painting, at most 20 times
        // a second, but let no click start something else meanwhile.
        auto sinceRepaint = std::make_shared<QElapsedTimer>();
        sinceRepaint->start();
        return TGifBitmap::FromFile(path, [this, sinceRepaint] {
            if (sinceRepaint->elapsed() < 50)
                return;
            update();
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            sinceRepaint->restart();
        });
    }
    QFile file;
    file.open(PictureFile::Open(path).Release(), QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    QImageReader reader(&file, QFileInfo(path).suffix().toLatin1());
    QImage picture = reader.read();
    if (picture.isNull())
        throw EImageError(tr("The picture %1 cannot be shown: %2").arg(path, reader.errorString()));
    return picture;
}

void TEnhImage::SetPicture(const QImage& picture)
{
    m_picture = picture;
    Changed();
}

void TEnhImage::Changed()
{
    if (m_autoSize)
        FitToPicture();
    update();
}

void TEnhImage::FitToPicture()
{
    if (m_picture.isNull())
        return;
    const int frame = m_layout.Border ? 2 : 0;
    resize(m_picture.width() + frame, m_picture.height() + frame);
}

QRect TEnhImage::PaintRect(QSize client, QSize picture, const Layout& layout)
{
    const int inset = layout.Border ? 1 : 0;
    const QSize area(std::max(0, client.width() - 2 * inset), std::max(0, client.height() - 2 * inset));
    QSize size = picture;
    switch (layout.Style) {
    case ssNormal:
        break;
    case ssScale:
        size = scaledToFit(picture, area, layout.OverSize);
        break;
    case ssStretchXY:
        size = area;
        break;
    case ssStretchX:
        size.setWidth(area.width());
        break;
    case ssStretchY:
        size.setHeight(area.height());
        break;
    }
    QPoint topLeft(inset, inset);
    if (layout.Center)
        topLeft += QPoint((area.width() - size.width()) / 2, (area.height() - size.height()) / 2);
    return QRect(topLeft, size);
}

QRect TEnhImage::OrderedRect(QPoint from, QPoint to)
{
    return QRect(QPoint(std::min(from.x(), to.x()), std::min(from.y(), to.y())),
                 QPoint(std::max(from.x(), to.x()), std::max(from.y(), to.y())));
}

void TEnhImage::paintEvent(QPaintEvent*)
{
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    if (m_layout.Border) {
        painter.setPen(Qt::black);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    const QRect target = PaintRect(size(), m_picture.size(), m_layout);
    if (target.isEmpty())
        return;
    painter.setRenderHint(QPainter::SmoothPixmapTransform, m_smoothing);
    if (m_transparent)
        PaintTransparent(painter, target);
    else
        painter.drawImage(target, m_picture);
}

void TEnhImage::PaintTransparent(QPainter& painter, const QRect& target) const
{
    QImage stretched = m_picture
                           .scaled(target.size(), Qt::IgnoreAspectRatio,
                                   m_smoothing ? Qt::SmoothTransformation : Qt::FastTransformation)
                           .convertToFormat(QImage::Format_ARGB32);
    const QRgb key = stretched.pixel(0, stretched.height() - 1) & RGB_MASK;
    for (int y = 0; y < stretched.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(stretched.scanLine(y));
        for (int x = 0; x < stretched.width(); ++x) {
            if ((line[x] & RGB_MASK) == key)
                line[x] = 0;
        }
    }
    painter.fillRect(target, palette().color(QPalette::Button));
    painter.drawImage(target.topLeft(), stretched);
}

bool TEnhImage::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip && !m_showHint)
        return true;
    return QWidget::event(event);
}

void TEnhImage::mousePressEvent(QMouseEvent* event)
{
    if (m_selectable && event->button() == Qt::LeftButton) {
        m_dragStart = event->position().toPoint();
        if (!m_rubberBand)
            m_rubberBand = new QRubberBand(QRubberBand::Rectangle, this);
        m_rubberBand->setGeometry(QRect(m_dragStart, QSize()));
        m_rubberBand->show();
        m_selecting = true;
    }
    QWidget::mousePressEvent(event);
}

void TEnhImage::mouseMoveEvent(QMouseEvent* event)
{
    if (m_selecting)
        m_rubberBand->setGeometry(OrderedRect(m_dragStart, event->position().toPoint()));
    QWidget::mouseMoveEvent(event);
}

void TEnhImage::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && m_selecting) {
        m_selecting = false;
        m_rubberBand->hide();
        Q_EMIT Selection(OrderedRect(m_dragStart, event->position().toPoint()));
    }
    QWidget::mouseReleaseEvent(event);
}
