// Random access to the bytes of an archive: a file read with pread, or bytes in memory.
#pragma once

#include <QByteArray>
#include <QtGlobal>

class ZipSource {
public:
    virtual ~ZipSource() = default;
    virtual qint64 Size() const = 0;
    // Exactly `count` bytes from `offset`; false on a short read or an I/O error.
    virtual bool ReadAt(qint64 offset, char* to, qint64 count) const = 0;

    QByteArray Read(qint64 offset, qint64 count) const;
};

class ZipMemorySource : public ZipSource {
public:
    explicit ZipMemorySource(const QByteArray& bytes) : m_bytes(bytes) {}
    qint64 Size() const override { return m_bytes.size(); }
    bool ReadAt(qint64 offset, char* to, qint64 count) const override;

private:
    QByteArray m_bytes;
};
