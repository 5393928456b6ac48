// File names as the kernel keeps them (bytes) and as the program shows them (text).
//
// Linux names are bytes, usually UTF-8. Qt 6 decodes them as UTF-8 and turns every
// invalid byte into U+FFFD, so a file named in another encoding could be shown but
// never opened, renamed or deleted again. These two functions are exact inverses
// instead: a byte that is not part of valid UTF-8 becomes the unpaired surrogate
// U+DC80 + (byte - 0x80) and turns back into that byte ("surrogate escape").
// Use EncodeFileName rather than QFile::encodeName for names that came from
// DecodeFileName (every name a directory search returns).
#pragma once

#include <QByteArray>
#include <QString>

QString DecodeFileName(const char* bytes, qsizetype length);
inline QString DecodeFileName(const QByteArray& bytes) { return DecodeFileName(bytes.constData(), bytes.size()); }
QByteArray EncodeFileName(const QString& name);

// A name as the panes draw it, never used to reach the file. A name that is not valid
// UTF-8 reads as Latin-1, the way older systems wrote such names, instead of as
// replacement marks. Bidirectional controls (U+200E, U+200F, U+061C, U+202A..U+202E,
// U+2066..U+2069) become visible "<U+202E>" texts: drawn as they are, they reorder
// the rest, so "evil\u202Etxt.exe" would pose as "evilexe.txt".
QString DisplayFileName(const QString& name);
