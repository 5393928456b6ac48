// The picture control: shows one picture at its natural size, scaled to fit or
// stretched, optionally centred, framed or with its corner colour see-through, and
// loads BMP, GIF, JPEG and whatever else Qt reads. UI thread only.
#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QWidget>

class QRubberBand;

class TEnhImage : public QWidget {
    Q_OBJECT
public:
    enum TScaleStyle { ssNormal, ssScale, ssStretchXY, ssStretchX, ssStretchY };
    Q_ENUM(TScaleStyle)

    // What decides where the picture lands in the control.
    struct Layout {
        TScaleStyle Style = ssNormal;
        bool OverSize = false;
        bool Center = false;
        bool Border = false;
    };

    explicit TEnhImage(QWidget* parent = nullptr);

    // Shows the file's picture; throws EImageError (the picture stays as it was).
    void LoadFromFile(const QString& path);
    void Clear() { SetPicture({}); }

    const QImage& Picture() const { return m_picture; }
    void SetPicture(const QImage& picture);

    // The rectangle the picture is drawn into, in a control of the given size.
    static QRect PaintRect(QSize client, QSize picture, const Layout& layout);
    // The drag from `from` to `to` as a rectangle whose left/top precede right/bottom.
    static QRect OrderedRect(QPoint from, QPoint to);

    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool on) { Assign(m_autoSize, on); }
    bool BlockSmoothing() const { return m_blockSmoothing; }
    void SetBlockSmoothing(bool on) { m_blockSmoothing = on; }
    bool Border() const { return m_layout.Border; }
    void SetBorder(bool on) { Assign(m_layout.Border, on); }
    bool Center() const { return m_layout.Center; }
    void SetCenter(bool on) { Assign(m_layout.Center, on); }
    bool ForceGray() const { return m_forceGray; }
    void SetForceGray(bool on) { m_forceGray = on; }
    // Kept for the control's users; loading and painting do not read them.
    bool ForceOpaque() const { return m_forceOpaque; }
    void SetForceOpaque(bool on) { m_forceOpaque = on; }
    bool Optimize() const { return m_optimize; }
    void SetOptimize(bool on) { m_optimize = on; }
    int Quality() const { return m_quality; }
    void SetQuality(int quality) { m_quality = quality; }
    bool ShowProgress() const { return m_showProgress; }
    void SetShowProgress(bool on) { m_showProgress = on; }

    bool OverSize() const { return m_layout.OverSize; }
    void SetOverSize(bool on) { Assign(m_layout.OverSize, on); }
    int ScaleRatio() const { return m_scaleRatio; }
    void SetScaleRatio(int percent) { m_scaleRatio = percent; }
    TScaleStyle ScaleStyle() const { return m_layout.Style; }
    void SetScaleStyle(TScaleStyle style) { Assign(m_layout.Style, style); }
    bool Selectable() const { return m_selectable; }
    void SetSelectable(bool on) { m_selectable = on; }
    bool Smoothing() const { return m_smoothing; }
    void SetSmoothing(bool on) { Assign(m_smoothing, on); }
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool on) { Assign(m_transparent, on); }
    // Off: the tool tip text is kept but never shown.
    bool ShowHint() const { return m_showHint; }
    void SetShowHint(bool on) { m_showHint = on; }

Q_SIGNALS:
    // A finished rubber-band drag (OnSelection), in control coordinates.
    void Selection(const QRect& rect);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage ReadPicture(const QString& path);
    void FitToPicture();
    void PaintTransparent(QPainter& painter, const QRect& target) const;
    void Changed();
    // Layout and look: the control redraws (and fits its picture under AutoSize).
    template <typename T>
    void Assign(T& field, T value)
    {
        field = value;
        Changed();
    }

    QImage m_picture;
    Layout m_layout;
    bool m_autoSize = false;
    bool m_blockSmoothing = false;
    bool m_forceGray = false;
    bool m_forceOpaque = false;
    bool m_optimize = true;
    int m_quality = 80;
    int m_scaleRatio = 100;
    bool m_selectable = false;
    bool m_showProgress = false;
    bool m_smoothing = false;
    bool m_transparent = false;
    bool m_showHint = true;
    QRubberBand* m_rubberBand = nullptr;
    QPoint m_dragStart;
    bool m_selecting = false;
};
