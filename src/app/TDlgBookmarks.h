// "Delete bookmark(s)": the bookmarks in menu order; Delete removes the selected one,
// OK keeps what is left.
#pragma once

#include <QDialog>
#include <QStringList>

class QListWidget;

class TDlgBookmarks : public QDialog {
    Q_OBJECT
public:
    TDlgBookmarks(const QStringList& bookmarks, QWidget* parent = nullptr);
    QStringList Bookmarks() const;
    void BTNDeleteClick();

private:
    QListWidget* m_elenco;
};
