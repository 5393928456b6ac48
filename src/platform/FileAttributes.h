// File attributes and directory search on Linux: read-only is the owner's missing write
// permission, hidden a leading '.' or the DOS hidden bit, system and archive the DOS
// bits kept in the extended attribute user.DOSATTRIB (as Samba and Wine keep them).
#pragma once

#include <QString>
#include <memory>
#include <cstdint>

constexpr uint32_t faReadOnly = 0x01;
constexpr uint32_t faHidden = 0x02;
constexpr uint32_t faSysFile = 0x04;
constexpr uint32_t faVolumeID = 0x08;
constexpr uint32_t faDirectory = 0x10;
constexpr uint32_t faArchive = 0x20;

// One result of a directory search.
struct TSearchRec {
    QString Name;
    uint32_t Time = 0;   // packed DOS date/time of the modification time, 0 when out of range
    int64_t Size = 0;
    uint32_t Attr = 0;
};

// Lists a folder: readdir + stat, a symbolic link listed as what it points to (a link
// to a folder is a folder, a dangling link a file). "." is never returned; ".." is
// returned for every folder but "/". For speed the search takes hidden from the
// leading dot and read-only from the mode only; the DOS bits of user.DOSATTRIB cost a
// system call per entry: the hidden bit is read when ReadDosHidden asks for it, all
// of them by ReadFileAttributes (one path).
class TDirectorySearch {
public:
    explicit TDirectorySearch(const QString& folder);
    ~TDirectorySearch();
    TDirectorySearch(const TDirectorySearch&) = delete;
    TDirectorySearch& operator=(const TDirectorySearch&) = delete;

    bool IsOpen() const;
    // Also takes hidden from the DOS hidden bit. A file system without user attributes
    // is asked once and then no more in this search.
    void ReadDosHidden(bool on);
    bool Next(TSearchRec& rec);

private:
    struct Impl;
    std::unique_ptr<Impl> m;
};

// Attributes of one path (faDirectory included); false when it cannot be read.
bool ReadFileAttributes(const QString& path, uint32_t* attr);
// Sets read-only, hidden, system and archive as the bits say. Hidden is only kept in
// user.DOSATTRIB (no rename). False with an error text when the file system refuses.
bool WriteFileAttributes(const QString& path, uint32_t attr, QString* error);
