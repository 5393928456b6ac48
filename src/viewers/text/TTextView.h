// The text view: shows a file of any size as text, word-wrapped text or a hex dump.
// The lines are indexed once on a worker thread, then only the lines on screen are read
// and formatted. Highlights and opens links, selects and copies. UI thread only, except
// where a member says otherwise.
#pragma once

#include "viewers/text/LinkFinder.h"
#include "viewers/text/TextFileReader.h"
#include "viewers/text/TextIndex.h"

#include <QAbstractScrollArea>
#include <QColor>
#include <QPoint>
#include <QRect>
#include <QTimer>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

class Tabortform;

class TTextView : public QAbstractScrollArea {
    Q_OBJECT
public:
    enum TDOSgfxMode { dg_disabled, dg_enabled, dg_autodetect };
    Q_ENUM(TDOSgfxMode)

    // A link drawn on the last paint, in viewport coordinates.
    struct LinkArea {
        QRect Rect;
        FoundLink Link;
    };
    // A character cell: column from 0 with tabs expanded, line from 0.
    struct Cell {
        qint64 Column = 0;
        qint64 Line = 0;
        auto operator<=>(const Cell& other) const
        {
            return Line != other.Line ? Line <=> other.Line : Column <=> other.Column;
        }
        bool operator==(const Cell&) const = default;
    };

    explicit TTextView(QWidget* parent = nullptr);
    ~TTextView() override;

    QColor BackColor() const { return m_backColor; }
    void SetBackColor(const QColor& color) { Assign(m_backColor, color); }
    QColor TextColor() const { return m_textColor; }
    void SetTextColor(const QColor& color) { Assign(m_textColor, color); }
    QColor LinkColor() const { return m_linkColor; }
    void SetLinkColor(const QColor& color) { Assign(m_linkColor, color); }
    TDOSgfxMode DOSgfxmode() const { return m_dosGfx; }
    void SetDOSgfxmode(TDOSgfxMode mode) { Assign(m_dosGfx, mode); }
    bool URLHighlight() const { return m_urlHighlight; }
    void SetURLHighlight(bool on) { Assign(m_urlHighlight, on); }
    bool PrintPageNum() const { return m_printPageNum; }
    void SetPrintPageNum(bool on) { m_printPageNum = on; }
    bool AbortWindow() const { return m_abortWindow; }
    // How long a load runs before it counts as long (one second): progress reports and
    // the progress window start then. Tests shorten it.
    void SetQuietLoadMsecs(int msecs) { m_quietLoadMsecs = qMax(0, msecs); }
    void SetAbortWindow(bool on) { m_abortWindow = on; }
    QString LastSearchText() const { return m_lastSearchText; }
    void SetLastSearchText(const QString& text) { m_lastSearchText = text; }

    TextViewMode ViewMode() const { return m_viewMode; }
    // While active: keeps the top line, re-indexes, scrolls back to column 0.
    void SetViewMode(TextViewMode mode);
    int TabSize() const { return m_tabSize; }
    // 1..20; anything else is refused with a warning and the old size stays.
    void SetTabSize(int size);
    QString Filename() const { return m_filename; }
    void SetFilename(const QString& path);
    // On: opens and indexes the file (asynchronously; Loaded() follows), from line 0.
    // A file that cannot be opened leaves the view inactive.
    bool Active() const { return m_active; }
    void SetActive(bool on);

    qint64 lineaora() const { return m_topLine; }
    void Setlineaora(qint64 line);
    qint64 lineaorax() const { return m_leftColumn; }
    void Setlineaorax(qint64 column);

    // The index, once a load has finished; nothing while inactive or loading.
    bool IsLoading() const { return m_job != nullptr; }
    qint64 LineCount() const;
    int MaxWidth() const;
    bool IsPlainText() const;
    bool LoadAborted() const;
    // Start offset of a line and the line of an offset, for the search window.
    qint64 LineStart(qint64 line) const;
    qint64 LineOfOffset(qint64 offset) const;
    // The OEM character set is in use (drawing, printing, searching).
    bool UsesOem() const;
    int VisibleRows() const { return m_visibleRows; }
    int VisibleColumns() const { return m_visibleColumns; }

    // A whole line as shown, without clipping; empty when it cannot be read.
    QString FormattedLine(qint64 line) const;
    // The lines on screen as drawn (clipped at the horizontal position).
    QStringList VisibleLines() const;
    const std::vector<LinkArea>& Links() const { return m_links; }

    Cell SelectionStart() const { return m_selStart; }
    Cell SelectionEnd() const { return m_selEnd; }
    void SetSelection(Cell start, Cell end);
    // Makes `line` the top line and selects `length` characters from `column` (from 1).
    void SelectAndShow(qint64 line, qint64 column, int length);
    // Beeps when nothing is selected.
    void Copy();

Q_SIGNALS:
    // x = top line, y = first column, maxX = line count, maxY = widest line.
    void ScrollXY(qint64 x, qint64 y, qint64 maxX, qint64 maxY);
    // Progress of a load that has run for more than a second; set *abort to stop it.
    void LenghtyLoad(int percent, qint64 lines, bool* abort);
    // The width in pixels that would show the widest line (standard mode).
    void SuggestedResize(int width);
    void ActiveChanged(bool active);
    // A load has ended (finished, aborted or failed); the view shows its lines.
    void Loaded();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    struct LoadJob;
    // One line prepared for drawing: its text from the first shown column.
    struct ShownLine {
        qint64 Line = 0;
        QString Text;
    };

    template <typename T>
    void Assign(T& field, T value)
    {
        field = value;
        viewport()->update();
    }

    void Close();
    void StartLoad();
    void StopLoad();
    void OnLoadProgress(const std::shared_ptr<LoadJob>& job, int percent, qint64 lines);
    void OnLoadFinished(const std::shared_ptr<LoadJob>& job);
    void CloseProgressWindow();

    void UpdateMetrics();
    void LayoutScrollBars();
    void SuggestSize();
    void WrapWidthChanged();
    void EmitPosition();
    void UpdateAccessibleDescription();
    qint64 ClampLine(qint64 line) const;
    qint64 ClampColumn(qint64 column) const;

    // Empty with *ok false on a short read.
    QByteArray ReadLine(qint64 line, qint64 maxBytes, bool* ok) const;
    QString Decode(const QByteArray& formatted) const;
    std::vector<ShownLine> ShowableLines() const;
    void ReportReadError(qint64 line) const;
    void PaintLine(QPainter& painter, int row, const ShownLine& shown);
    void PaintSpan(QPainter& painter, int row, const QString& text, int from, int length, const QColor& back,
                   const QColor& fore) const;
    std::pair<int, int> SelectedSpan(qint64 line, int length) const;

    Cell CellAt(QPoint pos) const;
    void ExtendSelection(QPoint pos);
    void AutoScroll();
    const LinkArea* LinkAt(QPoint pos) const;

    QColor m_backColor = Qt::black;
    QColor m_textColor = QColor(0x80, 0x80, 0x80);
    QColor m_linkColor = Qt::cyan;
    TDOSgfxMode m_dosGfx = dg_disabled;
    TextViewMode m_viewMode = TextViewMode::Standard;
    bool m_urlHighlight = true;
    bool m_printPageNum = true;
    bool m_abortWindow = true;
    int m_quietLoadMsecs = 1000;
    int m_tabSize = 8;
    QString m_lastSearchText;
    QString m_filename;
    bool m_active = false;
    qint64 m_topLine = 0;
    qint64 m_leftColumn = 0;

    TextFileReader m_reader;
    std::unique_ptr<TextIndex> m_index;      // the finished index; null while loading
    std::shared_ptr<LoadJob> m_job;          // the load under way
    std::thread m_worker;
    Tabortform* m_abortForm = nullptr;
    mutable bool m_readErrorShown = false;   // once per load, not on every repaint

    int m_lineHeight = 1;
    int m_charWidth = 1;
    qreal m_cellWidth = 1;
    int m_visibleRows = 0;
    int m_visibleColumns = 0;
    int m_indexedWrapColumns = 0;
    qint64 m_linesPerBarStep = 1;            // above 2^31 lines the int scroll bar moves in steps
    QTimer m_wrapDebounce;

    LinkFinder m_linkFinder;
    std::vector<LinkArea> m_links;
    std::optional<FoundLink> m_pressedLink;  // the link a click started on

    Cell m_selStart;
    Cell m_selEnd;
    Cell m_selAnchor;
    bool m_selecting = false;
    bool m_captured = false;
    QPoint m_lastMouse;
    QTimer m_autoScroll;
};
