// Lists a zip archive from its central directory: the entries, the archive comment and
// where the parts lie, with the warnings and the error met on the way. An error ends
// the listing with the entries read before it; a missing file is an empty listing.
#pragma once

#include "ZipListing.h"
#include "ZipSource.h"

#include <QByteArrayView>

class ZipDirectoryReader {
public:
    static ZipListing List(const QString& path, CodePageMode mode);
    // The same over an archive already in memory.
    static ZipListing ListBytes(const QByteArray& bytes, CodePageMode mode);

    static QString MessageText(int code);

private:
    struct EndRecord {
        qint64 Offset = 0;
        qint64 DirectoryEnd = 0;   // where the directory must end: this or the zip64 record
        uint32_t DiskNumber = 0;
        uint32_t DirectoryDisk = 0;
        uint64_t EntryCount = 0;
        uint64_t DirectorySize = 0;
        uint64_t DirectoryOffset = 0;
    };

    ZipDirectoryReader(const ZipSource& source, CodePageMode mode, ZipListing& listing);

    static ZipListing ListSource(const ZipSource& source, CodePageMode mode);
    void Read();
    EndRecord FindEndRecord();
    // `knownPlace`: the tail is the record itself, the last 22 bytes.
    bool FindInTail(EndRecord& end, const QByteArray& tail, qint64 tailStart, bool knownPlace);
    void ReadZip64End(EndRecord& end);
    bool ParseZip64End(EndRecord& end, qint64 at);
    qint64 LocateDirectory(const EndRecord& end);
    void ReadEntries(const EndRecord& end, qint64 start);
    ZipDirEntry ReadEntry(class ZipDirectoryCursor& cursor);
    void Warn(int code);

    bool WantsOem(const ZipDirEntry& entry) const;
    QString EntryText(QByteArrayView bytes, const ZipDirEntry& entry) const;
    static QString PlainText(QByteArrayView bytes);

    const ZipSource& m_source;
    CodePageMode m_mode;
    ZipListing& m_listing;
};
