// The window that shows an item hint next to the cursor and keeps it up while the
// cursor stays on the item. One hint at a time, shared by the panes and the drive bar.
#pragma once

#include <QEvent>
#include <QPointer>
#include <QRect>
#include <QTextDocument>
#include <QTimer>
#include <QWidget>

class ItemHintWindow : public QWidget {
    Q_OBJECT
public:
    // Replaces any hint shown. `text` is plain, its lines separated by "\r";
    // `globalHotRect` is where the cursor may move without hiding it.
    static void Show(QWidget* owner, const QPoint& globalCursor, const QRect& globalHotRect, const QString& text,
                     int maxWidth);
    static void Hide();
    // The hint on screen, or null.
    static ItemHintWindow* Current();

    // Hides the hint once the cursor is outside its hot rectangle.
    void CursorMovedTo(const QPoint& globalCursor);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    ItemHintWindow(QWidget* owner, const QRect& globalHotRect, const QString& text, int maxWidth);
    int Margin() const;
    void LayOutText(const QString& text, int maxWidth);
    void PlaceNear(const QPoint& globalCursor);
    static bool EndsHint(QEvent::Type type);

    QPointer<QWidget> m_owner;
    QRect m_hotRect;
    QTextDocument m_document;
    QTimer m_hideTimer;
};
