// Draws a pane's rows: icon, name, size, time and description cells placed under the
// pane header's sections, with the viewer, hidden and read-only markers, and the
// free/total space of volume rows. Rows are 17 pixels high.
#pragma once

#include <QStyledItemDelegate>

class QHeaderView;
class TDirData;
struct PaneDrawContext;
struct TFileData;

constexpr int kPaneRowHeight = 17;

class PaneItemDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    PaneItemDelegate(TDirData& pane, const PaneDrawContext& context, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    struct Cell {
        int left;
        int width;           // section width
    };
    Cell cell(int section, const QRect& row) const;
    void drawIcon(QPainter* p, const QRect& row, TFileData& e) const;
    void drawSizeText(QPainter* p, const QRect& row, const QString& text) const;
    void drawDescription(QPainter* p, const QRect& row, const TFileData& e) const;

    TDirData& m_pane;
    const PaneDrawContext& m_context;
};
