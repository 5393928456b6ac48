#include "TDlgValidateSFV.h"

#include "platform/FileNames.h"
#include "platform/TMessages.h"
#include "tools/sfv/SfvReader.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QStyle>
#include <QTableWidget>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

namespace {

// Columns hold a name or status plus this much air.
constexpr int kColumnMargin = 5;

QPushButton* makeButton(const QString& objectName, const QString& caption, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(objectName);
    button->setAccessibleName(caption);
    return button;
}

QTableWidgetItem* readOnlyItem(const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

int clampedToInt(qint64 value)
{
    return int(std::min<qint64>(value, std::numeric_limits<int>::max()));
}

} // namespace

TDlgValidateSFV::TDlgValidateSFV(const QString& folder, const QString& sfvName, QWidget* parent)
    : QDialog(parent)
    , m_folder(folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/'))
    , m_sfvName(sfvName)
    , m_files(new QTableWidget(this))
    , m_validate(makeButton(QStringLiteral("BTNValidate"), tr("Validate values"), this))
    , m_close(makeButton(QStringLiteral("BTNClose"), tr("Close"), this))
    , m_fileStatus(new QLabel(tr("File status"), this))
    , m_bar(new QProgressBar(this))
    , m_statusLine(new QStatusBar(this))
{
    setObjectName(QStringLiteral("TDlgValidateSFV"));
    setWindowTitle(tr("Validate SFV values"));
    setAccessibleName(windowTitle());
    buildGrid();

    m_fileStatus->setObjectName(QStringLiteral("Lab1"));
    m_fileStatus->setAccessibleName(m_fileStatus->text());
    m_fileStatus->setBuddy(m_bar);
    m_bar->setObjectName(QStringLiteral("bar1"));
    m_bar->setAccessibleName(m_fileStatus->text());
    m_bar->setTextVisible(false);
    m_statusLine->setObjectName(QStringLiteral("StatusLine"));
    m_statusLine->setSizeGripEnabled(false);
    m_validate->setEnabled(false);

    auto* progressRow = new QHBoxLayout;
    progressRow->addWidget(m_fileStatus);
    progressRow->addWidget(m_bar, 1);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addWidget(m_validate);
    buttonRow->addStretch(1);
    buttonRow->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_files, 1);
    layout->addLayout(progressRow);
    layout->addLayout(buttonRow);
    layout->addWidget(m_statusLine);
    setRunning(false);

    connect(m_validate, &QPushButton::clicked, this, &TDlgValidateSFV::BTNValidateClick);
    connect(m_close, &QPushButton::clicked, this, &TDlgValidateSFV::reject);
    resize(544, 375);
}

TDlgValidateSFV::~TDlgValidateSFV()
{
    stopReading();
    stopValidation();
}

void TDlgValidateSFV::Execute(QWidget* parent, const QString& folder, const QString& sfvName)
{
    TDlgValidateSFV dialog(folder, sfvName, parent);
    dialog.ReadSfvFile();
    ShowModal(dialog);
}

void TDlgValidateSFV::buildGrid()
{
    m_files->setObjectName(QStringLiteral("files"));
    m_files->setAccessibleName(tr("Files"));
    m_files->setColumnCount(4);
    m_files->setHorizontalHeaderLabels({tr("File name"), tr("Length"), tr("CRC"), tr("Result")});
    m_files->verticalHeader()->hide();
    m_files->verticalHeader()->setMinimumSectionSize(1);
    m_files->verticalHeader()->setDefaultSectionSize(m_files->fontMetrics().height() + 3);
    m_files->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_files->setColumnWidth(ColName, 200);
    m_files->setColumnWidth(ColLength, 90);
    m_files->setColumnWidth(ColCrc, 80);
    m_files->setColumnWidth(ColResult, 120);
}

void TDlgValidateSFV::ReadSfvFile()
{
    stopValidation();
    stopReading();
    m_entries.clear();
    m_rowsFilled = 0;
    m_files->setRowCount(0);
    setRunning(false);
    m_readingStop = std::make_shared<std::atomic<bool>>(false);
    const QByteArray path = EncodeFileName(m_folder) + EncodeFileName(m_sfvName);
    m_reading.reset(QThread::create([this, path, stop = m_readingStop] {
        std::optional<std::vector<SfvEntry>> entries = SfvReader::ReadFile(path, stop.get());
        if (stop->load())
            return;
        // The dialog waits for this thread before it goes, so `this` is still there.
        QMetaObject::invokeMethod(
            this, [this, entries = std::move(entries)]() mutable { listRead(std::move(entries)); },
            Qt::QueuedConnection);
    }));
    m_reading->start();
}

void TDlgValidateSFV::listRead(std::optional<std::vector<SfvEntry>> entries)
{
    if (!m_reading)
        return;   // stopped meanwhile
    m_reading->wait();
    m_reading.reset();
    if (!entries || entries->empty()) {
        TMessages::Show(MsgKind::Warning, tr("A problem occurred processing SFV file"), MsgButtons::Ok, this);
        return;
    }
    m_entries = std::move(*entries);
    m_files->setRowCount(int(std::min<size_t>(m_entries.size(), size_t(std::numeric_limits<int>::max()))));
    fillRows();
}

void TDlgValidateSFV::fillRows()
{
    // A part small enough that the window answers between two of them.
    constexpr size_t kRowsPerTurn = 2000;
    const size_t end = std::min({m_rowsFilled + kRowsPerTurn, m_entries.size(), size_t(m_files->rowCount())});
    for (; m_rowsFilled < end; ++m_rowsFilled) {
        const int row = int(m_rowsFilled);
        const SfvEntry& entry = m_entries[m_rowsFilled];
        const QString name = DisplayFileName(entry.Key);
        m_files->setItem(row, ColName, readOnlyItem(name));
        m_files->setItem(row, ColLength, readOnlyItem(entry.Length));
        m_files->setItem(row, ColCrc, readOnlyItem(entry.Crc));
        m_files->setItem(row, ColResult, readOnlyItem({}));
        widenColumn(ColName, name);
    }
    if (m_rowsFilled < size_t(m_files->rowCount())) {
        QTimer::singleShot(0, this, &TDlgValidateSFV::fillRows);
        return;
    }
    m_entries.resize(m_rowsFilled);
    setRunning(false);
}

void TDlgValidateSFV::stopReading()
{
    // Rows not yet in the grid are dropped with the rest of the list.
    m_entries.resize(m_rowsFilled);
    m_files->setRowCount(int(m_rowsFilled));
    if (!m_reading)
        return;
    // The reader checks the flag after every buffer and never waits on this thread.
    m_readingStop->store(true);
    m_reading->wait();
    m_reading.reset();
}

void TDlgValidateSFV::widenColumn(int column, const QString& text)
{
    // The style pads a cell's text on both sides; without that the text reads elided.
    const int padding = 2 * (m_files->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_files) + 1);
    const int wanted = m_files->fontMetrics().horizontalAdvance(text) + padding + kColumnMargin;
    if (m_files->columnWidth(column) < wanted)
        m_files->setColumnWidth(column, wanted);
}

void TDlgValidateSFV::BTNValidateClick()
{
    if (Validating() || Reading() || m_entries.empty())
        return;
    m_validator = std::make_unique<SfvValidator>(EncodeFileName(m_folder), m_entries);
    SfvValidator* validator = m_validator.get();
    connect(validator, &SfvValidator::RowStatus, this, &TDlgValidateSFV::showStatus, Qt::QueuedConnection);
    connect(validator, &SfvValidator::Progress, this, &TDlgValidateSFV::showProgress, Qt::QueuedConnection);
    m_thread.reset(QThread::create([validator] {
        try {
            validator->Run();
        } catch (...) {
            // The run ends as if finished; the rows not reached keep no status.
        }
    }));
    connect(m_thread.get(), &QThread::finished, this, &TDlgValidateSFV::validationEnded, Qt::QueuedConnection);
    setRunning(true);
    m_thread->start();
}

void TDlgValidateSFV::showStatus(int row, SfvValidator::Status status)
{
    if (!Validating() || row < 0 || row >= m_files->rowCount())
        return;   // a status sent before the check was stopped
    QString text;
    switch (status) {
    case SfvValidator::Status::UnableToOpen: text = tr("Unable to open file!"); break;
    case SfvValidator::Status::SizeDiffers: text = tr("File size differs!"); break;
    case SfvValidator::Status::Processing: text = tr("Processing..."); break;
    case SfvValidator::Status::ValidatedOk: text = tr("Validated ok"); break;
    case SfvValidator::Status::CrcDiffers: text = tr("CRC values differ!"); break;
    }
    QTableWidgetItem* item = m_files->item(row, ColResult);
    item->setText(text);
    widenColumn(ColResult, text);
    m_files->scrollToItem(item);
}

void TDlgValidateSFV::showProgress(qint64 blocksRead, qint64 blocksTotal)
{
    m_bar->setRange(0, clampedToInt(blocksTotal));
    m_bar->setValue(clampedToInt(std::min(blocksRead, blocksTotal)));
}

void TDlgValidateSFV::setRunning(bool running)
{
    m_fileStatus->setVisible(running);
    m_bar->setVisible(running);
    m_validate->setEnabled(!running && !Reading() && !m_entries.empty());
    if (running) {
        m_bar->setValue(0);
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
}

void TDlgValidateSFV::validationEnded()
{
    if (!Validating())
        return;   // already ended by stopValidation
    m_thread->wait();
    m_thread.reset();
    m_validator.reset();
    setRunning(false);
    QApplication::restoreOverrideCursor();
}

void TDlgValidateSFV::stopValidation()
{
    if (!Validating())
        return;
    // The worker never waits on this thread, so waiting for it here cannot deadlock.
    m_validator->Stop();
    validationEnded();
}

void TDlgValidateSFV::reject()
{
    stopReading();
    stopValidation();
    QDialog::reject();
}

bool TDlgValidateSFV::event(QEvent* event)
{
    if (event->type() == QEvent::StatusTip) {
        m_statusLine->showMessage(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QDialog::event(event);
}
