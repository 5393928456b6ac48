#include "ZipBatchExtractor.h"

#include "TZipMaster.h"

#include <QFile>
#include <QFileInfo>

ZipBatchExtractor::ZipBatchExtractor(TZipMaster& zip) : m_zip(zip)
{
    m_zip.OnMessage = [this](int errorCode, const QString&) {
        if (errorCode != 0)
            m_lastError = errorCode;
    };
}

ZipBatchExtractor::~ZipBatchExtractor()
{
    m_zip.OnMessage = nullptr;
}

void ZipBatchExtractor::Run(const QString& sourceDir, const QString& targetDir, const QStringList& names,
                            const StatusReport& report)
{
    for (int i = 0; i < names.size(); ++i) {
        const QString archive = sourceDir + names.at(i);
        report(i, Status::Extracting);
        const bool complete = extractCompletely(archive, targetDir);
        report(i, Status::Extracted);
        if (!complete)
            report(i, Status::Failed);
        else if (QFile::remove(archive))
            report(i, Status::ExtractedAndDeleted);
    }
}

bool ZipBatchExtractor::extractCompletely(const QString& archive, const QString& targetDir)
{
    m_lastError = 0;
    m_zip.SetZipFileName(archive);
    // The component reports a damaged directory with code 0; such an archive may list
    // fewer members than it holds, so a count that matches proves nothing.
    const bool listedCleanly = m_zip.Listing().Messages.empty();
    m_zip.FSpecArgs = QStringList{QStringLiteral("*.*")};
    m_zip.ExtrOptions = ExtrOpt::ExtrDirNames | ExtrOpt::ExtrOverWrite;
    m_zip.ExtrBaseDir = targetDir;
    m_zip.ExtractFiles();
    return m_lastError == 0 && listedCleanly && m_zip.FilesDone() >= fileMembers() && everyMemberIn(targetDir);
}

// Folder entries and links count as done too when folder names are kept, so the
// count is only a floor; the members found in the folder settle it.
int ZipBatchExtractor::fileMembers() const
{
    int files = 0;
    for (int i = 0; i < m_zip.EntryCount(); ++i)
        if (!m_zip.Entry(i).FileName.endsWith(QLatin1Char('/')))
            ++files;
    return files;
}

bool ZipBatchExtractor::everyMemberIn(const QString& targetDir) const
{
    for (int i = 0; i < m_zip.EntryCount(); ++i) {
        QString name = m_zip.Entry(i).FileName;
        name.replace(QLatin1Char('\\'), QLatin1Char('/'));
        const QFileInfo member(targetDir + name);
        if (!member.exists() && !member.isSymLink())
            return false;
    }
    return true;
}
