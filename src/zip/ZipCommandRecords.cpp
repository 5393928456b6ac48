#include "ZipCommandRecords.h"

#include <QFile>

namespace {

constexpr int32_t kTrue = -1;

int32_t flag(bool on)
{
    return on ? kTrue : 0;
}

} // namespace

QString ZipCommandRecords::StoreSuffixText(AddStoreExts suffixes)
{
    static const char* const names[] = {"gif", "png", "z", "zip", "zoo", "arc", "lzh", "arj", "taz", "tgz", "lha", "exe"};
    QStringList parts;
    for (int i = 0; i < 12; ++i)
        if (suffixes.testFlag(AddStoreExt(1u << i)))
            parts << QLatin1Char('.') + QLatin1String(names[i]);
    return parts.join(QLatin1Char(':'));
}

const char* ZipCommandRecords::Keep(const QString& text)
{
    if (text.isEmpty())
        return nullptr;
    m_texts.push_back(text.toUtf8());
    return m_texts.back().constData();
}

const char* ZipCommandRecords::KeepPath(const QString& path)
{
    if (path.isEmpty())
        return nullptr;
    m_texts.push_back(QFile::encodeName(path));
    return m_texts.back().constData();
}

// ">" forces recursion for one file pattern and "|" turns it off; "<" followed by
// text is that file pattern's own password, "<" alone turns encryption off for it.
void ZipCommandRecords::AddSpec(const QString& text, const QString& folder)
{
    ZipFileSpec fileSpec{};
    QString rest = text;
    fileSpec.Recurse = m_add.Recurse;
    if (rest.startsWith(QLatin1Char('>'))) {
        fileSpec.Recurse = kTrue;
        rest.remove(0, 1);
    } else if (rest.startsWith(QLatin1Char('|'))) {
        fileSpec.Recurse = 0;
        rest.remove(0, 1);
    }
    const qsizetype mark = rest.indexOf(QLatin1Char('<'));
    if (mark >= 0) {
        const QString password = rest.mid(mark + 1);
        rest.truncate(mark);
        fileSpec.Encrypt = password.isEmpty() ? ZSE_NONE : ZSE_TRADITIONAL;
        fileSpec.Password = Keep(password.left(ZIPDLL_PASSWORD_MAX));
    }
    fileSpec.FileSpec = KeepPath(rest);
    fileSpec.ArchiveFolder = Keep(folder);
    m_addSpecs.push_back(fileSpec);
}

ZipAddCommand& ZipCommandRecords::BuildAdd(const ZipAddRequest& r)
{
    m_add = ZipAddCommand{};
    m_add.Handle = r.Unattended ? 0 : 1;
    m_add.Caller = r.Caller;
    m_add.Version = ZIPDLL_INTERFACE_VERSION;
    m_add.Callback = r.Callback;
    m_add.Trace = flag(r.Trace);
    m_add.Password = Keep(r.Password.left(ZIPDLL_PASSWORD_MAX));
    m_add.StoreSuffixes = Keep(StoreSuffixText(r.StoreSuffixes));
    m_add.Encrypt = flag(r.Options.testFlag(AddOpt::AddEncrypt));
    m_add.SystemFiles = flag(r.Options.testFlag(AddOpt::AddHiddenFiles));
    m_add.NoDirEntries = flag(!r.Options.testFlag(AddOpt::AddSeparateDirs));
    m_add.Verbose = flag(r.Verbose || r.Trace);
    m_add.Quiet = kTrue;
    m_add.Level = r.Level;
    m_add.JunkDirNames = flag(!r.Options.testFlag(AddOpt::AddDirNames));
    m_add.Recurse = flag(r.Options.testFlag(AddOpt::AddRecurseDirs));
    m_add.Grow = flag(!r.Deleting);
    m_add.ForceDos = flag(r.Options.testFlag(AddOpt::AddForceDOS));
    m_add.Move = flag(r.Options.testFlag(AddOpt::AddMove));
    m_add.DeleteEntries = flag(r.Deleting);
    m_add.Update = flag(r.Options.testFlag(AddOpt::AddUpdate));
    m_add.Freshen = flag(r.Options.testFlag(AddOpt::AddFreshen) && !r.Options.testFlag(AddOpt::AddUpdate));
    m_add.LatestTime = flag(r.Options.testFlag(AddOpt::AddZipTime));
    m_add.ZipFileName = KeepPath(r.ZipFileName);
    m_add.TempDir = KeepPath(r.TempDir);
    m_add.ArchiveComment = Keep(r.ArchiveComment);
    m_add.ArchiveOnly = int16_t(flag(r.Options.testFlag(AddOpt::AddArchiveOnly)));
    m_add.ResetArchive = int16_t(flag(r.Options.testFlag(AddOpt::AddResetArchive)));
    m_addSpecs.clear();
    for (const QString& fileSpec : r.FileSpecs)
        AddSpec(fileSpec, r.ArchiveFolder);
    m_add.SpecCount = int32_t(m_addSpecs.size());
    m_add.FileSpecs = m_addSpecs.data();
    m_exclusions.clear();
    for (const QString& exclusion : r.Exclusions)
        m_exclusions.push_back(KeepPath(exclusion));
    m_add.ExclusionCount = int32_t(m_exclusions.size());
    m_add.Exclusions = m_exclusions.data();
    m_add.Seven = ZIPDLL_RECORD_SEVEN;
    return m_add;
}

UnzExtractCommand& ZipCommandRecords::BuildExtract(const ZipExtractRequest& r)
{
    m_extract = UnzExtractCommand{};
    m_extract.Handle = r.Unattended ? 0 : 1;
    m_extract.Caller = r.Caller;
    m_extract.Version = ZIPDLL_INTERFACE_VERSION;
    m_extract.Callback = r.Callback;
    m_extract.Trace = flag(r.Trace);
    m_extract.Password = Keep(r.Password.left(ZIPDLL_PASSWORD_MAX));
    m_extract.TestOnly = flag(r.Options.testFlag(ExtrOpt::ExtrTest));
    m_extract.Quiet = kTrue;
    m_extract.Verbose = flag(r.Verbose);
    m_extract.Update = flag(r.Options.testFlag(ExtrOpt::ExtrUpdate));
    m_extract.Freshen = flag(r.Options.testFlag(ExtrOpt::ExtrFreshen) && !r.Options.testFlag(ExtrOpt::ExtrUpdate));
    m_extract.DirNames = flag(r.Options.testFlag(ExtrOpt::ExtrDirNames));
    m_extract.Overwrite = flag(r.Options.testFlag(ExtrOpt::ExtrOverWrite));
    m_extract.ZipFileName = KeepPath(r.ZipFileName);
    m_extractSpecs.clear();
    for (const QString& fileSpec : r.FileSpecs) {
        UnzFileSpec entry{};
        entry.FileSpec = Keep(fileSpec);
        m_extractSpecs.push_back(entry);
    }
    m_extract.SpecCount = int32_t(m_extractSpecs.size());
    m_extract.FileSpecs = m_extractSpecs.data();
    m_extract.ToMemory = flag(r.Buffer != nullptr);
    m_extract.Buffer = r.Buffer;
    m_extract.BufferSize = r.BufferSize;
    m_extract.PasswordRequestCount = r.PasswordRequestCount;
    m_extract.Seven = ZIPDLL_RECORD_SEVEN;
    return m_extract;
}
