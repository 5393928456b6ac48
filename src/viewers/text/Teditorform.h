// The small editor for the file a text view shows: a memo in the view's colours and
// font, File and Edit menus, and the questions before its changes are lost or kept.
// Saving replaces the file through the door for a user's file: the file named when
// the editor opened, never one a link planted since points to, whole or not at all,
// and not behind the back of its read-only mode, its owner, or another program that
// changed it meanwhile (the user is asked, and may save a copy instead).
#pragma once

#include "platform/doors/FileReplacer.h"

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

    // `content` is what the memo starts with (the file raw or filtered); the file is
    // tracked from here on, so open the editor right after reading it.
    Teditorform(const QString& path, const QString& content, Charset charset, const Look& look,
                QWidget* parent = nullptr);
    // The same for a file tracked before its content was read.
    Teditorform(FileReplacer file, const QString& path, const QString& content, Charset charset, const Look& look,
                QWidget* parent = nullptr);

    QPlainTextEdit* Memo() const { return m_memo; }
    // The file as saving would write it.
    QByteArray Bytes() const;
    // Writes the memo over the file, or into a copy where the user chose one instead;
    // false after telling the user why nothing was written.
    bool SaveFile();
    void QuitWithoutSaving();
    void SaveAndClose();
    // Asks for a name and writes the memo there; false when cancelled or refused.
    bool SaveCopy();

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void buildMenus();
    FileReplacer::Status replaceFile(const QByteArray& bytes);
    bool offerCopy(const QString& reason);
    QString reasonOf(const FileReplacer& replacer, FileReplacer::Status status, const QString& path) const;

    QString m_path;
    FileReplacer m_file;         // the file as it was loaded: what a save may replace
    Charset m_charset;
    bool m_crlf;                 // the file's lines end in CR LF: saving keeps them so
    bool m_closing = false;      // a menu command decided; closeEvent asks nothing more
    QPlainTextEdit* m_memo;
};
