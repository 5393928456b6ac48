#include "ZipBatchExtractor.h"

#include "TZipMaster.h"
#include "core/Crc32.h"
#include "platform/doors/SourceRemoval.h"
#include "platform/doors/UntrustedFile.h"

#include <QFile>
#include <QFileInfo>
#include <fcntl.h>

namespace {

std::string nativePath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

} // namespace

ZipBatchExtractor::ZipBatchExtractor(TZipMaster& zip, ZipOverwriteAnswers::Asker askOverwrite)
    : Flush([](const QString& targetDir) { return SourceRemoval::FlushFileSystem(nativePath(targetDir)); }),
      m_zip(zip), m_askOverwrite(std::move(askOverwrite))
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
    ZipOverwriteAnswers answers(m_zip, m_askOverwrite);
    std::vector<Extracted> extracted;
    for (int i = 0; i < names.size() && !answers.Cancelled(); ++i) {
        const QString archive = sourceDir + names.at(i);
        report(i, Status::Extracting);
        // Taken before reading, so an archive replaced meanwhile is never the one deleted.
        const FileIdentity was = FileIdentity::At(AT_FDCWD, nativePath(archive).c_str());
        answers.NextArchive();
        const bool complete = extractCompletely(archive, targetDir, answers);
        report(i, Status::Extracted);
        if (!complete)
            report(i, Status::Failed);
        else if (answers.Skipped().isEmpty())
            extracted.push_back({i, archive, was, m_zip.Listing().Entries});
    }
    // Later archives may have replaced what earlier ones wrote: only the end of the run
    // tells which archives are wholly in the folder.
    if (!extracted.empty() && Flush(targetDir))
        deleteArchives(extracted, targetDir, report);
}

bool ZipBatchExtractor::extractCompletely(const QString& archive, const QString& targetDir,
                                          const ZipOverwriteAnswers& answers)
{
    m_lastError = 0;
    if (!m_zip.SetZipFileName(archive))
        return false;
    // The component reports a damaged directory with code 0; such an archive may list
    // fewer members than it holds, so a count that matches proves nothing.
    const bool listedCleanly = m_zip.Listing().Messages.empty();
    m_zip.FSpecArgs = QStringList{QStringLiteral("*.*")};
    m_zip.ExtrOptions = ExtrOpt::ExtrDirNames;
    m_zip.ExtrBaseDir = targetDir;
    m_zip.ExtractFiles();
    return m_lastError == 0 && listedCleanly && !answers.Cancelled() && m_zip.FilesDone() >= fileMembers();
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

void ZipBatchExtractor::deleteArchives(const std::vector<Extracted>& extracted, const QString& targetDir,
                                       const StatusReport& report) const
{
    for (const Extracted& archive : extracted) {
        bool whole = true;
        for (const ZipDirEntry& member : archive.Members)
            whole = whole && standsAsExtracted(member, targetDir);
        if (whole && SourceRemoval::Remove(nativePath(archive.Archive), archive.Was) == SourceRemoval::Status::Removed)
            report(archive.Index, Status::ExtractedAndDeleted);
    }
}

bool ZipBatchExtractor::standsAsExtracted(const ZipDirEntry& member, const QString& targetDir)
{
    QString name = member.FileName;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (name.endsWith(QLatin1Char('/')))
        return QFileInfo(targetDir + name).isDir();
    // Whatever stands there now is read as a stranger's file: a FIFO must not hang us.
    const UntrustedFile file = UntrustedFile::Open(nativePath(targetDir + name), UntrustedFile::kNoLimit, AT_FDCWD, false);
    if (!file.Ok() || file.Size() != member.UncompressedSize)
        return false;
    Crc32 crc;
    QByteArray block(1 << 20, Qt::Uninitialized);
    for (uint64_t at = 0; at < file.Size();) {
        const size_t count = size_t(std::min<uint64_t>(uint64_t(block.size()), file.Size() - at));
        if (!file.ReadAt(at, block.data(), count))
            return false;
        crc.Update(block.constData(), qint64(count));
        at += count;
    }
    return crc.Value() == member.Crc32;
}
