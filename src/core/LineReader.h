// A small reader of text files line by line, for the description files.
//
// Up to kMaxOpen files are open at once, each named by a handle from 1 to kMaxOpen;
// 0 means the file could not be opened (missing, unreadable, not a regular file, or
// every handle in use), and errno then says why. A line ends at CR or LF, and one
// further CR or LF directly after it belongs to the same line end, so CR LF, LF CR, a
// lone CR and a lone LF each end one line. Bytes are returned as read: no decoding.
//
// Any thread may call; one lock guards the table of open files and is held by every
// call. It says nothing about other programs changing a file while it is read.
#pragma once

#include <QByteArray>
#include <limits>

class LineReader {
public:
    static constexpr int kMaxOpen = 10;
    static constexpr qint64 kWholeFile = std::numeric_limits<qint64>::max();

    // Opens a file (path in the file system's bytes) with a read buffer of that many
    // bytes; returns its handle, or 0. Only the first byteLimit bytes are read, as if
    // the file ended there, so a caller on the UI thread can put a bound on a file of
    // any size; the line the limit falls into reads as cut.
    static int open(const QByteArray& nativePath, int bufferSize, qint64 byteLimit = kWholeFile);
    // The same for a regular file the caller opened (blocking reads); the reader owns
    // the descriptor from here on, and closes it on failure too.
    static int adopt(int fd, int bufferSize, qint64 byteLimit = kWholeFile);
    // True when no byte is left to read, or for a handle that is not open.
    static bool eof(int handle);
    // The next line without its line end. A line longer than maxLength keeps its first
    // maxLength bytes, the rest of it is skipped, and *truncated (when given) says so.
    static QByteArray readLine(int handle, int maxLength, bool* truncated = nullptr);
    // The next piece of the file for copying it through unchanged: the current line's
    // next bytes, at most maxLength of them (at least 1), followed by its line end when
    // the line ends there (*ended says so). Joined, the pieces are the file's bytes.
    static QByteArray readPiece(int handle, int maxLength, bool* ended);
    // The errno of a read that failed (the file then reads as ended there), else 0:
    // a caller that rewrites the file must not take the failure for its end.
    static int error(int handle);
    static void close(int handle);
};
