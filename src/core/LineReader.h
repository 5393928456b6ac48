// A small reader of text files line by line, for the description files.
//
// Up to kMaxOpen files are open at once, each named by a handle from 1 to kMaxOpen;
// 0 means the file could not be opened (missing, unreadable, not a regular file, or
// every handle in use). A line ends at CR or LF, and one further CR or LF directly
// after it belongs to the same line end, so CR LF, LF CR, a lone CR and a lone LF each
// end one line. Bytes are returned as read: no decoding.
//
// Any thread may call; one lock guards the table of open files and is held by every
// call. It says nothing about other programs changing a file while it is read.
#pragma once

#include <QByteArray>

class LineReader {
public:
    static constexpr int kMaxOpen = 10;

    // Opens a file (path in the file system's bytes) with a read buffer of that many
    // bytes; returns its handle, or 0.
    static int open(const QByteArray& nativePath, int bufferSize);
    // True when no byte is left to read, or for a handle that is not open.
    static bool eof(int handle);
    // The next line without its line end. A line longer than maxLength keeps its first
    // maxLength bytes, the rest of it is skipped, and *truncated (when given) says so.
    static QByteArray readLine(int handle, int maxLength, bool* truncated = nullptr);
    static void close(int handle);
};
