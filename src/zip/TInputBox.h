// One line of text asked for with a title and a prompt, shown through ShowModal so a
// test answers it like any dialog.
#pragma once

#include <QDialog>
#include <optional>

class QLabel;
class QLineEdit;

class TInputBox : public QDialog {
    Q_OBJECT
public:
    TInputBox(const QString& title, const QString& prompt, const QString& preset, QWidget* parent = nullptr);

    QString Text() const;
    void SetText(const QString& text);

    // The typed text, or none when cancelled.
    static std::optional<QString> Ask(const QString& title, const QString& prompt, const QString& preset,
                                      QWidget* parent = nullptr);

private:
    QLineEdit* m_edit = nullptr;
};
