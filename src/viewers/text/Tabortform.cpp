#include "viewers/text/Tabortform.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTime>
#include <QVBoxLayout>

Tabortform::Tabortform(QWidget* parent)
    : QDialog(parent)
    , m_progress(new QProgressBar(this))
    , m_lines(new QLabel(this))
    , m_timeLeft(new QLabel(this))
{
    setObjectName(QStringLiteral("abortform"));
    setWindowTitle(tr("Analizing large text file.."));
    setAccessibleName(windowTitle());
    setModal(false);

    // A busy bar is the animation: it keeps moving even while the percentage stands still.
    auto* busy = new QProgressBar(this);
    busy->setObjectName(QStringLiteral("Animate1"));
    busy->setRange(0, 0);
    busy->setTextVisible(false);
    m_progress->setObjectName(QStringLiteral("ProgressBar1"));
    m_progress->setRange(0, 100);
    m_lines->setObjectName(QStringLiteral("Label1"));
    m_timeLeft->setObjectName(QStringLiteral("Label2"));
    auto* abort = new QPushButton(tr("Abort"), this);
    abort->setObjectName(QStringLiteral("Button1"));

    auto* layout = new QVBoxLayout(this);
    for (QWidget* widget : {static_cast<QWidget*>(busy), static_cast<QWidget*>(m_progress),
                            static_cast<QWidget*>(m_lines), static_cast<QWidget*>(m_timeLeft)})
        layout->addWidget(widget);
    layout->addWidget(abort, 0, Qt::AlignHCenter);

    connect(abort, &QPushButton::clicked, this, [this, abort] {
        abort->setEnabled(false);
        Q_EMIT AbortRequested();
    });
    connect(this, &QDialog::rejected, this, &Tabortform::AbortRequested);
    ShowProgress(0, 0, 0);
}

void Tabortform::ShowProgress(int percent, qint64 lines, qint64 elapsedMsecs)
{
    m_progress->setValue(qBound(0, percent, 100));
    m_lines->setText(tr("Lines so far: ") + QString::number(lines));
    m_timeLeft->setText(tr("Time left: ") + TimeLeft(percent, elapsedMsecs));
}

QString Tabortform::TimeLeft(int percent, qint64 elapsedMsecs)
{
    if (percent <= 0)
        return QStringLiteral("?");
    const qint64 leftMsecs = elapsedMsecs * (100 - qMin(percent, 100)) / percent;
    const qint64 seconds = leftMsecs / 1000;
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}
