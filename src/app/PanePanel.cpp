#include "app/PanePanel.h"

#include "app/PaneHeader.h"
#include "app/PaneItemDelegate.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QProgressBar>
#include <QStackedLayout>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

void name(QWidget* w, const QString& objectName, const QString& accessibleName = {})
{
    w->setObjectName(objectName);
    w->setAccessibleName(accessibleName.isEmpty() ? objectName : accessibleName);
}

QToolButton* pathButton(QWidget* parent, const QString& objectName, QStyle::StandardPixmap pixmap,
                        const QString& hint)
{
    auto* b = new QToolButton(parent);
    name(b, objectName, hint);
    b->setIcon(parent->style()->standardIcon(pixmap));
    b->setAutoRaise(true);
    b->setToolTip(hint);
    b->setStatusTip(hint);
    b->setFixedSize(20, 20);
    return b;
}

} // namespace

PanePanel::PanePanel(Side side, QWidget* parent)
    : QFrame(parent)
    , m_side(side)
{
    const bool left = side == Left;
    name(this, left ? QStringLiteral("PanLeft") : QStringLiteral("PanRight"));
    setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(0);
    buildPathRow();
    buildList();
    buildFilterRow();
    layout->addWidget(TopPanel);
    layout->addWidget(Gauge);
    auto* listHolder = new QWidget(this);
    m_stack = new QStackedLayout(listHolder);
    m_stack->addWidget(Files);
    m_stack->addWidget(ViewerPanel);
    layout->addWidget(listHolder, 1);
    layout->addWidget(FilterPanel);
}

void PanePanel::buildPathRow()
{
    const bool left = m_side == Left;
    const QString s = left ? QStringLiteral("L") : QStringLiteral("R");
    TopPanel = new QWidget(this);
    name(TopPanel, s + QStringLiteral("TopPanel"));
    auto* v = new QVBoxLayout(TopPanel);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);
    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 2);
    row->setSpacing(1);
    PathLabel = new QLabel(TopPanel);
    name(PathLabel, left ? QStringLiteral("PathLeft") : QStringLiteral("PathRight"));
    PathLabel->setTextFormat(Qt::PlainText);
    PathLabel->setMinimumWidth(10);
    PathLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    GoParent = pathButton(TopPanel, s + QStringLiteral("GoParent"), QStyle::SP_FileDialogToParent,
                          tr("Go to the parent directory"));
    QuickGo = pathButton(TopPanel, s + QStringLiteral("QuickGo"), QStyle::SP_DirLinkIcon,
                         tr("QuickGo to a directory in any drive"));
    Open = pathButton(TopPanel, s + QStringLiteral("Open"), QStyle::SP_DirOpenIcon,
                      tr("Open this directory with explorer"));
    row->addWidget(PathLabel, 1);
    row->addWidget(GoParent);
    row->addWidget(QuickGo);
    row->addWidget(Open);
    v->addLayout(row);
    Header = new PaneHeader(TopPanel);
    name(Header, s + QStringLiteral("Header"));
    v->addWidget(Header);
    Gauge = new QProgressBar(this);
    name(Gauge, s + QStringLiteral("Gauge"));
    Gauge->setMaximumHeight(12);
    Gauge->setTextVisible(false);
    Gauge->hide();
}

void PanePanel::buildList()
{
    const bool left = m_side == Left;
    Files = new QListView(this);
    name(Files, left ? QStringLiteral("FilesLeft") : QStringLiteral("FilesRight"));
    Files->setSelectionMode(QAbstractItemView::ExtendedSelection);
    Files->setUniformItemSizes(true);
    Files->setFrameShape(QFrame::NoFrame);
    Files->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Files->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Files->setContextMenuPolicy(Qt::CustomContextMenu);
    Files->setMouseTracking(true);
    ViewerPanel = new QWidget(this);
    name(ViewerPanel, left ? QStringLiteral("PanLViewer") : QStringLiteral("PanRViewer"));
}

void PanePanel::buildFilterRow()
{
    const bool left = m_side == Left;
    FilterPanel = new QWidget(this);
    name(FilterPanel, left ? QStringLiteral("PanLFilter") : QStringLiteral("PanRFilter"));
    auto* row = new QHBoxLayout(FilterPanel);
    row->setContentsMargins(0, 2, 0, 0);
    row->setSpacing(2);
    Filter = new QComboBox(FilterPanel);
    name(Filter, left ? QStringLiteral("FilterLeft") : QStringLiteral("FilterRight"), tr("Filter"));
    Filter->setEditable(true);
    Filter->setInsertPolicy(QComboBox::NoInsert);
    Filter->setEditText(QStringLiteral("*"));
    Filter->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    Sort = new QComboBox(FilterPanel);
    name(Sort, left ? QStringLiteral("SortLeft") : QStringLiteral("SortRight"), tr("Sort"));
    Sort->addItems({tr("by name"), tr("by size"), tr("by type"),
                    tr("by time"), tr("by desc")});
    row->addWidget(Filter, 1);
    row->addWidget(Sort);
}

void PanePanel::SetActiveLook(bool active)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Window, active ? pal.color(QPalette::Highlight) : pal.color(QPalette::Button));
    setPalette(pal);
}

void PanePanel::ShowViewer(bool on)
{
    m_stack->setCurrentWidget(on ? ViewerPanel : static_cast<QWidget*>(Files));
}
