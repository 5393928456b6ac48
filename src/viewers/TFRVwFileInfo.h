// The information frame of "View infos" and of entries no viewer shows (folders,
// volumes, ".."): what the entry is, how large, and when it was made and changed.
#pragma once

#include <QWidget>

class QLabel;

class TFRVwFileInfo : public QWidget {
    Q_OBJECT
public:
    explicit TFRVwFileInfo(QWidget* parent = nullptr);

    // Fills the labels for the file or folder at `path`.
    void ShowPath(const QString& path);

    QLabel* FileDesc() const { return m_fileDesc; }   // name and type
    QLabel* Info1() const { return m_info1; }         // size and place
    QLabel* Info2() const { return m_info2; }         // times, owner and permissions

private:
    QLabel* m_fileDesc;
    QLabel* m_info1;
    QLabel* m_info2;
};
