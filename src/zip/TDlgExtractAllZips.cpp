#include "TDlgExtractAllZips.h"

#include "TPasswordDlg.h"
#include "TZipMaster.h"
#include "ZipBatchExtractor.h"
#include "ZipOverwriteQuestion.h"
#include "platform/TMessages.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <exception>
#include <vector>

namespace {

constexpr int kNameColumn = 0;
constexpr int kStatusColumn = 1;
constexpr int kCellPadding = 5;

// Whatever ends the run, the user gets the pointer and the buttons back.
class RunScope {
public:
    RunScope(bool& running, std::initializer_list<QPushButton*> buttons) : m_running(running), m_buttons(buttons)
    {
        m_running = true;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        for (QPushButton* b : m_buttons)
            b->setEnabled(false);
    }
    ~RunScope()
    {
        for (QPushButton* b : m_buttons)
            b->setEnabled(true);
        QApplication::restoreOverrideCursor();
        m_running = false;
    }
    RunScope(const RunScope&) = delete;
    RunScope& operator=(const RunScope&) = delete;

private:
    bool& m_running;
    std::vector<QPushButton*> m_buttons;
};

} // namespace

TDlgExtractAllZips::TDlgExtractAllZips(const QString& dllDirectory, QWidget* parent)
    : QDialog(parent), m_zip(std::make_unique<TZipMaster>())
{
    setObjectName(QStringLiteral("DlgExtractAllZips"));
    setWindowTitle(tr("Extract all ZIPs"));
    // Neither verbose nor unattended: what the component reports itself shows a box too.
    m_zip->Verbose = false;
    m_zip->Unattended = false;
    m_zip->SetDLLDirectory(dllDirectory);
    m_zip->AskPassword = &TPasswordDlg::Ask;

    m_files = new QTableWidget(0, 2, this);
    m_files->setObjectName(QStringLiteral("SGFiles"));
    m_files->setAccessibleName(windowTitle());
    m_files->setHorizontalHeaderLabels({tr("Filename"), tr("Status")});
    m_files->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_files->verticalHeader()->hide();
    m_files->verticalHeader()->setMinimumSectionSize(0);
    m_files->verticalHeader()->setDefaultSectionSize(m_files->fontMetrics().size(0, QStringLiteral("X")).height() + 3);
    for (int column : {kNameColumn, kStatusColumn})
        m_files->setColumnWidth(column, m_files->fontMetrics().horizontalAdvance(
                                            m_files->horizontalHeaderItem(column)->text()) + kCellPadding);

    m_extract = new QPushButton(tr("Extract all"), this);
    m_extract->setObjectName(QStringLiteral("BTNExtract"));
    m_close = new QPushButton(tr("Close"), this);
    m_close->setObjectName(QStringLiteral("BTNClose"));
    for (QPushButton* b : {m_extract, m_close})
        b->setAccessibleName(b->text());
    connect(m_extract, &QPushButton::clicked, this, &TDlgExtractAllZips::BTNExtractClick);
    connect(m_close, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_extract);
    buttons->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_files);
    layout->addLayout(buttons);
    resize(420, 260);
}

TDlgExtractAllZips::~TDlgExtractAllZips() = default;

void TDlgExtractAllZips::SetArchives(const QString& sourceDir, const QString& targetDir, const QStringList& names)
{
    m_sourceDir = sourceDir;
    m_targetDir = targetDir;
    m_names = names;
    m_files->setRowCount(int(names.size()));
    for (int row = 0; row < names.size(); ++row) {
        setCell(row, kNameColumn, names.at(row));
        setCell(row, kStatusColumn, QString());
    }
}

void TDlgExtractAllZips::reject()
{
    // Escape and the window's close button wait for the run like "Close" does.
    if (!m_running)
        QDialog::reject();
}

void TDlgExtractAllZips::setCell(int row, int column, const QString& text)
{
    auto* item = m_files->item(row, column);
    if (!item) {
        item = new QTableWidgetItem;
        m_files->setItem(row, column, item);
    }
    item->setText(text);
    const int wanted = m_files->fontMetrics().horizontalAdvance(text) + kCellPadding;
    if (wanted > m_files->columnWidth(column))
        m_files->setColumnWidth(column, wanted);
}

void TDlgExtractAllZips::showStatus(int row, const QString& text)
{
    setCell(row, kStatusColumn, text);
    m_files->scrollToItem(m_files->item(row, kStatusColumn));
    m_files->viewport()->repaint();
}

void TDlgExtractAllZips::BTNExtractClick()
{
    // "Extract all" is off as well as "Close": a second run started from within the
    // component's callbacks would change the archive under the running one.
    RunScope scope(m_running, {m_close, m_extract});
    try {
        extractAll();
    } catch (const std::exception& e) {
        TMessages::Show(MsgKind::Error, QString::fromUtf8(e.what()), MsgButtons::Ok, this);
    }
}

void TDlgExtractAllZips::extractAll()
{
    ZipBatchExtractor extractor(*m_zip, [this](const FileOpConflict& conflict) {
        return ZipOverwriteQuestion::Ask(conflict, this);
    });
    extractor.Run(m_sourceDir, m_targetDir, m_names, [this](int row, ZipBatchExtractor::Status status) {
        switch (status) {
        case ZipBatchExtractor::Status::Extracting:
            showStatus(row, tr("Extracting..."));
            break;
        case ZipBatchExtractor::Status::Extracted:
            showStatus(row, tr("Extracted"));
            break;
        case ZipBatchExtractor::Status::Failed:
            showStatus(row, tr("An error occurred while extracting!"));
            break;
        case ZipBatchExtractor::Status::ExtractedAndDeleted:
            showStatus(row, tr("Extracted and deleted"));
            break;
        }
    });
}
