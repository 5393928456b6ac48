// One line of a folder's description file, as bytes: reading it, writing it, and
// turning its bytes into text.
//
// A line is either plain, "NAME DESCRIPTION" (the name runs to the first space, the
// description is everything after that one space), or quoted, "\"NAME WITH SPACES\" DESCRIPTION"
// (a line beginning with a double quote; the name lies between the first two quotes
// and the description begins two bytes after the second one). Names and descriptions
// stay bytes until shown, so a rewrite puts back exactly what it read.
#pragma once

#include <QByteArray>
#include <QString>

struct DescriptionLine {
    QByteArray name;          // empty when the line names nothing (no space, no closing quote)
    QByteArray description;
};

// The file's own limits: longer lines are cut (their rest skipped), and the file is
// read through a buffer of this size.
constexpr int kDescriptionLineMax = 4096;
constexpr int kDescriptionBufferSize = 10240;

// Splits one line (without its line end).
DescriptionLine ParseDescriptionLine(const QByteArray& line);

// The line for a name and a description, ending with CR LF: quoted when the name holds
// a space, plain otherwise.
QByteArray FormatDescriptionLine(const QByteArray& name, const QByteArray& description);

// Whether a line written for this name reads back as the same name. The format has no
// escape for a double quote, so a name that begins with one, or holds one together with
// a space, cannot be written; neither can an empty name or one with a line break.
bool CanFormatDescriptionName(const QByteArray& name);

// Names compare as the program's text order does: ASCII letters without regard to case,
// every other byte exactly.
bool SameDescriptionName(const QByteArray& a, const QByteArray& b);

// A description as text: UTF-8 when the bytes are valid UTF-8, else Latin-1, one byte a
// character (a file written by another system's code page still reads as something).
QString DecodeDescriptionText(const QByteArray& bytes);
// The bytes of a description typed by the user: UTF-8, every character below 32 (a
// line break would end the line and start a forged one) written as a space.
QByteArray EncodeDescriptionText(const QString& text);

// Drops an incomplete UTF-8 sequence from the end of a line that was cut at the
// length limit, so the cut does not split a character and spoil the whole text.
void TrimCutUtf8(QByteArray& line);
