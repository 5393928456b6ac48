// The small editor for the file a text view shows: a memo in the view's colours and
// font, File and Edit menus, and the questions before its changes are lost or kept.
// Saving replaces the file atomically, so a full disk never leaves half a file.
#pragma once

#include <QDialog>

class QAction;
class QPlainTextEdit;

class Teditorform : public QDialog {
    Q_OBJECT
public:
    struct Look {
        QFont Font;
        QColor Back;
        QColor Text;
    };

    // How the memo's text turns back into bytes: the set the file was read in, so the
    // characters the user did not touch keep their bytes.
    enum class Charset { Utf8, Latin1, Oem };
    // UTF-8 when the bytes are valid UTF-8, else Latin-1 (one character per byte, so
    // nothing is lost); OEM when the view shows the file in code page 437.
    static Charset CharsetOf(const QByteArray& raw, bool oem);
    static QString Decode(const QByteArray& raw, Charset charset);

    // `content` is what the memo starts with (the file raw or filtered).
    Teditorform(const QString& path, const QString& content, Charset charset, const Look& look,
                QWidget* parent = nullptr);

    QPlainTextEdit* Memo() const { return m_memo; }
    // The file as saving would write it.
    QByteArray Bytes() const;
    // Writes the memo over the file; false after telling the user why.
    bool SaveFile();
    void QuitWithoutSaving();
    void SaveAndClose();
    void SaveCopy();

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void buildMenus();
    bool saveTo(const QString& path);

    QString m_path;
    Charset m_charset;
    bool m_crlf;                 // the file's lines end in CR LF: saving keeps them so
    bool m_closing = false;      // a menu command decided; closeEvent asks nothing more
    QPlainTextEdit* m_memo;
};
