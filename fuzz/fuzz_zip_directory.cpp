// Feeds arbitrary bytes to the central directory reader as a zip archive, in the three
// code-page modes. Besides not crashing or reading outside the input: the end record
// and every directory record lie inside the file, a name or comment read through the
// OEM code page has one character per stored byte and no other reading has more,
// an error comes last and alone, and the file read with pread lists as the bytes do.
#include "zip/ZipDirectoryReader.h"

#include <QFile>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

std::string g_file;

void removeFile()
{
    ::unlink(g_file.c_str());
}

QString scratchFile()
{
    if (g_file.empty()) {
        char pattern[] = "/dev/shm/fuzz-zip-XXXXXX";
        char fallback[] = "/tmp/fuzz-zip-XXXXXX";
        int fd = ::mkstemp(pattern);
        g_file = pattern;
        if (fd < 0) {
            fd = ::mkstemp(fallback);
            g_file = fallback;
        }
        if (fd < 0)
            std::abort();
        ::close(fd);
        std::atexit(removeFile);
    }
    return QFile::decodeName(g_file.c_str());
}

void check(bool holds)
{
    if (!holds)
        std::abort();
}

bool readsOem(const ZipDirEntry& e, CodePageMode mode)
{
    if (e.Flags & 0x0800)
        return false;
    return mode == CodePageMode::Oem || (mode == CodePageMode::Auto && e.MadeByHost == 0) || e.MadeByHost == 6 ||
           (e.MadeByHost == 11 && e.MadeByVersion == 50);
}

void checkListing(const ZipListing& listing, qint64 size, CodePageMode mode)
{
    for (size_t i = 0; i < listing.Messages.size(); ++i) {
        const int code = listing.Messages[i].Code;
        check(!listing.Messages[i].Text.isEmpty());
        check(code == 10203 || code == 10204 || i + 1 == listing.Messages.size());
    }
    if (listing.Entries.empty() && listing.Messages.empty())
        check(listing.EndRecordOffset + 22 <= size);
    qint64 directoryBytes = 0;
    for (const ZipDirEntry& e : listing.Entries) {
        const bool oem = readsOem(e, mode);
        check(oem ? e.FileName.size() == e.FileNameLength : e.FileName.size() <= e.FileNameLength);
        check(oem ? e.FileComment.size() == e.FileCommentLength : e.FileComment.size() <= e.FileCommentLength);
        check(e.Encrypted == ((e.Flags & 1) != 0));
        directoryBytes += 46 + e.FileNameLength + e.ExtraLength + e.FileCommentLength;
    }
    if (!listing.Entries.empty()) {
        check(listing.EndRecordOffset >= 0 && listing.EndRecordOffset + 22 <= size);
        check(listing.DirectoryOffset >= 0 && listing.DirectoryOffset + directoryBytes <= size);
    }
}

bool sameListing(const ZipListing& a, const ZipListing& b)
{
    if (a.Entries.size() != b.Entries.size() || a.Messages.size() != b.Messages.size() ||
        a.ArchiveComment != b.ArchiveComment || a.DirectoryOffset != b.DirectoryOffset)
        return false;
    for (size_t i = 0; i < a.Entries.size(); ++i) {
        if (a.Entries[i].FileName != b.Entries[i].FileName || a.Entries[i].Crc32 != b.Entries[i].Crc32)
            return false;
    }
    for (size_t i = 0; i < a.Messages.size(); ++i) {
        if (a.Messages[i].Code != b.Messages[i].Code)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const CodePageMode mode : {CodePageMode::Auto, CodePageMode::None, CodePageMode::Oem})
        checkListing(ZipDirectoryReader::ListBytes(input, mode), qint64(size), mode);

    const QString path = scratchFile();
    QFile file(path);
    check(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(input) == input.size());
    file.close();
    check(sameListing(ZipDirectoryReader::List(path, CodePageMode::Auto),
                      ZipDirectoryReader::ListBytes(input, CodePageMode::Auto)));
    return 0;
}
