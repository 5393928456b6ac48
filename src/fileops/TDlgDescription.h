// The describe dialog: one line of description for the selected entry, typed or pasted
// from the clipboard. The caller fills it, shows it modally and reads Text() after OK.
#pragma once

#include <QDialog>

class QPlainTextEdit;

class TDlgDescription : public QDialog {
    Q_OBJECT
public:
    explicit TDlgDescription(QWidget* parent = nullptr);

    void SetText(const QString& text);
    QString Text() const;
    void SelectAll();

    // Appends the clipboard's text with every character below 32 made a space, so a
    // pasted block stays one line.
    void PasteClipClick();

protected:
    // Every showing starts with the keyboard in the text and the text selected: the
    // one dialog serves entry after entry, and typing must replace the text shown.
    void showEvent(QShowEvent* event) override;

private:
    QPlainTextEdit* m_desc;
};
