#include "viewers/text/TSearchwin.h"

#include "platform/TMessages.h"
#include "viewers/text/SearchHitModel.h"
#include "viewers/text/TTextView.h"
#include "viewers/text/TextSearch.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
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
    , m_results(new QListView(this))
    , m_model(new SearchHitModel(this))
    , m_status(new QLabel(tr("Enter to search!"), this))
{
    setObjectName(QStringLiteral("Searchwin"));
    setWindowTitle(tr("Search Facility"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_edit->setObjectName(QStringLiteral("Edit1"));
    m_results->setObjectName(QStringLiteral("ListBox1"));
    // Rows of one height: the view then never measures the millions it does not show.
    m_results->setUniformItemSizes(true);
    m_results->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_results->setModel(m_model);
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
    connect(m_results->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { ShowResult(current.row()); });
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
    m_model->Clear();
    m_status->setText(tr("Enter to search!"));
}

void TSearchwin::Search()
{
    if (!m_view || m_edit->text().isEmpty())
        return;
    stopSearch();
    m_model->Clear();
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
        auto hits = std::make_shared<HitList>();
        QString error;
        TextSearch::Find(path, text, ignoreCase, oem, *hits, stop.get(), progress, &error);
        if (stop->load())
            return;
        // The window is deleted only on its own thread, after joining this one.
        QMetaObject::invokeMethod(
            self.data(), [self, hits, error] {
                if (self)
                    self->searchEnded(*hits, error);
            },
            Qt::QueuedConnection);
    });
}

void TSearchwin::searchEnded(HitList& hits, const QString& error)
{
    m_done = true;
    if (m_worker.joinable())
        m_worker.join();
    if (!m_view)
        return;
    const size_t count = hits.Size();
    m_model->SetHits(std::move(hits), m_view);
    if (!error.isEmpty())
        m_status->setText(error);
    else
        m_status->setText(count == 0 ? tr("No matches..")
                                     : (count == 1 ? tr("1 match..") : QString::number(count) + tr(" matches..")));
    if (count > 0)
        m_results->setCurrentIndex(m_model->index(0));
    Q_EMIT Finished();
}

void TSearchwin::ShowResult(int row)
{
    if (!m_view || row < 0 || row >= m_model->rowCount())
        return;
    const SearchHitModel::Place place = m_model->PlaceOf(row);
    m_view->SelectAndShow(place.Line, place.Column, m_patternLength);
}
