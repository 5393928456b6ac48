// Turns a zip archive into a self-extracting program: the stub, its settings block and
// the archive with every offset moved past both. The output appears under its name only
// when complete, replacing a file of that name only then; a failed conversion leaves
// nothing behind.
#pragma once

#include "ZipListing.h"
#include "platform/doors/FileReplacer.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <optional>

class SfxWriter {
public:
    enum Code {
        kSuccess = 0,
        kCannotCreate = -1,
        kWriteFailed = -2,
        kCannotRead = -3,
        kSizeMismatch = -9,
    };

    struct Request {
        QString StubPath;
        QString ArchivePath;   // empty: automatic mode, the output holds an empty archive
        QByteArray Block;      // SfxSettingsBlock::Build()
        QString OutputPath;
    };

    // `listing` is the archive's as ZipDirectoryReader lists it; read here when absent.
    static int Write(const Request& request, std::optional<ZipListing> listing = std::nullopt);

private:
    SfxWriter(const Request& request, std::optional<ZipListing> listing);
    ~SfxWriter();

    void Run();
    void OpenSources();
    void CreateTemporary();
    void CopyStub();
    void WriteArchivePart();
    void WriteEmptyArchive();
    void WriteMovedArchive();
    void CopyRange(QFile& from, qint64 start, qint64 end);
    void Append(const char* data, qint64 count);
    void Finish();

    const Request& m_request;
    std::optional<ZipListing> m_listing;
    QFile m_stub;
    QFile m_archive;
    FileReplacer m_output;
    int m_fd = -1;   // the output's temporary file, owned by m_output
    qint64 m_shift = 0;        // stub size + block size
    qint64 m_expectedSize = 0;
};
