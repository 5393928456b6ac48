#include "ZipOverwriteAnswers.h"

#include "TZipMaster.h"
#include "core/DosTime.h"

#include <QDir>
#include <QFileInfo>

ZipOverwriteAnswers::ZipOverwriteAnswers(TZipMaster& zip, Asker ask)
    : m_zip(zip), m_ask(std::move(ask)), m_previousOverwrite(zip.OnExtractOverwrite),
      m_previousSkipped(zip.OnExtractSkipped)
{
    m_zip.OnExtractOverwrite = [this](const QString& relative) { return answer(relative); };
    m_zip.OnExtractSkipped = [this](const QString& name, int reason) {
        m_skipped.insert(name);
        if (m_previousSkipped)
            m_previousSkipped(name, reason);
    };
}

ZipOverwriteAnswers::~ZipOverwriteAnswers()
{
    m_zip.OnExtractOverwrite = m_previousOverwrite;
    m_zip.OnExtractSkipped = m_previousSkipped;
}

bool ZipOverwriteAnswers::answer(const QString& relative)
{
    if (m_cancelled)
        return false;
    if (m_forAll)
        return *m_forAll;
    switch (m_ask ? m_ask(conflictFor(relative)) : OverwriteChoice::No) {
    case OverwriteChoice::Yes:
        return true;
    case OverwriteChoice::YesToAll:
        m_forAll = true;
        return true;
    case OverwriteChoice::No:
        return false;
    case OverwriteChoice::NoToAll:
        m_forAll = false;
        return false;
    case OverwriteChoice::Cancel:
        break;
    }
    m_cancelled = true;
    m_zip.Cancel();
    return false;
}

// The libraries name the file relative to the extraction folder, which is the member's
// own name when folder names are kept.
FileOpConflict ZipOverwriteAnswers::conflictFor(const QString& relative) const
{
    FileOpConflict conflict;
    const QFileInfo existing(QDir(m_zip.ExtrBaseDir).filePath(relative));
    conflict.TargetPath = existing.filePath();
    conflict.TargetSize = existing.size();
    conflict.TargetModified = existing.lastModified();
    conflict.SourcePath = m_zip.ZipFileName() + QLatin1Char('/') + relative;
    for (int i = 0; i < m_zip.EntryCount(); ++i) {
        const ZipDirEntry& entry = m_zip.Entry(i);
        if (entry.FileName == relative) {
            conflict.SourceSize = int64_t(entry.UncompressedSize);
            conflict.SourceModified =
                UnpackDosTime((uint32_t(entry.DosDate) << 16) | entry.DosTime).value_or(QDateTime());
            break;
        }
    }
    return conflict;
}
