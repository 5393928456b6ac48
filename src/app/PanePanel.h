// The widgets of one directory pane, from the top: the path row (path label, parent,
// quick-go and open buttons), the column header, the archive gauge, the file list lying
// over the viewer panel, and the filter and sort row. Object names follow the side:
// PathLeft/PathRight, LHeader/RHeader, FilesLeft/FilesRight, ...
#pragma once

#include <QFrame>

class PaneHeader;
class QComboBox;
class QLabel;
class QListView;
class QProgressBar;
class QStackedLayout;
class QToolButton;

class PanePanel : public QFrame {
    Q_OBJECT
public:
    enum Side { Left, Right };
    PanePanel(Side side, QWidget* parent = nullptr);

    Side side() const { return m_side; }

    QWidget* TopPanel = nullptr;
    QLabel* PathLabel = nullptr;
    QToolButton* GoParent = nullptr;
    QToolButton* QuickGo = nullptr;
    QToolButton* Open = nullptr;
    PaneHeader* Header = nullptr;
    QProgressBar* Gauge = nullptr;
    QListView* Files = nullptr;
    QWidget* ViewerPanel = nullptr;   // this side's viewer panel (the other pane views into it)
    QWidget* FilterPanel = nullptr;
    QComboBox* Filter = nullptr;
    QComboBox* Sort = nullptr;

    // The active pane's panel is painted in the highlight colour.
    void SetActiveLook(bool active);
    // Shows the viewer panel in place of the list, or the list again.
    void ShowViewer(bool on);

private:
    void buildPathRow();
    void buildList();
    void buildFilterRow();

    Side m_side;
    QStackedLayout* m_stack = nullptr;
};
