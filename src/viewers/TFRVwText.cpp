#include "viewers/TFRVwText.h"

#include "platform/FileNames.h"
#include "platform/TMessages.h"
#include "viewers/text/TSearchwin.h"
#include "viewers/text/TTextView.h"
#include "viewers/text/Teditorform.h"
#include "viewers/text/TextFileReader.h"
#include "viewers/text/TextLineFormat.h"
#include "viewers/text/TextPrinter.h"

#include <QButtonGroup>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QToolBar>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr qint64 kMaxEditBytes = qint64(64) << 20;

} // namespace

TFRVwText::TFRVwText(QWidget* parent)
    : QWidget(parent)
    , m_view(new TTextView(this))
    , m_position(new QLabel(this))
{
    setObjectName(QStringLiteral("FRVwText"));
    m_view->setObjectName(QStringLiteral("TextView"));
    m_view->SetTextColor(Qt::white);
    m_view->SetDOSgfxmode(TTextView::dg_autodetect);
    m_view->SetPrintPageNum(false);
    m_position->setObjectName(QStringLiteral("VWTextPos"));
    // A tool bar folds the buttons it has no room for into its extension menu, so a
    // narrow pane never widens the window.
    auto* strip = new QToolBar(this);
    strip->setObjectName(QStringLiteral("VWTextTools"));
    strip->setIconSize(QSize(16, 16));
    auto* top = new QHBoxLayout;
    top->setContentsMargins(4, 0, 0, 0);
    top->addWidget(m_position);
    top->addWidget(strip, 1);
    auto* modes = new QButtonGroup(this);
    const struct {
        const char* name;
        const char* hint;
        const char* caption;
        TextViewMode mode;
    } modeButtons[] = {
        {"VWTextWrapped", QT_TR_NOOP("Show text wrapped"), QT_TR_NOOP("Wrap"), TextViewMode::WordWrap},
        {"VWTextHex", QT_TR_NOOP("Show text in HEX format"), QT_TR_NOOP("Hex"), TextViewMode::Hex},
        {"VWTextNormal", QT_TR_NOOP("Show text with original format style"), QT_TR_NOOP("Normal"),
         TextViewMode::Standard},
    };
    const struct {
        const char* name;
        const char* hint;
        const char* caption;
        void (TFRVwText::*command)();
    } commandButtons[] = {
        {"VWTextFind", QT_TR_NOOP("Find text"), QT_TR_NOOP("Find"), &TFRVwText::Find},
        {"VWTextCopy", QT_TR_NOOP("Copy (selected) text to clipboard"), QT_TR_NOOP("Copy"), &TFRVwText::CopyText},
        {"VWTextPrint", QT_TR_NOOP("Print (selected) text"), QT_TR_NOOP("Print"), &TFRVwText::PrintText},
        {"VWTextEdit", QT_TR_NOOP("Edit text"), QT_TR_NOOP("Edit"), &TFRVwText::EditText},
    };
    for (const auto& b : commandButtons) {
        QToolButton* button = addButton(QLatin1String(b.name), tr(b.hint), tr(b.caption));
        strip->addWidget(button);
        connect(button, &QToolButton::clicked, this, b.command);
    }
    for (const auto& b : modeButtons) {
        QToolButton* button = addButton(QLatin1String(b.name), tr(b.hint), tr(b.caption));
        button->setCheckable(true);
        modes->addButton(button);
        strip->addWidget(button);
        const TextViewMode mode = b.mode;
        // Toggled, not clicked: assistive technology checks a button without clicking it.
        connect(button, &QToolButton::toggled, this, [this, mode](bool on) {
            if (on)
                m_view->SetViewMode(mode);
        });
        if (mode == TextViewMode::Standard)
            m_normal = button;
    }
    m_normal->setChecked(true);
    m_close = addButton(QStringLiteral("VWTextClose"), tr("Close viewer"), tr("Close"));
    m_close->setCheckable(true);
    strip->addWidget(m_close);
    connect(m_close, &QToolButton::clicked, this, [this] { Q_EMIT CloseRequested(); });
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addLayout(top);
    column->addWidget(m_view, 1);
    connect(m_view, &TTextView::ScrollXY, this, &TFRVwText::showPosition);
}

QToolButton* TFRVwText::addButton(const QString& name, const QString& hint, const QString& caption)
{
    auto* button = new QToolButton(this);
    button->setObjectName(name);
    button->setText(caption);
    button->setToolTip(hint);
    button->setStatusTip(hint);
    button->setAccessibleName(hint);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

void TFRVwText::showPosition(qint64 x, qint64 y, qint64 maxX, qint64 maxY)
{
    m_position->setText(tr("Line %1/%2:%3/%4").arg(x).arg(maxX).arg(y).arg(maxY));
}

void TFRVwText::SetFileName(const QString& path)
{
    m_view->SetActive(false);
    m_view->SetFilename(path);
    m_view->SetActive(true);
}

QString TFRVwText::FileName() const
{
    return m_view->Active() ? m_view->Filename() : QString();
}

void TFRVwText::Deactivate()
{
    m_view->SetActive(false);
}

void TFRVwText::SetCloseDown(bool down)
{
    m_close->setChecked(down);
}

void TFRVwText::Find()
{
    if (m_view->Active())
        TSearchwin::Open(m_view);
}

void TFRVwText::CopyText()
{
    m_view->Copy();
}

void TFRVwText::PrintText()
{
    if (m_view->SelectionStart() == m_view->SelectionEnd()) {
        MessageBeep();
        return;
    }
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    if (ShowModal(dialog) == QDialog::Accepted)
        TextPrinter::Print(*m_view, printer);
}

void TFRVwText::EditText()
{
    if (!m_view->Active())
        return;
    if (m_view->ViewMode() == TextViewMode::Hex) {
        TMessages::Show(MsgKind::Information, tr("Edit mode is yet supported in HEX mode"), MsgButtons::Ok, this);
        return;
    }
    const QString path = m_view->Filename();
    // The editor holds the whole file; the viewer is the tool for files of any size.
    if (QFileInfo(path).size() > kMaxEditBytes) {
        TMessages::Show(MsgKind::Information,
                        tr("%1 is too large to edit here (more than %2 MB).").arg(path).arg(kMaxEditBytes >> 20),
                        MsgButtons::Ok, this);
        return;
    }
    bool filter = false;
    if (!m_view->IsPlainText()) {
        switch (TMessages::Show(MsgKind::Confirmation,
                                tr("File you are trying to edit contains some non standard ASCII characters\n"
                                   "It could be impossible to modify but if it is,\n"
                                   "note that overwriting it with the modified version could result in loss of "
                                   "these informations..\nWish to filter before editing?"),
                                MsgButtons::YesNoCancel, this)) {
        case MsgResult::Yes:
            filter = true;
            break;
        case MsgResult::No:
            break;
        default:
            return;
        }
    }
    // Tracked before it is read, so a change made while it is read counts as one.
    FileReplacer file = FileReplacer::Track(EncodeFileName(path).toStdString());
    const bool oem = m_view->UsesOem();
    QString content;
    Teditorform::Charset charset = oem ? Teditorform::Charset::Oem : Teditorform::Charset::Utf8;
    if (filter) {
        QStringList lines;
        for (qint64 line = 0; line < m_view->LineCount(); ++line)
            lines << m_view->FormattedLine(line);
        content = lines.join(QLatin1Char('\n'));
    } else {
        TextFileReader reader;
        if (!reader.Open(path)) {
            TMessages::Show(MsgKind::Error, reader.Error(), MsgButtons::Ok, this);
            return;
        }
        const QByteArray raw = reader.Read(0, QFileInfo(path).size());
        charset = Teditorform::CharsetOf(raw, oem);
        content = Teditorform::Decode(raw, charset);
    }
    m_view->SetActive(false);
    Teditorform editor(std::move(file), path, content, charset, {m_view->font(), m_view->BackColor(), m_view->TextColor()}, window());
    Q_EMIT EditorOpening();
    ShowModal(editor);
    Q_EMIT EditorClosed();
    m_view->SetActive(true);
}
