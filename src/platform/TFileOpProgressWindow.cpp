// The progress window of a file operation (see TFileOpProgressWindow.h).
#include "platform/TFileOpProgressWindow.h"

#include "platform/FileOpJob.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int kRefreshMs = 100;
constexpr int kBarSteps = 1000;

QLabel* label(QWidget* parent, const QString& name)
{
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    return l;
}

// The part of the work done, from bytes where there are any, else from items.
double doneFraction(const FileOpProgress& p)
{
    if (p.BytesTotal > 0)
        return std::min(1.0, double(p.BytesDone) / double(p.BytesTotal));
    if (p.FilesTotal > 0)
        return std::min(1.0, double(p.FilesDone) / double(p.FilesTotal));
    return 0;
}

} // namespace

TFileOpProgressWindow::TFileOpProgressWindow(std::shared_ptr<FileOpJob> job, QWidget* owner)
    : QDialog(owner)
    , m_job(std::move(job))
    , m_operation(label(this, QStringLiteral("LBOperation")))
    , m_file(label(this, QStringLiteral("LBFile")))
    , m_bar(new QProgressBar(this))
    , m_files(label(this, QStringLiteral("LBFiles")))
    , m_timeLeft(label(this, QStringLiteral("LBTimeLeft")))
    , m_cancel(new QPushButton(tr("Cancel"), this))
    , m_timer(new QTimer(this))
{
    setObjectName(QStringLiteral("TFileOpProgressWindow"));
    setWindowTitle(OperationText(m_job->Kind));
    setAccessibleName(windowTitle());
    setWindowModality(owner ? Qt::WindowModal : Qt::NonModal);
    m_bar->setObjectName(QStringLiteral("PBProgress"));
    m_bar->setAccessibleName(tr("Progress"));
    m_bar->setRange(0, kBarSteps);
    m_bar->setValue(0);
    m_cancel->setObjectName(QStringLiteral("BTNCancel"));
    m_cancel->setAccessibleName(m_cancel->text());
    setText(m_operation, OperationText(m_job->Kind));
    m_file->setMinimumWidth(420);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_operation);
    layout->addWidget(m_file);
    layout->addWidget(m_bar);
    layout->addWidget(m_files);
    layout->addWidget(m_timeLeft);
    layout->addWidget(m_cancel, 0, Qt::AlignRight);
    connect(m_cancel, &QPushButton::clicked, this, &TFileOpProgressWindow::reject);
    connect(m_timer, &QTimer::timeout, this, &TFileOpProgressWindow::refresh);
    m_timer->start(kRefreshMs);
}

TFileOpProgressWindow::~TFileOpProgressWindow() = default;

QString TFileOpProgressWindow::OperationText(FileOpKind kind)
{
    switch (kind) {
    case FileOpKind::Copy: return tr("Copying");
    case FileOpKind::Move: return tr("Moving");
    case FileOpKind::Delete: return tr("Deleting");
    case FileOpKind::Rename: return tr("Renaming");
    }
    return {};
}

QString TFileOpProgressWindow::TimeLeftText(const FileOpProgress& p)
{
    const double done = doneFraction(p);
    // Under a second of work or a percent of the data says little about the rest.
    if (p.Scanning || p.ElapsedMs < 1000 || done < 0.01)
        return {};
    const int64_t left = int64_t(double(p.ElapsedMs) * (1 - done) / done / 1000 + 0.5);
    const QString minutesSeconds = QStringLiteral("%1:%2").arg(left / 60 % 60).arg(left % 60, 2, 10, QLatin1Char('0'));
    if (left >= 3600)
        return tr("Time left: %1:%2").arg(left / 3600).arg(minutesSeconds.rightJustified(5, QLatin1Char('0')));
    return tr("Time left: ") + minutesSeconds;
}

void TFileOpProgressWindow::reject()
{
    // QDialog's close handling rejects too: once the operation has ended there is
    // nothing to stop, and the window must really go (a quit waits for it).
    if (m_job->Finished) {
        QDialog::reject();
        return;
    }
    m_job->Cancel = true;
    m_cancel->setEnabled(false);
    setText(m_operation, tr("Cancelling"));
}

void TFileOpProgressWindow::closeEvent(QCloseEvent* event)
{
    if (m_job->Finished) {
        QDialog::closeEvent(event);
        return;
    }
    event->ignore();
    reject();
}

void TFileOpProgressWindow::setText(QLabel* label, const QString& text)
{
    if (label->text() == text)
        return;
    label->setText(text);
    label->setAccessibleName(text);
}

void TFileOpProgressWindow::refresh()
{
    FileOpProgress p;
    if (!m_job->TakeProgress(p))
        return;
    const QFontMetrics metrics(m_file->font());
    setText(m_file, metrics.elidedText(p.CurrentFile, Qt::ElideMiddle, m_file->width()));
    if (p.Scanning) {
        setText(m_files, tr("Counting: %1 files").arg(p.FilesTotal));
        m_bar->setRange(0, 0);   // busy: the total is not known yet
        return;
    }
    m_bar->setRange(0, kBarSteps);
    m_bar->setValue(int(doneFraction(p) * kBarSteps));
    setText(m_files, tr("%1 of %2 files").arg(std::min(p.FilesDone, p.FilesTotal)).arg(p.FilesTotal));
    setText(m_timeLeft, TimeLeftText(p));
}
