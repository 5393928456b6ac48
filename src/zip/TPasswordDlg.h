// The zip component's own password question: one masked line of at most 80 characters.
#pragma once

#include <QDialog>
#include <optional>

class QLabel;
class QLineEdit;

class TPasswordDlg : public QDialog {
    Q_OBJECT
public:
    explicit TPasswordDlg(QWidget* parent = nullptr);

    void SetPrompt(const QString& caption, const QString& prompt);
    QString Password() const;

    // Asks modally; no value when cancelled. Fits TZipMaster::AskPassword.
    static std::optional<QString> Ask(const QString& caption, const QString& prompt);

private:
    QLabel* m_prompt = nullptr;
    QLineEdit* m_edit = nullptr;
};
