#include "viewers/text/Teditorform.h"

#include "platform/FileNames.h"
#include "platform/TMessages.h"
#include "viewers/text/TextLineFormat.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStringDecoder>
#include <QVBoxLayout>
#include <cstring>
#include <utility>

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
    : Teditorform(FileReplacer::Track(EncodeFileName(path).toStdString()), path, content, charset, look, parent)
{
}

Teditorform::Teditorform(FileReplacer file, const QString& path, const QString& content, Charset charset,
                         const Look& look, QWidget* parent)
    : QDialog(parent)
    , m_path(path)
    , m_file(std::move(file))
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

QString Teditorform::reasonOf(const FileReplacer& replacer, FileReplacer::Status status, const QString& path) const
{
    const QString name = DisplayFileName(path);
    switch (status) {
    case FileReplacer::Status::ReadOnly:
        return tr("%1 is read-only.").arg(name);
    case FileReplacer::Status::NotOwner:
        return tr("%1 belongs to another user.").arg(name);
    case FileReplacer::Status::NotRegular:
        return tr("%1 is not a regular file.").arg(name);
    case FileReplacer::Status::Changed:
        return tr("%1 was changed by another program.").arg(name);
    default:
        return tr("Cannot save %1: %2").arg(name, QString::fromLocal8Bit(std::strerror(replacer.Error())));
    }
}

// The new content waits in its temporary file while the user is asked, so an answer
// costs no second write.
FileReplacer::Status Teditorform::replaceFile(const QByteArray& bytes)
{
    FileReplacer::Status status = m_file.ReplaceWith(bytes.constData(), size_t(bytes.size()));
    if (status != FileReplacer::Status::Changed)
        return status;
    switch (TMessages::Show(MsgKind::Confirmation,
                            tr("%1 was changed by another program since it was opened.\n"
                               "Overwrite it with your text? No saves a copy instead.")
                                .arg(DisplayFileName(m_path)),
                            MsgButtons::YesNoCancel, this)) {
    case MsgResult::Yes:
        // Only a link put in the file's place still stops it, and is not written through.
        status = m_file.Commit(FileReplacer::IfChanged::Overwrite);
        return status == FileReplacer::Status::Changed ? FileReplacer::Status::NotRegular : status;
    case MsgResult::No:
        m_file.Abandon();
        return SaveCopy() ? FileReplacer::Status::Ok : FileReplacer::Status::Changed;
    default:
        m_file.Abandon();
        return FileReplacer::Status::Changed;
    }
}

bool Teditorform::offerCopy(const QString& reason)
{
    return TMessages::Show(MsgKind::Error, reason + QLatin1Char('\n') + tr("Save a copy?"), MsgButtons::YesNo, this)
               == MsgResult::Yes
        && SaveCopy();
}

bool Teditorform::SaveFile()
{
    const FileReplacer::Status status = replaceFile(Bytes());
    m_file.Abandon();
    bool saved = status == FileReplacer::Status::Ok;
    if (status == FileReplacer::Status::Failed)
        TMessages::Show(MsgKind::Error, reasonOf(m_file, status, m_path), MsgButtons::Ok, this);
    else if (!saved && status != FileReplacer::Status::Changed)   // a change was asked about already
        saved = offerCopy(reasonOf(m_file, status, m_path));
    if (saved)
        m_memo->document()->setModified(false);
    return saved;
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

bool Teditorform::SaveCopy()
{
    QFileDialog dialog(this, tr("Save a copy"), QFileInfo(m_path).absolutePath(), tr("Text Files (*.txt)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    if (ShowModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    const QString copy = dialog.selectedFiles().constFirst();
    // The dialog asked before an existing file is replaced; its own rights still count.
    FileReplacer replacer = FileReplacer::Track(EncodeFileName(copy).toStdString());
    const QByteArray bytes = Bytes();
    const FileReplacer::Status status =
        replacer.ReplaceWith(bytes.constData(), size_t(bytes.size()), FileReplacer::IfChanged::Overwrite);
    if (status == FileReplacer::Status::Ok)
        return true;
    TMessages::Show(MsgKind::Error, reasonOf(replacer, status, copy), MsgButtons::Ok, this);
    return false;
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
