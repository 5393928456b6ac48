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
    const QString what = folder ? TDlgOverwrite::tr("folder")
                                : FormatFloat(QStringLiteral("###,##0"), double(size)) + TDlgOverwrite::tr(" bytes");
    return TDlgOverwrite::tr("%1\n%2, modified %3").arg(path, what, whenText(modified));
}

} // namespace

TDlgOverwrite::TDlgOverwrite(const FileOpConflict& conflict, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TDlgOverwrite"));
    setWindowTitle(tr("Confirm file replace"));
    setAccessibleName(windowTitle());
    auto* layout = new QVBoxLayout(this);
    const QString name = QFileInfo(conflict.TargetPath).fileName();
    layout->addWidget(label(this, QStringLiteral("LBText"),
                            tr("This folder already contains a file named \"%1\".").arg(name)));
    layout->addWidget(label(this, QStringLiteral("LBReplace"), tr("Would you like to replace the existing file")));
    layout->addWidget(label(this, QStringLiteral("LBExisting"),
                            detailsText(conflict.TargetPath, false, conflict.TargetSize, conflict.TargetModified)));
    layout->addWidget(label(this, QStringLiteral("LBWith"), conflict.SourceIsFolder ? tr("with this folder?")
                                                                                     : tr("with this one?")));
    layout->addWidget(label(this, QStringLiteral("LBNew"), detailsText(conflict.SourcePath, conflict.SourceIsFolder,
                                                                       conflict.SourceSize, conflict.SourceModified)));
    auto* row = new QHBoxLayout;
    // Enter must never destroy a file by accident.
    AddAnswerButtons(*this, *row,
                     {{"BTNYes", QT_TRANSLATE_NOOP("AnswerButtons", "&Yes"), OverwriteYes},
                      {"BTNYesToAll", QT_TRANSLATE_NOOP("AnswerButtons", "Yes to &all"), OverwriteYesToAll},
                      {"BTNNo", QT_TRANSLATE_NOOP("AnswerButtons", "&No"), OverwriteNo},
                      {"BTNNoToAll", QT_TRANSLATE_NOOP("AnswerButtons", "N&o to all"), OverwriteNoToAll},
                      {"BTNCancel", QT_TRANSLATE_NOOP("AnswerButtons", "Cancel"), OverwriteCancel}},
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
