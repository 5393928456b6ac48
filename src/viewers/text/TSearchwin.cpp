#include "viewers/text/TSearchwin.h"

#include "platform/TMessages.h"
#include "viewers/text/TTextView.h"
#include "viewers/text/TextFileReader.h"
#include "viewers/text/TextLineFormat.h"
#include "viewers/text/TextSearch.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// One window per view: a second opening only beeps.
QPointer<TSearchwin>& openWindow()
{
    static QPointer<TSearchwin> window;
    return window;
}

} // namespace

TSearchwin* TSearchwin::Open(TTextView* view)
{
    if (openWindow()) {
        MessageBeep();
        return nullptr;
    }
    auto* window = new TSearchwin(view);
    openWindow() = window;
    window->show();
    if (!window->m_edit->text().isEmpty())
        window->Search();
    return window;
}

TSearchwin::TSearchwin(TTextView* view)
    : QDialog(view ? view->window() : nullptr)
    , m_view(view)
    , m_edit(new QLineEdit(this))
    , m_ignoreCase(new QCheckBox(tr("UPPERCASE=lowercase"), this))
    , m_results(new QListWidget(this))
    , m_status(new QLabel(tr("Enter to search!"), this))
{
    setObjectName(QStringLiteral("Searchwin"));
    setWindowTitle(tr("Search Facility"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_edit->setObjectName(QStringLiteral("Edit1"));
    m_results->setObjectName(QStringLiteral("ListBox1"));
    m_ignoreCase->setChecked(true);
    auto* button = new QPushButton(tr("&Search.."), this);
    auto* column = new QVBoxLayout(this);
    column->addWidget(new QLabel(tr("Word or sentence to search for:"), this));
    auto* row = new QHBoxLayout;
    row->addWidget(m_edit, 1);
    row->addWidget(button);
    column->addLayout(row);
    column->addWidget(m_ignoreCase);
    column->addWidget(m_results, 1);
    column->addWidget(m_status);
    if (m_view) {
        m_edit->setText(m_view->LastSearchText());
        // A view that lets its file go takes its search with it.
        connect(m_view, &TTextView::ActiveChanged, this, [this](bool active) {
            if (!active)
                close();
        });
    }
    connect(button, &QPushButton::clicked, this, &TSearchwin::Search);
    connect(m_edit, &QLineEdit::returnPressed, this, &TSearchwin::Search);
    connect(m_edit, &QLineEdit::textEdited, this, &TSearchwin::textEdited);
    connect(m_results, &QListWidget::currentRowChanged, this, &TSearchwin::ShowResult);
    resize(360, 320);
}

TSearchwin::~TSearchwin()
{
    stopSearch();
}

void TSearchwin::stopSearch()
{
    if (m_stop)
        m_stop->store(true);
    if (m_worker.joinable())
        m_worker.join();
}

void TSearchwin::textEdited()
{
    if (m_view)
        m_view->SetLastSearchText(m_edit->text());
    stopSearch();
    m_results->clear();
    m_hits.clear();
    m_status->setText(tr("Enter to search!"));
}

void TSearchwin::Search()
{
    if (!m_view || m_edit->text().isEmpty())
        return;
    stopSearch();
    m_results->clear();
    m_hits.clear();
    m_status->setText(tr("Searching..  "));
    m_view->SetLastSearchText(m_edit->text());
    m_patternLength = int(m_edit->text().size());
    m_stop = std::make_shared<std::atomic<bool>>(false);
    m_done = false;
    const QString path = m_view->Filename();
    const QString text = m_edit->text();
    const bool ignoreCase = m_ignoreCase->isChecked();
    const bool oem = m_view->UsesOem();
    QPointer<TSearchwin> self(this);
    std::shared_ptr<std::atomic<bool>> stop = m_stop;
    m_worker = std::thread([self, path, text, ignoreCase, oem, stop] {
        // The status label shows how far the search has read, ten times a second at most.
        QElapsedTimer sinceShown;
        sinceShown.start();
        const auto progress = [self, stop, &sinceShown](int percent) {
            if (sinceShown.elapsed() < 100 || stop->load())
                return;
            sinceShown.restart();
            QMetaObject::invokeMethod(
                self.data(), [self, percent] {
                    if (self && !self->m_done)
                        self->m_status->setText(tr("Searching..  ") + QStringLiteral("%1%").arg(percent));
                },
                Qt::QueuedConnection);
        };
        std::vector<qint64> offsets = TextSearch::FindAll(path, text, ignoreCase, oem, stop.get(), progress);
        if (stop->load())
            return;
        // The window is deleted only on its own thread, after joining this one.
        QMetaObject::invokeMethod(
            self.data(), [self, offsets = std::move(offsets)] {
                if (self)
                    self->searchEnded(offsets);
            },
            Qt::QueuedConnection);
    });
}

TSearchwin::Hit TSearchwin::hitAt(qint64 offset) const
{
    if (m_view->ViewMode() == TextViewMode::Hex)
        return {offset / 16, offset % 16 + 1};
    const qint64 line = m_view->LineOfOffset(offset);
    const qint64 start = m_view->LineStart(line);
    TextFileReader reader;
    if (!reader.Open(m_view->Filename()))
        return {line, offset - start + 1};
    const QByteArray raw = reader.Read(start, offset - start);
    return {line, TextLineFormat::ColumnOf(raw, int(raw.size()), m_view->TabSize())};
}

void TSearchwin::searchEnded(const std::vector<qint64>& offsets)
{
    m_done = true;
    if (m_worker.joinable())
        m_worker.join();
    if (!m_view)
        return;
    for (qint64 offset : offsets) {
        const Hit hit = hitAt(offset);
        m_hits.push_back(hit);
        m_results->addItem(QStringLiteral("%1,%2").arg(hit.Line).arg(hit.Column));
    }
    const qsizetype count = offsets.size();
    m_status->setText(count == 0 ? tr("No matches..")
                                 : (count == 1 ? tr("1 match..") : QString::number(count) + tr(" matches..")));
    if (count > 0)
        m_results->setCurrentRow(0);
    Q_EMIT Finished();
}

void TSearchwin::ShowResult(int row)
{
    if (!m_view || row < 0 || row >= int(m_hits.size()))
        return;
    m_view->SelectAndShow(m_hits[size_t(row)].Line, m_hits[size_t(row)].Column, m_patternLength);
}
