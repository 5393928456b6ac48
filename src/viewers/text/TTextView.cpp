#include "viewers/text/TTextView.h"

#include <QScopeGuard>
#include <condition_variable>
#include <mutex>

#include "platform/TMessages.h"
#include "viewers/text/Tabortform.h"
#include "viewers/text/TextLineFormat.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <algorithm>
#include <limits>

namespace {

const char* const kLineHeightSample =
    "The quick brown fox jumps over the lazy dogTHE QUICK BROWN FOX JUMPS OVER THE LAZY DOG_";
constexpr int kHexBytesPerLine = 16;
constexpr int kHexShownColumns = 80;
constexpr int kAutoScrollMsecs = 50;
constexpr int kWrapDebounceMsecs = 200;
// Progress reaches the window at most this often, however fast the blocks are read.
constexpr qint64 kProgressIntervalMsecs = 100;
constexpr qint64 kQuietLoadMsecs = 1000;

// How far the auto-scroll moves with the mouse this near an edge (negative: past it):
// inside a zone `zone` pixels deep one step, plus one per 15 pixels further out.
int EdgeSteps(int distanceFromEdge, int zone)
{
    return distanceFromEdge < zone ? 1 + (zone - distanceFromEdge) / 15 : 0;
}

}  // namespace

// One indexing run. The worker owns Index until it hands the job over; Stop is read by
// the worker and set by the UI thread.
struct TTextView::LoadJob {
    QString Path;
    TextIndexOptions Options;
    std::atomic<bool> Stop{false};
    std::unique_ptr<TextIndex> Index = std::make_unique<TextIndex>();
    bool Ok = false;
    QElapsedTimer Clock;
    qint64 QuietMsecs = kQuietLoadMsecs;
    qint64 LastReportMsecs = -kProgressIntervalMsecs;   // worker only
    // A progress report waits for the window's answer (abort or go on), as a handler
    // of the long-load event expects; a stop request ends the wait too.
    std::mutex Lock;
    std::condition_variable Answered;
    bool Pending = false;

    void Answer()
    {
        {
            const std::lock_guard<std::mutex> hold(Lock);
            Pending = false;
        }
        Answered.notify_all();
    }
    void RequestStop()
    {
        Stop = true;
        Answer();
    }
};

TTextView::TTextView(QWidget* parent)
    : QAbstractScrollArea(parent)
{
    setAccessibleName(QStringLiteral("TextView"));
    setFocusPolicy(Qt::StrongFocus);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // Always there, so that the column count word wrap depends on never flips with it.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setMouseTracking(true);
    m_wrapDebounce.setSingleShot(true);
    m_wrapDebounce.setInterval(kWrapDebounceMsecs);
    connect(&m_wrapDebounce, &QTimer::timeout, this, &TTextView::WrapWidthChanged);
    m_autoScroll.setInterval(kAutoScrollMsecs);
    connect(&m_autoScroll, &QTimer::timeout, this, &TTextView::AutoScroll);
    UpdateMetrics();
}

TTextView::~TTextView() { StopLoad(); }

// --- state -------------------------------------------------------------------------

void TTextView::SetActive(bool on)
{
    if (on == m_active)
        return;
    if (!on) {
        Close();
        return;
    }
    if (!m_reader.Open(m_filename))
        return;
    m_active = true;
    m_topLine = 0;
    m_leftColumn = 0;
    m_selStart = m_selEnd = m_selAnchor = Cell{};
    StartLoad();
    EmitPosition();
    Q_EMIT ActiveChanged(true);
}

void TTextView::Close()
{
    StopLoad();
    CloseProgressWindow();
    m_index.reset();
    m_reader.Close();
    m_active = false;
    m_links.clear();
    m_selStart = m_selEnd = m_selAnchor = Cell{};
    LayoutScrollBars();
    viewport()->update();
    Q_EMIT ActiveChanged(false);
}

void TTextView::SetFilename(const QString& path)
{
    m_filename = path;
    if (m_active) {
        Close();
        SetActive(true);
    }
}

void TTextView::SetViewMode(TextViewMode mode)
{
    if (mode == m_viewMode)
        return;
    m_viewMode = mode;
    if (!m_active)
        return;
    m_leftColumn = 0;
    StartLoad();
    EmitPosition();
}

void TTextView::SetTabSize(int size)
{
    if (size < 1 || size > 20) {
        TMessages::Show(MsgKind::Warning, tr("Invalid tab value"), MsgButtons::Ok, this);
        return;
    }
    m_tabSize = size;
    // Tabs change the widths and, wrapped, where lines break.
    if (m_active && m_viewMode != TextViewMode::Hex)
        StartLoad();
    viewport()->update();
}

void TTextView::Setlineaora(qint64 line)
{
    m_topLine = ClampLine(line);
    {
        const QSignalBlocker blocker(verticalScrollBar());
        verticalScrollBar()->setValue(int(m_topLine / m_linesPerBarStep));
    }
    EmitPosition();
    viewport()->update();
}

void TTextView::Setlineaorax(qint64 column)
{
    m_leftColumn = ClampColumn(column);
    {
        const QSignalBlocker blocker(horizontalScrollBar());
        horizontalScrollBar()->setValue(int(m_leftColumn));
    }
    EmitPosition();
    viewport()->update();
}

qint64 TTextView::ClampLine(qint64 line) const
{
    return std::clamp<qint64>(line, 0, qMax<qint64>(0, LineCount() - 1));
}

qint64 TTextView::ClampColumn(qint64 column) const { return std::clamp<qint64>(column, 0, MaxWidth()); }

void TTextView::EmitPosition()
{
    Q_EMIT ScrollXY(m_topLine, m_leftColumn, LineCount(), MaxWidth());
    UpdateAccessibleDescription();
}

void TTextView::UpdateAccessibleDescription()
{
    const qint64 count = LineCount();
    QString description;
    if (count > 0)
        description = tr("Lines %1 to %2 of %3")
                          .arg(m_topLine + 1)
                          .arg(qMin<qint64>(m_topLine + qMax(1, m_visibleRows), count))
                          .arg(count);
    if (description != accessibleDescription())
        setAccessibleDescription(description);
}

qint64 TTextView::LineCount() const { return m_index ? m_index->LineCount() : 0; }

int TTextView::MaxWidth() const { return m_index ? m_index->MaxWidth() : 0; }

bool TTextView::IsPlainText() const { return !m_index || m_index->IsPlainText(); }

bool TTextView::LoadAborted() const { return m_index && m_index->Aborted(); }

qint64 TTextView::LineStart(qint64 line) const
{
    if (m_viewMode == TextViewMode::Hex)
        return qMin(line * kHexBytesPerLine, m_index ? m_index->FileSize() : 0);
    return m_index ? m_index->LineStart(line) : 0;
}

qint64 TTextView::LineOfOffset(qint64 offset) const { return m_index ? m_index->LineOfOffset(offset) : 0; }

bool TTextView::UsesOem() const
{
    return m_dosGfx == dg_enabled || (m_dosGfx == dg_autodetect && m_index && m_index->OemDetected());
}

// --- indexing ----------------------------------------------------------------------

void TTextView::StartLoad()
{
    StopLoad();
    CloseProgressWindow();
    m_index.reset();
    m_links.clear();
    m_readErrorShown = false;
    m_indexedWrapColumns = m_visibleColumns;

    auto job = std::make_shared<LoadJob>();
    job->Path = m_filename;
    job->Options = TextIndexOptions{m_viewMode, m_tabSize, qMax(2, m_visibleColumns)};
    job->Options.ProgressAfterMs = int(qMin<qint64>(m_quietLoadMsecs, job->Options.ProgressAfterMs));
    job->QuietMsecs = m_quietLoadMsecs;
    job->Clock.start();
    m_job = job;
    // The worker waits for the window only while a report is pending, and a stop
    // request ends that wait: joining it after RequestStop ends within one block.
    m_worker = std::thread([this, job] {
        const auto progress = [this, job](int percent, qint64 lines) {
            const qint64 now = job->Clock.elapsed();
            const qint64 interval = qMin(kProgressIntervalMsecs, job->QuietMsecs);
            if (now >= job->QuietMsecs && now - job->LastReportMsecs >= interval) {
                job->LastReportMsecs = now;
                std::unique_lock<std::mutex> hold(job->Lock);
                job->Pending = true;
                QMetaObject::invokeMethod(
                    this, [this, job, percent, lines] { OnLoadProgress(job, percent, lines); },
                    Qt::QueuedConnection);
                job->Answered.wait(hold, [&job] { return !job->Pending || job->Stop.load(); });
            }
            return !job->Stop.load();
        };
        job->Ok = job->Index->Build(job->Path, job->Options, progress, &job->Stop);
        QMetaObject::invokeMethod(this, [this, job] { OnLoadFinished(job); }, Qt::QueuedConnection);
    });
    LayoutScrollBars();
    viewport()->update();
}

void TTextView::StopLoad()
{
    if (m_job)
        m_job->RequestStop();
    if (m_worker.joinable())
        m_worker.join();
    m_job.reset();
}

void TTextView::OnLoadProgress(const std::shared_ptr<LoadJob>& job, int percent, qint64 lines)
{
    const auto answer = qScopeGuard([&job] { job->Answer(); });
    if (job != m_job || job->Stop)
        return;
    bool abort = false;
    Q_EMIT LenghtyLoad(percent, lines, &abort);
    if (abort) {
        job->Stop = true;
        return;
    }
    if (!m_abortWindow)
        return;
    if (!m_abortForm) {
        MessageBeep();
        m_abortForm = new Tabortform(this);
        connect(m_abortForm, &Tabortform::AbortRequested, this, [job] { job->RequestStop(); });
        m_abortForm->show();
    }
    m_abortForm->ShowProgress(percent, lines, job->Clock.elapsed());
}

void TTextView::OnLoadFinished(const std::shared_ptr<LoadJob>& job)
{
    if (job != m_job)
        return;
    m_worker.join();
    m_job.reset();
    CloseProgressWindow();
    if (!job->Ok) {
        Close();
        Q_EMIT Loaded();
        return;
    }
    m_index = std::move(job->Index);
    LayoutScrollBars();
    Setlineaora(m_topLine);
    SuggestSize();
    Q_EMIT Loaded();
}

void TTextView::CloseProgressWindow()
{
    delete m_abortForm;
    m_abortForm = nullptr;
}

void TTextView::WrapWidthChanged()
{
    if (m_active && m_viewMode == TextViewMode::WordWrap && m_visibleColumns != m_indexedWrapColumns)
        StartLoad();
}

// --- layout ------------------------------------------------------------------------

void TTextView::UpdateMetrics()
{
    const QFontMetrics metrics(font());
    m_lineHeight = qMax(1, metrics.size(Qt::TextSingleLine, QString::fromLatin1(kLineHeightSample)).height());
    m_charWidth = qMax(1, metrics.horizontalAdvance(QLatin1Char('X')));
    // A fixed-pitch font may advance by a fraction of a pixel: a line drawn whole puts
    // its characters on that fractional grid, so spans (links, selection) use it too.
    m_cellWidth = qMax(1.0, QFontMetricsF(font()).horizontalAdvance(QLatin1Char('X')));
}

void TTextView::LayoutScrollBars()
{
    // Blocked: a shrinking range would otherwise move the position it is meant to show.
    const QSignalBlocker blockVertical(verticalScrollBar());
    const QSignalBlocker blockHorizontal(horizontalScrollBar());
    m_visibleColumns = int(viewport()->width() / m_cellWidth);
    const int width = MaxWidth();
    setHorizontalScrollBarPolicy(m_index && m_visibleColumns < width ? Qt::ScrollBarAlwaysOn
                                                                     : Qt::ScrollBarAlwaysOff);
    m_visibleRows = viewport()->height() / m_lineHeight;

    const qint64 lastLine = qMax<qint64>(0, LineCount() - 1);
    m_linesPerBarStep = 1 + lastLine / std::numeric_limits<int>::max();
    QScrollBar* vertical = verticalScrollBar();
    vertical->setRange(0, int(lastLine / m_linesPerBarStep));
    vertical->setPageStep(qMax(1, m_visibleRows));
    vertical->setSingleStep(1);
    vertical->setValue(int(m_topLine / m_linesPerBarStep));
    QScrollBar* horizontal = horizontalScrollBar();
    horizontal->setRange(0, width);
    horizontal->setPageStep(qMax(1, m_visibleColumns));
    horizontal->setSingleStep(1);
    horizontal->setValue(int(m_leftColumn));
    UpdateAccessibleDescription();
}

void TTextView::SuggestSize()
{
    const qint64 wanted = qint64(m_charWidth) * MaxWidth();
    if (m_viewMode == TextViewMode::Standard && screen() && wanted < screen()->geometry().width())
        Q_EMIT SuggestedResize(int(wanted));
}

void TTextView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    LayoutScrollBars();
    // Dragging a splitter resizes many times; index once it rests.
    if (m_active && m_viewMode == TextViewMode::WordWrap && m_visibleColumns != m_indexedWrapColumns)
        m_wrapDebounce.start();
}

void TTextView::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() != QEvent::FontChange)
        return;
    UpdateMetrics();
    LayoutScrollBars();
    WrapWidthChanged();
    viewport()->update();
}

void TTextView::scrollContentsBy(int, int)
{
    const QScrollBar* vertical = verticalScrollBar();
    m_topLine = vertical->value() == vertical->maximum() ? qMax<qint64>(0, LineCount() - 1)
                                                         : qint64(vertical->value()) * m_linesPerBarStep;
    m_leftColumn = horizontalScrollBar()->value();
    EmitPosition();
    viewport()->update();
}

// --- reading and formatting ----------------------------------------------------------

QByteArray TTextView::ReadLine(qint64 line, qint64 maxBytes, bool* ok) const
{
    const qint64 start = LineStart(line);
    const qint64 wanted = qMin(LineStart(line + 1) - start, maxBytes);
    QByteArray bytes = m_reader.Read(start, wanted);
    *ok = bytes.size() == wanted;
    return bytes;
}

QString TTextView::Decode(const QByteArray& formatted) const
{
    if (UsesOem())
        return TextLineFormat::Oem(formatted);
    // A hex line shows one character per byte; multi-byte sequences would shift its columns.
    if (m_viewMode == TextViewMode::Hex)
        return QString::fromLatin1(formatted);
    return TextLineFormat::Ansi(formatted);
}

QString TTextView::FormattedLine(qint64 line) const
{
    if (!m_index || line < 0 || line >= LineCount())
        return {};
    // A file without line ends is one line: copying or printing it must not try to
    // hold gigabytes, so a whole line stops at 16 MiB.
    constexpr qint64 kMaxWholeLine = qint64(16) << 20;
    bool ok = false;
    const QByteArray raw = ReadLine(line, kMaxWholeLine, &ok);
    if (!ok)
        return {};
    if (m_viewMode == TextViewMode::Hex)
        return Decode(TextLineFormat::Hex(LineStart(line), raw, TextLineFormat::HexOffsetDigits(m_index->FileSize())));
    return Decode(TextLineFormat::Text(raw, m_tabSize));
}

std::vector<TTextView::ShownLine> TTextView::ShowableLines() const
{
    std::vector<ShownLine> shown;
    if (!m_index)
        return shown;
    const int rows = (viewport()->height() + m_lineHeight - 1) / m_lineHeight;
    const bool hex = m_viewMode == TextViewMode::Hex;
    const int shownColumns = hex ? kHexShownColumns : 2 * m_visibleColumns;
    // A character takes at most four bytes, so this many bytes reach past the right edge
    // even of a line far longer than the screen.
    const qint64 maxBytes = hex ? kHexBytesPerLine : (m_leftColumn + shownColumns + 1) * 4;
    const int digits = TextLineFormat::HexOffsetDigits(m_index->FileSize());
    for (int row = 0; row < rows; ++row) {
        const qint64 line = m_topLine + row;
        if (line >= LineCount())
            break;
        bool ok = false;
        const QByteArray raw = ReadLine(line, maxBytes, &ok);
        if (!ok) {
            ReportReadError(line);
            break;
        }
        const QByteArray formatted =
            hex ? TextLineFormat::Hex(LineStart(line), raw, digits) : TextLineFormat::Text(raw, m_tabSize);
        shown.push_back({line, Decode(formatted).mid(m_leftColumn, shownColumns)});
    }
    return shown;
}

QStringList TTextView::VisibleLines() const
{
    QStringList lines;
    for (const ShownLine& shown : ShowableLines())
        lines << shown.Text;
    return lines;
}

void TTextView::ReportReadError(qint64 line) const
{
    // Painting must not open a modal box, and a file that shrank would fail on every
    // repaint: tell once per load, after the paint.
    if (m_readErrorShown)
        return;
    m_readErrorShown = true;
    auto* self = const_cast<TTextView*>(this);
    QMetaObject::invokeMethod(
        self,
        [self, line] {
            TMessages::Show(MsgKind::Error, tr("error while reading line #") + QString::number(line + 1),
                            MsgButtons::Ok, self);
        },
        Qt::QueuedConnection);
}

// --- drawing -----------------------------------------------------------------------

void TTextView::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    m_links.clear();
    if (!m_active) {
        painter.fillRect(viewport()->rect(), palette().color(QPalette::Button));
        return;
    }
    painter.fillRect(viewport()->rect(), m_backColor);
    painter.setFont(font());
    const std::vector<ShownLine> lines = ShowableLines();
    for (int row = 0; row < int(lines.size()); ++row)
        PaintLine(painter, row, lines[row]);
}

void TTextView::PaintLine(QPainter& painter, int row, const ShownLine& shown)
{
    const QString& text = shown.Text;
    PaintSpan(painter, row, text, 0, int(text.size()), m_backColor, m_textColor);
    // Links move under a held button (selecting, scrolling); find them once it is released.
    if (m_urlHighlight && !m_captured && QGuiApplication::mouseButtons() == Qt::NoButton) {
        for (const FoundLink& link : m_linkFinder.Find(text)) {
            const QRect rect(int(link.Start * m_cellWidth), row * m_lineHeight, int(link.Length * m_cellWidth + 0.5),
                             m_lineHeight);
            m_links.push_back({rect, link});
            PaintSpan(painter, row, text, link.Start, link.Length, m_backColor, m_linkColor);
        }
    }
    const auto [from, length] = SelectedSpan(shown.Line, int(text.size()));
    if (length > 0)
        PaintSpan(painter, row, text, from, length, palette().color(QPalette::Highlight),
                  palette().color(QPalette::HighlightedText));
}

void TTextView::PaintSpan(QPainter& painter, int row, const QString& text, int from, int length,
                          const QColor& back, const QColor& fore) const
{
    const int top = row * m_lineHeight;
    painter.fillRect(QRectF(from * m_cellWidth, top, length * m_cellWidth, m_lineHeight), back);
    painter.setPen(fore);
    painter.drawText(QPointF(from * m_cellWidth, top + painter.fontMetrics().ascent()), text.mid(from, length));
}

// The selected part of a shown line, as (first character, count) of its shown text.
std::pair<int, int> TTextView::SelectedSpan(qint64 line, int length) const
{
    if (m_selStart == m_selEnd || line < m_selStart.Line || line > m_selEnd.Line)
        return {0, 0};
    const qint64 from = line == m_selStart.Line ? m_selStart.Column - m_leftColumn : 0;
    const qint64 to = line == m_selEnd.Line ? m_selEnd.Column - m_leftColumn : length;
    const int first = int(std::clamp<qint64>(from, 0, length));
    const int last = int(std::clamp<qint64>(to, 0, length));
    return {first, qMax(0, last - first)};
}

// --- keys, selection, links ----------------------------------------------------------

void TTextView::keyPressEvent(QKeyEvent* event)
{
    const qint64 page = qMax(1, m_visibleRows);
    if (event->matches(QKeySequence::Copy)) {
        Copy();
        return;
    }
    switch (event->key()) {
    case Qt::Key_PageUp: Setlineaora(m_topLine - page); break;
    case Qt::Key_PageDown: Setlineaora(m_topLine + page); break;
    case Qt::Key_Home: Setlineaora(0); break;
    case Qt::Key_End: Setlineaora(qMax<qint64>(0, LineCount() - m_visibleRows)); break;
    case Qt::Key_Up: Setlineaora(m_topLine - 1); break;
    case Qt::Key_Down: Setlineaora(m_topLine + 1); break;
    case Qt::Key_Left: Setlineaorax(m_leftColumn - 1); break;
    case Qt::Key_Right: Setlineaorax(m_leftColumn + 1); break;
    default: QAbstractScrollArea::keyPressEvent(event); return;
    }
    event->accept();
}

TTextView::Cell TTextView::CellAt(QPoint pos) const
{
    return {qint64(qMax(0, pos.x()) / m_cellWidth) + m_leftColumn, qMax(0, pos.y()) / m_lineHeight + m_topLine};
}

void TTextView::SetSelection(Cell start, Cell end)
{
    m_selStart = qMin(start, end);
    m_selEnd = qMax(start, end);
    viewport()->update();
}

void TTextView::ExtendSelection(QPoint pos)
{
    Cell cell = CellAt(pos);
    cell.Line = qMin(cell.Line, qMax<qint64>(0, LineCount() - 1));
    SetSelection(m_selAnchor, cell);
}

void TTextView::mousePressEvent(QMouseEvent* event)
{
    m_lastMouse = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        setFocus(Qt::MouseFocusReason);
        const LinkArea* link = LinkAt(m_lastMouse);
        m_pressedLink = link ? std::optional<FoundLink>(link->Link) : std::nullopt;
        m_selAnchor = CellAt(m_lastMouse);
        m_selAnchor.Line = qMin(m_selAnchor.Line, qMax<qint64>(0, LineCount() - 1));
        SetSelection(m_selAnchor, m_selAnchor);
        m_selecting = true;
    } else if (event->button() == Qt::RightButton) {
        viewport()->setCursor(Qt::PointingHandCursor);
    } else {
        return;
    }
    m_captured = true;
    m_autoScroll.start();
}

void TTextView::mouseMoveEvent(QMouseEvent* event)
{
    m_lastMouse = event->position().toPoint();
    if (m_selecting)
        ExtendSelection(m_lastMouse);
    if (!m_captured)
        viewport()->setCursor(LinkAt(m_lastMouse) ? Qt::PointingHandCursor : Qt::IBeamCursor);
}

void TTextView::mouseReleaseEvent(QMouseEvent* event)
{
    m_lastMouse = event->position().toPoint();
    m_autoScroll.stop();
    if (m_selecting)
        ExtendSelection(m_lastMouse);
    m_selecting = false;
    m_captured = false;
    viewport()->setCursor(Qt::IBeamCursor);
    const LinkArea* link = LinkAt(m_lastMouse);
    if (m_pressedLink && link && link->Link.Text == m_pressedLink->Text && m_selStart == m_selEnd) {
        const QUrl url = LinkFinder::UrlOf(link->Link);
        if (url.isValid())
            QDesktopServices::openUrl(url);
    }
    m_pressedLink.reset();
    viewport()->update();
}

const TTextView::LinkArea* TTextView::LinkAt(QPoint pos) const
{
    for (const LinkArea& link : m_links)
        if (link.Rect.contains(pos))
            return &link;
    return nullptr;
}

void TTextView::AutoScroll()
{
    if (m_viewMode == TextViewMode::Hex)
        return;
    const QSize area = viewport()->size();
    const int columns = EdgeSteps(area.width() - m_lastMouse.x(), 10) - EdgeSteps(m_lastMouse.x(), 10);
    const int lines = EdgeSteps(area.height() - m_lastMouse.y(), 10) - EdgeSteps(m_lastMouse.y(), 20);
    if (columns != 0)
        Setlineaorax(m_leftColumn + columns);
    if (lines != 0)
        Setlineaora(m_topLine + lines);
    if (m_selecting && (columns != 0 || lines != 0))
        ExtendSelection(m_lastMouse);
}

void TTextView::SelectAndShow(qint64 line, qint64 column, int length)
{
    Setlineaora(line);
    const qint64 first = qMax<qint64>(0, column - 1);
    SetSelection({first, line}, {first + length, line});
    Setlineaorax(first + length > m_visibleColumns ? first - 20 : 0);
}

void TTextView::Copy()
{
    if (m_selStart == m_selEnd) {
        MessageBeep();
        return;
    }
    QStringList lines;
    for (qint64 line = m_selStart.Line; line <= m_selEnd.Line; ++line) {
        QString text = FormattedLine(line);
        if (line == m_selEnd.Line)
            text.truncate(m_selEnd.Column);
        if (line == m_selStart.Line)
            text.remove(0, m_selStart.Column);
        lines << text;
    }
    QGuiApplication::clipboard()->setText(lines.join(QStringLiteral("\r\n")));
}
