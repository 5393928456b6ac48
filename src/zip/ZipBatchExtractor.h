// Extracts zips one after the other into one folder, keeping their folder names and
// overwriting, and deletes each archive (permanently) only when its extraction is known
// complete: no error reported for it, its directory read without complaint, and every
// member counted as done and present in the folder. Anything less keeps the archive.
// Runs on the UI thread through the component, whose callbacks keep the window alive.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class TZipMaster;

class ZipBatchExtractor {
public:
    enum class Status { Extracting, Extracted, Failed, ExtractedAndDeleted };
    using StatusReport = std::function<void(int index, Status status)>;

    // Takes over the component's OnMessage to see the errors of each archive.
    explicit ZipBatchExtractor(TZipMaster& zip);
    ~ZipBatchExtractor();
    ZipBatchExtractor(const ZipBatchExtractor&) = delete;
    ZipBatchExtractor& operator=(const ZipBatchExtractor&) = delete;

    // `sourceDir` and `targetDir` end with '/'; `names` are files in `sourceDir`.
    void Run(const QString& sourceDir, const QString& targetDir, const QStringList& names,
             const StatusReport& report);

private:
    bool extractCompletely(const QString& archive, const QString& targetDir);
    int fileMembers() const;
    bool everyMemberIn(const QString& targetDir) const;

    TZipMaster& m_zip;
    int m_lastError = 0;    // the last non-zero code reported for the current archive
};
