// The describe dialog (see TDlgDescription.h).
#include "fileops/TDlgDescription.h"

#include "components/GradientBand.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QVBoxLayout>
#include <functional>

namespace {

// A description is one line of the file: line breaks and tabs become spaces.
QString singleLine(QString text)
{
    for (QChar& c : text) {
        if (c.unicode() < 32)
            c = QLatin1Char(' ');
    }
    return text;
}

// The memo: Return confirms the dialog instead of breaking the line, and pasting or
// dropping text cannot bring a line break in either.
class DescriptionMemo : public QPlainTextEdit {
public:
    DescriptionMemo(QWidget* parent, std::function<void()> onReturn)
        : QPlainTextEdit(parent), m_onReturn(std::move(onReturn))
    {
    }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            m_onReturn();
            return;
        }
        QPlainTextEdit::keyPressEvent(event);
    }

    void insertFromMimeData(const QMimeData* source) override
    {
        if (source->hasText())
            insertPlainText(singleLine(source->text()));
    }

private:
    std::function<void()> m_onReturn;
};

QPushButton* makeButton(const QString& objectName, const QString& caption, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(objectName);
    button->setAccessibleName(QString(caption).remove(QLatin1Char('&')));
    return button;
}

} // namespace

TDlgDescription::TDlgDescription(QWidget* parent)
    : QDialog(parent)
    , m_desc(new DescriptionMemo(this, [this] { accept(); }))
{
    setObjectName(QStringLiteral("TDlgDescription"));
    setWindowTitle(tr("Description"));
    setAccessibleName(windowTitle());

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new GradientBand(tr("Enter description for selected file"), this));

    m_desc->setObjectName(QStringLiteral("desc"));
    m_desc->setAccessibleName(tr("Description"));
    m_desc->setTabChangesFocus(true);
    layout->addWidget(m_desc, 1);

    auto* row = new QHBoxLayout;
    auto* paste = makeButton(QStringLiteral("PasteClip"), tr("Paste from clipboard"), this);
    auto* ok = makeButton(QStringLiteral("BTNOk"), tr("OK"), this);
    auto* cancel = makeButton(QStringLiteral("BTNCancel"), tr("Cancel"), this);
    ok->setDefault(true);
    row->addWidget(paste);
    row->addStretch(1);
    row->addWidget(ok);
    row->addWidget(cancel);
    layout->addLayout(row);

    connect(paste, &QPushButton::clicked, this, &TDlgDescription::PasteClipClick);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    resize(420, 180);
    m_desc->setFocus();
}

void TDlgDescription::SetText(const QString& text)
{
    m_desc->setPlainText(text);
}

QString TDlgDescription::Text() const
{
    return m_desc->toPlainText();
}

void TDlgDescription::SelectAll()
{
    m_desc->selectAll();
}

void TDlgDescription::PasteClipClick()
{
    const QString clip = singleLine(QApplication::clipboard()->text());
    if (clip.isEmpty())
        return;
    QTextCursor cursor = m_desc->textCursor();
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(clip);
    m_desc->setTextCursor(cursor);
}

void TDlgDescription::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    m_desc->selectAll();
    m_desc->setFocus(Qt::ActiveWindowFocusReason);
}
