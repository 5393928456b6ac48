// Reads byte ranges of the file a view shows, by offset, without holding the file.
#pragma once

#include <QByteArray>
#include <QString>

class TextFileReader {
public:
    TextFileReader() = default;
    ~TextFileReader();
    TextFileReader(const TextFileReader&) = delete;
    TextFileReader& operator=(const TextFileReader&) = delete;

    bool Open(const QString& path);   // false: Error() says why
    void Close();
    bool IsOpen() const { return m_fd >= 0; }
    // Up to `length` bytes from `offset`; fewer at the end of the file or on an error.
    QByteArray Read(qint64 offset, qint64 length) const;
    // The same into a caller's buffer: the bytes read, -1 on an error (Error() says why).
    qint64 ReadInto(qint64 offset, char* to, qint64 length) const;
    qint64 Size() const { return m_size; }   // when it was opened
    // Where the next hole (zeros the file system does not store) or the next stored data
    // starts at or after `offset`; Size() when there is none or the system cannot tell.
    qint64 NextHole(qint64 offset) const;
    qint64 NextData(qint64 offset) const;
    QString Error() const { return m_error; }

private:
    bool Fail(const QString& error) const;
    qint64 Seek(qint64 offset, int whence) const;

    int m_fd = -1;
    qint64 m_size = 0;
    mutable QString m_error;
};
