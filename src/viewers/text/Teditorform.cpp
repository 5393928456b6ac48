#include "viewers/text/Teditorform.h"

#include "platform/AtomicFile.h"
#include "platform/FileNames.h"
#include "platform/TMessages.h"
#include "viewers/text/TextLineFormat.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStringDecoder>
#include <QVBoxLayout>
#include <cstring>

Teditorform::Charset Teditorform::CharsetOf(const QByteArray& raw, bool oem)
{
    if (oem)
        return Charset::Oem;
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString decoded = utf8.decode(raw);   // the conversion runs only when taken
    return utf8.hasError() ? Charset::Latin1 : Charset::Utf8;
}

QString Teditorform::Decode(const QByteArray& raw, Charset charset)
{
    switch (charset) {
    case Charset::Oem:
        return TextLineFormat::Oem(raw);
    case Charset::Latin1:
        return QString::fromLatin1(raw);
    default:
        return QString::fromUtf8(raw);
    }
}

Teditorform::Teditorform(const QString& path, const QString& content, Charset charset, const Look& look,
                         QWidget* parent)
    : QDialog(parent)
    , m_path(path)
    , m_charset(charset)
    , m_crlf(content.contains(QLatin1String("\r\n")))
    , m_memo(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("editorform"));
    setWindowTitle(path);
    m_memo->setObjectName(QStringLiteral("memo1"));
    m_memo->setAccessibleName(QStringLiteral("memo1"));
    m_memo->setFont(look.Font);
    m_memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    QPalette colours = m_memo->palette();
    colours.setColor(QPalette::Base, look.Back);
    colours.setColor(QPalette::Text, look.Text);
    m_memo->setPalette(colours);
    QString text = content;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    m_memo->setPlainText(text);
    m_memo->document()->setModified(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setMenuBar(new QMenuBar(this));
    layout->addWidget(m_memo);
    buildMenus();
    resize(640, 480);
}

void Teditorform::buildMenus()
{
    auto* bar = static_cast<QMenuBar*>(layout()->menuBar());
    QMenu* file = bar->addMenu(tr("&File"));
    connect(file->addAction(tr("Quit and don't save..")), &QAction::triggered, this, &Teditorform::QuitWithoutSaving);
    connect(file->addAction(tr("Save a copy..")), &QAction::triggered, this, &Teditorform::SaveCopy);
    connect(file->addAction(tr("Save and close..")), &QAction::triggered, this, &Teditorform::SaveAndClose);
    QMenu* edit = bar->addMenu(tr("&Edit"));
    const struct {
        const char* caption;
        QKeySequence keys;
        void (QPlainTextEdit::*slot)();
    } items[] = {
        {QT_TR_NOOP("Cu&t"), QKeySequence(Qt::CTRL | Qt::Key_X), &QPlainTextEdit::cut},
        {QT_TR_NOOP("&Copy"), QKeySequence(Qt::CTRL | Qt::Key_C), &QPlainTextEdit::copy},
        {QT_TR_NOOP("&Paste"), QKeySequence(Qt::CTRL | Qt::Key_V), &QPlainTextEdit::paste},
    };
    for (const auto& item : items) {
        QAction* action = edit->addAction(tr(item.caption));
        action->setShortcut(item.keys);
        connect(action, &QAction::triggered, m_memo, item.slot);
    }
    QAction* remove = edit->addAction(tr("&Delete"));
    remove->setShortcut(QKeySequence(Qt::Key_Delete));
    connect(remove, &QAction::triggered, m_memo, [this] {
        QTextCursor cursor = m_memo->textCursor();
        if (cursor.hasSelection())
            cursor.removeSelectedText();
        else
            cursor.deleteChar();
    });
    connect(edit->addAction(tr("&Select All")), &QAction::triggered, m_memo, &QPlainTextEdit::selectAll);
}

QByteArray Teditorform::Bytes() const
{
    QString text = m_memo->toPlainText();
    if (m_crlf)
        text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    switch (m_charset) {
    case Charset::Oem:
        return TextLineFormat::FromText(text, true);
    case Charset::Latin1:
        // Characters beyond Latin-1 typed by the user become '?', as in code page 437.
        return text.toLatin1();
    default:
        return text.toUtf8();
    }
}

bool Teditorform::saveTo(const QString& path)
{
    if (const int error = AtomicFile::Write(path, Bytes())) {
        TMessages::Show(MsgKind::Error,
                        tr("Cannot save %1: %2").arg(DisplayFileName(path), QString::fromLocal8Bit(std::strerror(error))),
                        MsgButtons::Ok, this);
        return false;
    }
    return true;
}

bool Teditorform::SaveFile()
{
    if (!saveTo(m_path))
        return false;
    m_memo->document()->setModified(false);
    return true;
}

void Teditorform::QuitWithoutSaving()
{
    m_closing = true;
    QDialog::reject();
}

void Teditorform::SaveAndClose()
{
    // A failed save keeps the editor open with the user's text.
    if (m_memo->document()->isModified() && !SaveFile())
        return;
    m_closing = true;
    accept();
}

void Teditorform::SaveCopy()
{
    const QString copy = QFileDialog::getSaveFileName(this, QString(), QString(), tr("Text Files (*.txt)"));
    if (!copy.isEmpty())
        saveTo(copy);
}

void Teditorform::reject()
{
    // Escape and the close box go through the same question as closing.
    close();
}

void Teditorform::closeEvent(QCloseEvent* event)
{
    if (m_closing || !m_memo->document()->isModified()) {
        event->accept();
        QDialog::reject();
        return;
    }
    switch (TMessages::Show(MsgKind::Confirmation, tr("Save changes to %1 ?").arg(m_path), MsgButtons::YesNoCancel, this)) {
    case MsgResult::Yes:
        if (!SaveFile()) {
            event->ignore();
            return;
        }
        break;
    case MsgResult::No:
        break;
    default:
        event->ignore();
        return;
    }
    m_closing = true;
    event->accept();
    QDialog::reject();
}
