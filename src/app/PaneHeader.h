// A pane's column header: sections "Name", "Size", "Time", "Description", drawn by the
// program with the sort glyph on the sorted section and on a pressed one.
#pragma once

#include <QHeaderView>
#include <functional>

class PaneHeader : public QHeaderView {
    Q_OBJECT
public:
    static const QStringList& SectionTitles();

    explicit PaneHeader(QWidget* parent = nullptr);

    // Sort mode and direction of the pane, asked while painting.
    void SetSortState(std::function<int()> mode, std::function<bool()> ascending);

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int sortedSection() const;

    std::function<int()> m_mode;
    std::function<bool()> m_ascending;
    int m_pressed = -1;
};
