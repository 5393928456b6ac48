// Walks the central directory in order. A directory of moderate size is read in one
// block; a larger one is streamed in chunks so that a huge archive does not need its
// whole directory in memory at once.
#pragma once

#include "ZipSource.h"

class ZipDirectoryCursor {
public:
    static constexpr qint64 kWholeBlockLimit = 64 * 1024 * 1024;
    static constexpr qint64 kStreamChunk = 1024 * 1024;

    ZipDirectoryCursor(const ZipSource& source, qint64 start, qint64 size);

    // The next `count` bytes, valid until the next call; null when the directory ends
    // before them or the file cannot be read (then ReadFailed() tells).
    const char* Take(qint64 count);
    bool ReadFailed() const { return m_readFailed; }

private:
    bool Fill(qint64 count);

    const ZipSource& m_source;
    qint64 m_start;
    qint64 m_size;
    qint64 m_chunk;
    qint64 m_position = 0;        // from the directory's start
    qint64 m_bufferStart = 0;     // directory position of m_buffer[0]
    QByteArray m_buffer;
    bool m_readFailed = false;
};
