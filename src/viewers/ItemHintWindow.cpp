// Unlike a tool tip the hint has no short time-out: it stays while the user reads it
// and goes with the first sign that attention moved on (cursor off the item, a key, a
// click, the owner going away).
#include "ItemHintWindow.h"

#include "ItemHint.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QStyleOption>
#include <QToolTip>
#include <QtMath>

namespace {

QPointer<ItemHintWindow> s_current;

} // namespace

void ItemHintWindow::Show(QWidget* owner, const QPoint& globalCursor, const QRect& globalHotRect,
                          const QString& text, int maxWidth)
{
    Hide();
    if (!owner || text.isEmpty())
        return;
    s_current = new ItemHintWindow(owner, globalHotRect, text, maxWidth);
    s_current->PlaceNear(globalCursor);
    s_current->show();
    qApp->installEventFilter(s_current);
}

void ItemHintWindow::Hide()
{
    if (!s_current)
        return;
    // May run inside the hint's own event filter, so the window goes later.
    qApp->removeEventFilter(s_current);
    s_current->hide();
    s_current->deleteLater();
    s_current = nullptr;
}

ItemHintWindow* ItemHintWindow::Current()
{
    return s_current;
}

ItemHintWindow::ItemHintWindow(QWidget* owner, const QRect& globalHotRect, const QString& text, int maxWidth)
    : QWidget(owner->window(), Qt::ToolTip | Qt::FramelessWindowHint)
    , m_owner(owner)
    , m_hotRect(globalHotRect)
{
    setObjectName(QStringLiteral("ItemHint"));
    setAccessibleName(text);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setPalette(QToolTip::palette());
    setFont(QToolTip::font());
    LayOutText(text, maxWidth);
    m_hideTimer.setSingleShot(true);
    connect(&m_hideTimer, &QTimer::timeout, this, &ItemHintWindow::Hide);
    m_hideTimer.start(ItemHint::kHideMsecs);
}

void ItemHintWindow::CursorMovedTo(const QPoint& globalCursor)
{
    if (!m_hotRect.contains(globalCursor))
        Hide();
}

bool ItemHintWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_owner && (event->type() == QEvent::Hide || event->type() == QEvent::Leave))
        Hide();
    else if (event->type() == QEvent::MouseMove) // reaches application filters even without mouse tracking
        CursorMovedTo(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
    else if (EndsHint(event->type()))
        Hide();
    return false;
}

bool ItemHintWindow::EndsHint(QEvent::Type type)
{
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ApplicationDeactivate:
        return true;
    default:
        return false;
    }
}

void ItemHintWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QStyleOptionFrame panel;
    panel.initFrom(this);
    style()->drawPrimitive(QStyle::PE_PanelTipLabel, &panel, &painter, this);
    painter.translate(Margin(), Margin());
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette = palette();
    context.palette.setColor(QPalette::Text, palette().color(QPalette::ToolTipText));
    m_document.documentLayout()->draw(&painter, context);
}

int ItemHintWindow::Margin() const
{
    return style()->pixelMetric(QStyle::PM_ToolTipLabelFrameWidth, nullptr, this) + 2;
}

void ItemHintWindow::LayOutText(const QString& text, int maxWidth)
{
    m_document.setDefaultFont(font());
    m_document.setDocumentMargin(0);
    // Word wrap that still breaks a long file name with no spaces in it.
    QTextOption option = m_document.defaultTextOption();
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_document.setDefaultTextOption(option);
    // Plain text: file names may contain '<' and must not be read as markup.
    m_document.setPlainText(QString(text).replace(u'\r', u'\n'));
    const int textWidth = qMax(1, maxWidth - 2 * Margin());
    m_document.setTextWidth(textWidth);
    m_document.setTextWidth(qMin(textWidth, qCeil(m_document.idealWidth())));
    resize(qCeil(m_document.size().width()) + 2 * Margin(), qCeil(m_document.size().height()) + 2 * Margin());
}

void ItemHintWindow::PlaceNear(const QPoint& globalCursor)
{
    QPoint topLeft = globalCursor + QPoint(ItemHint::kOffset, ItemHint::kOffset);
    const QScreen* screen = QGuiApplication::screenAt(globalCursor);
    if (!screen)
        screen = m_owner->screen();
    const QRect area = screen->availableGeometry();
    // Past an edge the hint flips to the cursor's other side, so it never lies under
    // the cursor and steals the mouse from the item.
    if (topLeft.x() + width() > area.right() + 1)
        topLeft.setX(globalCursor.x() - ItemHint::kOffset - width());
    if (topLeft.y() + height() > area.bottom() + 1)
        topLeft.setY(globalCursor.y() - ItemHint::kOffset - height());
    topLeft.setX(qBound(area.left(), topLeft.x(), qMax(area.left(), area.right() + 1 - width())));
    topLeft.setY(qBound(area.top(), topLeft.y(), qMax(area.top(), area.bottom() + 1 - height())));
    move(topLeft);
}
