// A regular file opened for reading by its path in the file system's bytes. Anything
// else (a folder, a FIFO, a device) counts as a file that cannot be opened: a FIFO
// listed in an SFV file would otherwise stall the reader for good.
#pragma once

#include <QByteArray>

class ReadOnlyFile {
public:
    explicit ReadOnlyFile(const QByteArray& nativePath);
    ~ReadOnlyFile();
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    bool IsOpen() const { return m_fd >= 0; }
    // The errno of a failed open; 0 when open.
    int OpenError() const { return m_openError; }
    int Handle() const { return m_fd; }
    qint64 Size() const { return m_size; }
    // Up to `size` bytes; 0 at the end, -1 on a read error.
    qint64 Read(char* buffer, qint64 size);

private:
    int m_fd = -1;
    int m_openError = 0;
    qint64 m_size = 0;
};
