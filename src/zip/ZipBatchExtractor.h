// Extracts zips one after the other into one folder, keeping their folder names. A name
// that already stands there, the user's or one written earlier in the run, is asked
// about. An archive is deleted (permanently) only at the end of the run, once the
// target is flushed, when its extraction was complete (no error reported for it, its
// directory read without complaint, nothing skipped), every member still stands in the
// folder with its size and CRC, and the archive's name still holds the file that was
// extracted. Anything less keeps the archive, so every member exists somewhere.
// Runs on the UI thread through the component, whose callbacks keep the window alive.
#pragma once

#include "ZipDirEntry.h"
#include "ZipOverwriteAnswers.h"
#include "platform/doors/FileIdentity.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class TZipMaster;

class ZipBatchExtractor {
public:
    enum class Status { Extracting, Extracted, Failed, ExtractedAndDeleted };
    using StatusReport = std::function<void(int index, Status status)>;

    // Takes over the component's OnMessage to see the errors of each archive.
    ZipBatchExtractor(TZipMaster& zip, ZipOverwriteAnswers::Asker askOverwrite = {});
    ~ZipBatchExtractor();
    ZipBatchExtractor(const ZipBatchExtractor&) = delete;
    ZipBatchExtractor& operator=(const ZipBatchExtractor&) = delete;

    // `sourceDir` and `targetDir` end with '/'; `names` are files in `sourceDir`.
    void Run(const QString& sourceDir, const QString& targetDir, const QStringList& names,
             const StatusReport& report);

    // Makes the extracted files durable before any archive goes; false keeps them all.
    std::function<bool(const QString& targetDir)> Flush;

private:
    struct Extracted {
        int Index = 0;
        QString Archive;
        FileIdentity Was;
        std::vector<ZipDirEntry> Members;
    };

    bool extractCompletely(const QString& archive, const QString& targetDir, const ZipOverwriteAnswers& answers);
    int fileMembers() const;
    void deleteArchives(const std::vector<Extracted>& extracted, const QString& targetDir,
                        const StatusReport& report) const;
    static bool standsAsExtracted(const ZipDirEntry& member, const QString& targetDir);

    TZipMaster& m_zip;
    ZipOverwriteAnswers::Asker m_askOverwrite;
    int m_lastError = 0;    // the last non-zero code reported for the current archive
};
