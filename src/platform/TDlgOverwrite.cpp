// The overwrite question (see TDlgOverwrite.h).
#include "platform/TDlgOverwrite.h"

#include "core/DateTexts.h"
#include "core/NumberFormat.h"
#include "platform/AnswerButtons.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

QLabel* label(QWidget* parent, const QString& name, const QString& text)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setAccessibleName(text);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
}

QString whenText(const QDateTime& when)
{
    return ShortDateText(when.date()) + QLatin1Char(' ') + when.time().toString(QStringLiteral("hh:mm:ss"));
}

QString detailsText(const QString& path, bool folder, int64_t size, const QDateTime& modified)
{
    const QString what = folder ? QStringLiteral("folder")
                                : FormatFloat(QStringLiteral("###,##0"), double(size)) + QStringLiteral(" bytes");
    return QStringLiteral("%1\n%2, modified %3").arg(path, what, whenText(modified));
}

} // namespace

TDlgOverwrite::TDlgOverwrite(const FileOpConflict& conflict, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TDlgOverwrite"));
    setWindowTitle(QStringLiteral("Confirm file replace"));
    setAccessibleName(windowTitle());
    auto* layout = new QVBoxLayout(this);
    const QString name = QFileInfo(conflict.TargetPath).fileName();
    layout->addWidget(label(this, QStringLiteral("LBText"),
                            QStringLiteral("This folder already contains a file named \"%1\".").arg(name)));
    layout->addWidget(label(this, QStringLiteral("LBReplace"), QStringLiteral("Would you like to replace the existing file")));
    layout->addWidget(label(this, QStringLiteral("LBExisting"),
                            detailsText(conflict.TargetPath, false, conflict.TargetSize, conflict.TargetModified)));
    layout->addWidget(label(this, QStringLiteral("LBWith"), conflict.SourceIsFolder ? QStringLiteral("with this folder?")
                                                                                     : QStringLiteral("with this one?")));
    layout->addWidget(label(this, QStringLiteral("LBNew"), detailsText(conflict.SourcePath, conflict.SourceIsFolder,
                                                                       conflict.SourceSize, conflict.SourceModified)));
    auto* row = new QHBoxLayout;
    // Enter must never destroy a file by accident.
    AddAnswerButtons(*this, *row,
                     {{"BTNYes", "&Yes", OverwriteYes},
                      {"BTNYesToAll", "Yes to &all", OverwriteYesToAll},
                      {"BTNNo", "&No", OverwriteNo},
                      {"BTNNoToAll", "N&o to all", OverwriteNoToAll},
                      {"BTNCancel", "Cancel", OverwriteCancel}},
                     OverwriteNo);
    layout->addLayout(row);
}

void TDlgOverwrite::reject() { done(OverwriteCancel); }

OverwriteChoice TDlgOverwrite::ChoiceOf(int code)
{
    switch (code) {
    case OverwriteYes: return OverwriteChoice::Yes;
    case OverwriteYesToAll: return OverwriteChoice::YesToAll;
    case OverwriteNo: return OverwriteChoice::No;
    case OverwriteNoToAll: return OverwriteChoice::NoToAll;
    default: return OverwriteChoice::Cancel;
    }
}
