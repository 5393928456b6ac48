// Asks for the name of a new folder or a new empty zip archive.
#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;

class TDlgNewDir : public QDialog {
    Q_OBJECT
public:
    explicit TDlgNewDir(QWidget* parent = nullptr);

    QString Name() const;
    void SetName(const QString& name);
    bool Zip() const;
    // For commands that need an archive: "Create zip" checked and not changeable.
    void SetZipOnly();

    // Typing a name that ends in ".zip" means an archive is wanted; the reverse is not
    // assumed, so the box is never unchecked here.
    void EDNameChange(const QString& text);

private:
    QLineEdit* m_name = nullptr;
    QCheckBox* m_zip = nullptr;
};
