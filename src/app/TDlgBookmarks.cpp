#include "app/TDlgBookmarks.h"

#include "components/GradientBand.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

QPushButton* button(QWidget* parent, const QString& name, const QString& caption)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAccessibleName(QString(caption).remove(QLatin1Char('&')));
    b->setFlat(true);
    return b;
}

} // namespace

TDlgBookmarks::TDlgBookmarks(const QStringList& bookmarks, QWidget* parent)
    : QDialog(parent)
    , m_elenco(new QListWidget(this))
{
    setObjectName(QStringLiteral("DlgBookmarks"));
    setWindowTitle(tr("Delete bookmark(s)"));
    setAccessibleName(windowTitle());
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new GradientBand(tr("These are your currently selected bookmarks"), this));
    m_elenco->setObjectName(QStringLiteral("elenco"));
    m_elenco->setAccessibleName(tr("Bookmarks"));
    m_elenco->addItems(bookmarks);
    layout->addWidget(m_elenco, 1);
    auto* row = new QHBoxLayout;
    QPushButton* del = button(this, QStringLiteral("BTNDelete"), tr("&Delete"));
    QPushButton* ok = button(this, QStringLiteral("BTNOk"), tr("&OK"));
    QPushButton* cancel = button(this, QStringLiteral("BTNCancel"), tr("&Cancel"));
    row->addWidget(del);
    row->addStretch(1);
    row->addWidget(ok);
    row->addWidget(cancel);
    layout->addLayout(row);
    connect(del, &QPushButton::clicked, this, &TDlgBookmarks::BTNDeleteClick);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    resize(420, 300);
    if (const QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
}

QStringList TDlgBookmarks::Bookmarks() const
{
    QStringList result;
    for (int i = 0; i < m_elenco->count(); ++i)
        result << m_elenco->item(i)->text();
    return result;
}

void TDlgBookmarks::BTNDeleteClick()
{
    const int row = m_elenco->currentRow();
    if (row >= 0 && m_elenco->currentItem() && m_elenco->currentItem()->isSelected())
        delete m_elenco->takeItem(row);
}
