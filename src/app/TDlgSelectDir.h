// "Select directory": a volume box, the folder list of the chosen volume and the
// folder's path; the caller sets the starting folder and reads the chosen one after OK.
#pragma once

#include <QDialog>

class QComboBox;
class QFileSystemModel;
class QLineEdit;
class QListView;

class TDlgSelectDir : public QDialog {
    Q_OBJECT
public:
    explicit TDlgSelectDir(QWidget* parent = nullptr);

    void SetDirectory(const QString& folder);
    QString Directory() const;

private:
    void showFolder(const QString& folder);

    QComboBox* m_drives;
    QListView* m_directories;
    QFileSystemModel* m_model;
    QLineEdit* m_name;
};
