// The text frame: the text view with a strip of buttons above it (wrap, find, copy,
// print, edit, hex, normal, close) and the position label "Line %d/%d:%d/%d".
#pragma once

#include <QWidget>

class QLabel;
class QToolButton;
class TTextView;

class TFRVwText : public QWidget {
    Q_OBJECT
public:
    explicit TFRVwText(QWidget* parent = nullptr);

    TTextView* View() const { return m_view; }
    QLabel* Position() const { return m_position; }
    // Shows `path` from its first line.
    void SetFileName(const QString& path);
    QString FileName() const;
    // Closes the file and its windows.
    void Deactivate();

    // The buttons' commands, also the viewer menu's.
    void Find();
    void CopyText();
    void PrintText();
    void EditText();
    // Sets the close button down (the viewer is on) or up.
    void SetCloseDown(bool down);

Q_SIGNALS:
    // The close button: the window leaves viewer mode.
    void CloseRequested();
    // The editor is about to show and has closed: the window minimizes and comes back.
    void EditorOpening();
    void EditorClosed();

private:
    QToolButton* addButton(const QString& name, const QString& hint, const QString& caption);
    void showPosition(qint64 x, qint64 y, qint64 maxX, qint64 maxY);

    TTextView* m_view;
    QLabel* m_position;
    QToolButton* m_close = nullptr;
    QToolButton* m_normal = nullptr;
};
