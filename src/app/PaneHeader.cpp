#include "app/PaneHeader.h"

#include "app/PaneGlyphs.h"
#include "core/MatchWildcard.h"

#include <QAbstractTableModel>
#include <QMouseEvent>
#include <QPainter>

namespace {

// The sort column is found by matching these source titles, so the matching never depends
// on the language the titles are shown in.
const char* const kSectionTitles[] = {QT_TRANSLATE_NOOP("PaneHeader", "Name"), QT_TRANSLATE_NOOP("PaneHeader", "Size"),
                                      QT_TRANSLATE_NOOP("PaneHeader", "Time"),
                                      QT_TRANSLATE_NOOP("PaneHeader", "Description")};

// A header needs a model to know its sections; this one has only titles.
class TitleModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;
    int rowCount(const QModelIndex& = {}) const override { return 0; }
    int columnCount(const QModelIndex& = {}) const override { return 4; }
    QVariant data(const QModelIndex&, int) const override { return {}; }
    QVariant headerData(int section, Qt::Orientation, int role) const override
    {
        if (role == Qt::DisplayRole && section >= 0 && section < 4)
            return PaneHeader::tr(kSectionTitles[section]);
        return {};
    }
};

} // namespace

const QStringList& PaneHeader::SectionTitles()
{
    static const QStringList titles{QLatin1String(kSectionTitles[0]), QLatin1String(kSectionTitles[1]),
                                    QLatin1String(kSectionTitles[2]), QLatin1String(kSectionTitles[3])};
    return titles;
}

PaneHeader::PaneHeader(QWidget* parent)
    : QHeaderView(Qt::Horizontal, parent)
{
    setModel(new TitleModel(this));
    setSectionsClickable(true);
    setSectionResizeMode(QHeaderView::Interactive);
    setStretchLastSection(false);
    setMinimumSectionSize(0);
    setHighlightSections(false);
    setFixedHeight(fontMetrics().height() + 6);
    resizeSection(0, 100);
    resizeSection(1, 50);
    resizeSection(2, 80);
    resizeSection(3, 5000);
    // Only the name column has a lower bound.
    connect(this, &QHeaderView::sectionResized, this, [this](int section, int, int newSize) {
        if (section == 0 && newSize < 30)
            resizeSection(0, 30);
    });
}

void PaneHeader::SetSortState(std::function<int()> mode, std::function<bool()> ascending)
{
    m_mode = std::move(mode);
    m_ascending = std::move(ascending);
}

int PaneHeader::sortedSection() const
{
    const int mode = m_mode ? m_mode() : 0;
    static const char* masks[] = {"name", "size", nullptr, "time", "description"};
    if (mode < 0 || mode > 4 || !masks[mode])
        return -1;
    for (int i = 0; i < count(); ++i)
        if (MatchWildcard(QLatin1String(masks[mode]), SectionTitles().at(i)))
            return i;
    return -1;
}

void PaneHeader::paintSection(QPainter* p, const QRect& rect, int logicalIndex) const
{
    if (!rect.isValid())
        return;
    const bool pressed = logicalIndex == m_pressed;
    QStyleOptionHeader opt;
    initStyleOption(&opt);
    opt.rect = rect;
    opt.section = logicalIndex;
    opt.state |= pressed ? QStyle::State_Sunken : QStyle::State_Raised;
    style()->drawControl(QStyle::CE_HeaderSection, &opt, p, this);

    const int d = pressed ? 3 : 2;
    const bool sorted = logicalIndex == sortedSection();
    const bool ascending = m_ascending ? m_ascending() : true;
    int glyph = -1;
    if (pressed)
        glyph = sorted ? (ascending ? 2 : 3) : (ascending ? 3 : 2);
    else if (sorted)
        glyph = ascending ? 0 : 1;
    int textX = rect.left() + d;
    if (glyph >= 0) {
        const QPixmap& pm = PaneGlyphs::SortGlyph(glyph);
        p->drawPixmap(rect.left() + d, rect.top() + rect.height() / 2 + d - pm.height() / 2 - 1, pm);
        textX += 13;
    }
    p->save();
    p->setClipRect(rect);
    p->setPen(palette().buttonText().color());
    p->drawText(QRect(textX, rect.top() + d - 2, rect.right() - textX, rect.height()),
                Qt::AlignLeft | Qt::AlignVCenter, SectionTitles().value(logicalIndex));
    p->restore();
}

void PaneHeader::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && cursor().shape() != Qt::SplitHCursor)
        m_pressed = logicalIndexAt(event->position().toPoint());
    QHeaderView::mousePressEvent(event);
    viewport()->update();
}

void PaneHeader::mouseReleaseEvent(QMouseEvent* event)
{
    m_pressed = -1;
    QHeaderView::mouseReleaseEvent(event);
    viewport()->update();
}
