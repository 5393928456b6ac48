// Asks for the new name of the one selected file or folder.
#pragma once

#include <QDialog>

class QLineEdit;

class TDlgRename : public QDialog {
    Q_OBJECT
public:
    explicit TDlgRename(QWidget* parent = nullptr);

    QString Name() const;
    // Presets the edit with the current name, all of it selected for overtyping.
    void SetName(const QString& name);

private:
    QLineEdit* m_name = nullptr;
};
