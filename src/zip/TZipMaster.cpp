#include "TZipMaster.h"

#include "SfxWriter.h"
#include "ZipCommandRecords.h"
#include "ZipFormat.h"
#include "ZipDirectoryReader.h"
#include "ZipLibrary.h"
#include "ZipMessageTable.h"
#include "ZipVolumeSet.h"
#include "platform/PrivateTempFolder.h"
#include "platform/TMessages.h"
#include "platform/TrashCan.h"
#include "platform/doors/UntrustedFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <algorithm>

using namespace ZipMessageTable;

namespace {

using namespace ZipFormat;

constexpr int kMaxPasswordLength = 255;
constexpr int kMaxPasswordTries = 15;

QString formatted(int code, int value)
{
    return QString::asprintf(Text(code).toUtf8().constData(), value);
}

// The first volume of a spanned set starts with the span marker and then a local header.
// Asked after the reader refused the file, which may be a FIFO: opened as a stranger's.
bool startsSpannedSet(const QString& path)
{
    const UntrustedFile file = UntrustedFile::Open(QFile::encodeName(path).toStdString());
    char head[8];
    return file.Ok() && file.ReadAt(0, head, sizeof head) && le32(head) == kSpanMarker
           && le32(head + 4) == kLocalSignature;
}

// Restores the process's folder after an operation that works relative to it.
class CurrentFolderScope {
public:
    CurrentFolderScope() : m_saved(QDir::currentPath()) {}
    ~CurrentFolderScope() { QDir::setCurrent(m_saved); }

private:
    QString m_saved;
};

// A password typed during an operation serves the rest of that operation only.
class PasswordScope {
public:
    explicit PasswordScope(QString& password) : m_password(password), m_saved(password) {}
    ~PasswordScope() { m_password = m_saved; }

private:
    QString& m_password;
    QString m_saved;
};

} // namespace

// The libraries call back through a plain C function; the record carries the component.
class ZipCallbackRouter {
public:
    static int32_t Route(ZipCallbackRecord* record)
    {
        if (!record || !record->Caller)
            return 0;
        return static_cast<TZipMaster*>(record->Caller)->HandleCallback(*record);
    }
};

class TZipMaster::BusyScope {
public:
    explicit BusyScope(TZipMaster& zip) : m_zip(zip), m_wasBusy(zip.m_busy)
    {
        m_zip.m_busy = true;
        m_zip.m_cancelRequested = false;
        if (m_zip.BusyCursor)
            m_zip.BusyCursor(true);
    }
    ~BusyScope()
    {
        if (m_zip.BusyCursor)
            m_zip.BusyCursor(false);
        // The listing that ends an operation must not end the operation's busy state.
        m_zip.m_busy = m_wasBusy;
    }

private:
    TZipMaster& m_zip;
    bool m_wasBusy;
};

TZipMaster::TZipMaster() = default;
TZipMaster::~TZipMaster() = default;

void TZipMaster::SetPassword(const QString& password)
{
    m_password = password.left(kMaxPasswordLength);
}

void TZipMaster::SetPasswordReqCount(int count)
{
    m_passwordReqCount = std::clamp(count, 0, kMaxPasswordTries);
}

void TZipMaster::SetDLLDirectory(const QString& folder)
{
    m_dllDirectory = folder;
    while (m_dllDirectory.size() > 1 && m_dllDirectory.endsWith(QLatin1Char('/')))
        m_dllDirectory.chop(1);
}

bool TZipMaster::SetZipFileName(const QString& name)
{
    if (RefuseWhileBusy())
        return false;
    m_zipFileName = name;
    ListArchive();
    return true;
}

bool TZipMaster::RefuseWhileBusy()
{
    if (!m_busy)
        return false;
    ReportText(0, QCoreApplication::translate("ZipMaster", "The zip component is busy with another operation"));
    return true;
}

void TZipMaster::Report(int code, const QString& detail)
{
    ReportText(code, Text(code) + detail);
}

void TZipMaster::ReportText(int code, const QString& text)
{
    m_lastError = code;
    m_lastFullError = code;
    m_lastMessage = text;
    if (!Unattended)
        TMessages::Show(MsgKind::Warning, text);
    if (OnMessage)
        OnMessage(0, text);
}

void TZipMaster::List()
{
    if (!RefuseWhileBusy())
        ListArchive();
}

void TZipMaster::ListArchive()
{
    m_listing = ZipListing();
    m_joinedSet.reset();
    if (m_zipFileName.isEmpty() || !QFileInfo::exists(m_zipFileName))
        return;
    BusyScope busy(*this);
    ZipListing listing = ZipDirectoryReader::List(m_zipFileName, CodePage);
    if (listing.DiskNumber > 0) {
        if (!JoinSpannedSet(int(listing.DiskNumber) + 1))
            return;
        listing = ZipDirectoryReader::List(m_joinedSet->fileName(), CodePage);
    }
    const bool notAZip = !listing.Messages.empty() && listing.Messages.back().Code == NotAZip;
    if (notAZip && startsSpannedSet(m_zipFileName))
        listing.Messages.back() = {FirstFileOfSet, Text(FirstFileOfSet)};
    m_listing = std::move(listing);
    ReportListingMessages(m_listing);
    for (int i = 0; i < EntryCount(); ++i)
        if (OnNewName)
            OnNewName(i + 1);
    if (OnDirUpdate)
        OnDirUpdate();
}

// The volumes are files beside the last one; one that is missing is asked for, as a
// disk would be, until it is there or the user gives up.
bool TZipMaster::JoinSpannedSet(int volumes)
{
    const QString folder = TempDir.isEmpty() ? PrivateTempFolder::Subfolder(QStringLiteral("zpttmp")) : TempDir;
    m_joinedSet = std::make_unique<QTemporaryFile>(folder + QStringLiteral("/joined-XXXXXX.zip"));
    if (folder.isEmpty() || !m_joinedSet->open()) {
        m_joinedSet.reset();
        Report(CannotOpen);
        return false;
    }
    m_joinedSet->close();
    const int code = ZipVolumeSet::Join(m_zipFileName, volumes, m_joinedSet->fileName(),
                                        [this](int number, int count) { return AskForVolume(number, count); });
    if (code == 0)
        return true;
    m_joinedSet.reset();
    if (!(Unattended && code == UserCancelled))
        Report(code);
    return false;
}

bool TZipMaster::AskForVolume(int number, int count)
{
    if (Unattended) {
        Report(UnattendedSpanning);
        return false;
    }
    const QString prompt = number == count ? Text(InsertLastDisk)
                           : count > 0     ? QString::asprintf(Text(InsertVolumeOf).toUtf8().constData(), number, count)
                                           : formatted(InsertVolume, number);
    const QString drive = Text(InDrive).replace(QLatin1String("%s"), QFileInfo(m_zipFileName).path());
    return TMessages::Show(number == count ? MsgKind::Error : MsgKind::Information, prompt + drive,
                           MsgButtons::OkCancel)
           == MsgResult::Ok;
}

QString TZipMaster::ArchiveToRead() const
{
    return m_joinedSet ? m_joinedSet->fileName() : QFileInfo(m_zipFileName).absoluteFilePath();
}

// Writing spanned sets is not built: a change would go to the joined copy and be lost.
bool TZipMaster::RefuseSpannedChange()
{
    if (!m_joinedSet)
        return false;
    if (AddOptions & (AddOpt::AddFreshen | AddOpt::AddUpdate))
        Report(SpannedFreshen);
    else
        ReportText(SpannedFreshen, QCoreApplication::translate("ZipMaster", "A spanned archive can not be changed"));
    FSpecArgs.clear();
    FSpecArgsExcl.clear();
    return true;
}

void TZipMaster::ReportListingMessages(const ZipListing& listing)
{
    for (const ZipMessage& message : listing.Messages)
        ReportText(message.Code, message.Text.isEmpty() ? Text(message.Code) : message.Text);
}

void TZipMaster::AddFiles()
{
    if (RefuseWhileBusy())
        return;
    if (FSpecArgs.isEmpty()) {
        Report(NoFilesToZip);
        return;
    }
    if (m_zipFileName.isEmpty()) {
        Report(NoZipFile);
        return;
    }
    if (Unattended && AddOptions.testFlag(AddOpt::AddEncrypt) && m_password.isEmpty()) {
        Report(UnattendedNeedsPassword);
        return;
    }
    if (!AutoSfxForExe())
        return;
    RunAdd(false);
}

void TZipMaster::Delete()
{
    if (RefuseWhileBusy())
        return;
    if (FSpecArgs.isEmpty() || m_zipFileName.isEmpty()) {
        Report(FSpecArgs.isEmpty() ? NoFilesToZip : NoZipFile);
        return;
    }
    // Entries deleted from an archive go nowhere a user could get them back from.
    if (ConfirmErase && !Unattended
        && TMessages::Show(MsgKind::Confirmation,
                           QCoreApplication::translate("ZipMaster", "Do you really want to delete the selected entries from %1?")
                               .arg(QFileInfo(m_zipFileName).fileName()),
                           MsgButtons::YesNo)
               != MsgResult::Yes) {
        FSpecArgs.clear();
        m_filesDone = 0;
        return;
    }
    RunAdd(true);
}

// A zip named like a program is made a self-extractor around an empty archive first,
// so the files are added behind the stub.
bool TZipMaster::AutoSfxForExe()
{
    if (!m_zipFileName.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive) || QFileInfo::exists(m_zipFileName))
        return true;
    const int code = ConvertToSfx(true);
    if (code == 0) {
        ListArchive();
        return true;
    }
    ReportText(AutoSfxFailed, formatted(AutoSfxFailed, code));
    return false;
}

void TZipMaster::RunAdd(bool deleting)
{
    if (m_busy || RefuseSpannedChange())
        return;
    BusyScope busy(*this);
    m_filesDone = 0;
    const ZipLibrary::Loaded loaded = ZipLibrary::Load(ZipLibrary::Kind::Zip, m_dllDirectory);
    if (!loaded.Library) {
        Report(loaded.ErrorCode);
        FSpecArgs.clear();
        FSpecArgsExcl.clear();
        return;
    }
    if (Trace)
        Report(ZipDllLoaded);
    ZipAddRequest request;
    static_cast<ZipCaller&>(request) = Caller();
    request.StoreSuffixes = AddStoreSuffixes;
    request.Options = AddOptions;
    request.Level = AddCompLevel;
    request.Deleting = deleting;
    request.FileSpecs = FSpecArgs;
    request.Exclusions = FSpecArgsExcl;
    const qint64 prefix = ArchivePrefix();
    std::unique_ptr<QTemporaryFile> work;
    if (prefix > 0) {
        work = CopyForRewrite();
        if (!work) {
            Report(SfxDataCopyError);
            FSpecArgs.clear();
            FSpecArgsExcl.clear();
            return;
        }
        // The stub in front is written back around the new archive; the sources of a
        // move must not go before that has happened, so they stay.
        request.Options &= ~AddOpts(AddOpt::AddMove);
    }
    request.ZipFileName = work ? work->fileName() : m_zipFileName;
    request.TempDir = TempDir;
    request.ArchiveComment = m_listing.ArchiveComment;
    request.ArchiveFolder = AddArchiveFolder;
    ZipCommandRecords records;
    ZipAddCommand& command = records.BuildAdd(request);
    const auto exec = reinterpret_cast<ZipDllExecFunction>(loaded.Library->Exec());
    const PasswordScope password(m_password);
    try {
        m_filesDone = exec(&command);
    } catch (...) {
        Report(FatalZipDll);
    }
    FSpecArgs.clear();
    FSpecArgsExcl.clear();
    if (work && m_filesDone > 0 && !PutPrefixBack(prefix, work->fileName())) {
        Report(SfxDataCopyError);
        m_filesDone = 0;
    }
    if (m_filesDone > 0)
        ListArchive();
}

// The bytes in front of the archive's first entry: a self-extractor's stub and block.
qint64 TZipMaster::ArchivePrefix() const
{
    if (m_listing.ExtraBytesInFront || !m_listing.Messages.empty())
        return 0;
    return m_listing.Entries.empty() ? m_listing.DirectoryOffset : qint64(m_listing.FirstLocalHeaderOffset);
}

// The zip library writes an archive from its first entry on and would drop a stub in
// front, so it works on a copy and the stub is put back around its result.
std::unique_ptr<QTemporaryFile> TZipMaster::CopyForRewrite() const
{
    auto copy = std::make_unique<QTemporaryFile>(m_zipFileName + QStringLiteral(".dvzip-XXXXXX"));
    QFile source(m_zipFileName);
    if (!copy->open() || !source.open(QIODevice::ReadOnly))
        return nullptr;
    while (!source.atEnd()) {
        const QByteArray block = source.read(1 << 20);
        if (block.isEmpty() || copy->write(block) != block.size())
            return nullptr;
    }
    copy->close();
    return copy;
}

bool TZipMaster::PutPrefixBack(qint64 prefix, const QString& archive) const
{
    QFile original(m_zipFileName);
    QTemporaryFile stub(m_zipFileName + QStringLiteral(".dvstub-XXXXXX"));
    if (!original.open(QIODevice::ReadOnly) || !stub.open())
        return false;
    const QByteArray bytes = original.read(prefix);
    if (bytes.size() != prefix || stub.write(bytes) != prefix)
        return false;
    stub.close();
    return SfxWriter::Write({stub.fileName(), archive, QByteArray(), m_zipFileName}) == SfxWriter::kSuccess;
}

void TZipMaster::ExtractFiles()
{
    if (RefuseWhileBusy())
        return;
    if (m_zipFileName.isEmpty() || !QFileInfo::exists(m_zipFileName)) {
        Report(NoZipFile);
        return;
    }
    m_operationTries = m_passwordReqCount;
    if (Unattended && m_password.isEmpty() && !OnPasswordError) {
        Report(UnattendedExtract);
        m_operationTries = 0;
    }
    BusyScope busy(*this);
    m_filesDone = 0;
    const ZipLibrary::Loaded loaded = ZipLibrary::Load(ZipLibrary::Kind::Unz, m_dllDirectory);
    if (!loaded.Library) {
        Report(loaded.ErrorCode);
        FSpecArgs.clear();
        return;
    }
    if (Trace)
        Report(UnzDllLoaded);
    CurrentFolderScope folder;
    if (!ExtrBaseDir.isEmpty() && QFileInfo(ExtrBaseDir).isDir())
        QDir::setCurrent(ExtrBaseDir);
    ZipExtractRequest request;
    static_cast<ZipCaller&>(request) = Caller();
    request.Options = ExtrOptions;
    request.FileSpecs = FSpecArgs;
    request.ZipFileName = ArchiveToRead();
    request.PasswordRequestCount = m_operationTries;
    ZipCommandRecords records;
    UnzExtractCommand& command = records.BuildExtract(request);
    const auto exec = reinterpret_cast<UnzDllExecFunction>(loaded.Library->Exec());
    const PasswordScope password(m_password);
    try {
        m_filesDone = exec(&command);
    } catch (...) {
        Report(FatalUnzDll);
    }
    FSpecArgs.clear();
}

std::optional<QByteArray> TZipMaster::ExtractToMemory(const QString& name)
{
    const auto entry = std::find_if(m_listing.Entries.begin(), m_listing.Entries.end(),
                                    [&](const ZipDirEntry& e) { return e.FileName == name; });
    if (RefuseWhileBusy() || entry == m_listing.Entries.end())
        return std::nullopt;
    BusyScope busy(*this);
    const ZipLibrary::Loaded loaded = ZipLibrary::Load(ZipLibrary::Kind::Unz, m_dllDirectory);
    if (!loaded.Library) {
        Report(loaded.ErrorCode);
        return std::nullopt;
    }
    if (loaded.Library->Version() < ZIPDLL_INTERFACE_VERSION) {
        Report(NoStreams);
        return std::nullopt;
    }
    QByteArray bytes(qsizetype(entry->UncompressedSize), Qt::Uninitialized);
    ZipExtractRequest request;
    static_cast<ZipCaller&>(request) = Caller();
    request.FileSpecs = {name};
    request.ZipFileName = ArchiveToRead();
    request.PasswordRequestCount = m_operationTries = m_passwordReqCount;
    request.Buffer = reinterpret_cast<unsigned char*>(bytes.data());
    request.BufferSize = bytes.size();
    ZipCommandRecords records;
    UnzExtractCommand& command = records.BuildExtract(request);
    const auto exec = reinterpret_cast<UnzDllExecFunction>(loaded.Library->Exec());
    const PasswordScope password(m_password);
    m_filesDone = exec(&command);
    if (m_filesDone != 1)
        return std::nullopt;
    bytes.truncate(qsizetype(command.BufferSize));
    return bytes;
}

ZipCaller TZipMaster::Caller()
{
    return {this, &ZipCallbackRouter::Route, Unattended, Trace, Verbose, m_password};
}

int TZipMaster::HandleCallback(ZipCallbackRecord& record)
{
    record.Text[ZIPDLL_TEXT_SIZE - 1] = '\0';
    const QString text = QString::fromUtf8(record.Text).trimmed();
    switch (record.ActionCode) {
    case ZCB_NEW_FILE:
    case ZCB_PROGRESS:
    case ZCB_END_BATCH:
    case ZCB_TOTAL_FILES:
    case ZCB_TOTAL_SIZE:
        if (OnProgress)
            OnProgress(record.ActionCode, text, record.Number);
        break;
    case ZCB_MESSAGE:
        CallbackMessage(record);
        break;
    case ZCB_NEW_NAME:
        if (OnSetNewName) {
            QString name = text;
            OnSetNewName(name);
            qstrncpy(record.Text, name.toUtf8().constData(), ZIPDLL_TEXT_SIZE);
        }
        break;
    case ZCB_PASSWORD:
        CallbackPassword(record);
        break;
    case ZCB_CRC_ERROR:
        record.ErrorCode = OnCRC32Error ? (OnCRC32Error(text) ? 1 : 0) : 2;
        break;
    case ZCB_OVERWRITE:
        record.ErrorCode = OnExtractOverwrite && OnExtractOverwrite(text) ? 1 : 0;
        break;
    case ZCB_SKIPPED:
        if (OnExtractSkipped)
            OnExtractSkipped(text, record.ErrorCode);
        break;
    default:
        break;
    }
    QCoreApplication::processEvents();
    return m_cancelRequested ? -1 : 0;
}

void TZipMaster::CallbackMessage(ZipCallbackRecord& record)
{
    const QString text = QString::fromUtf8(record.Text).trimmed();
    if (record.ErrorCode != 0) {
        m_lastError = record.ErrorCode & 0xFF;
        m_lastFullError = record.ErrorCode;
        m_lastMessage = text;
    }
    if (OnMessage)
        OnMessage(record.ErrorCode, text);
}

void TZipMaster::CallbackPassword(ZipCallbackRecord& record)
{
    const bool forAdding = record.ErrorCode & 1;
    int tries = int(std::min<int64_t>(record.Number, kMaxPasswordTries));
    std::optional<QString> answer;
    if (OnPasswordError) {
        answer = OnPasswordError(forAdding, tries);
    } else if (Unattended) {
        Report(forAdding ? NoAddPassword : NoExtractPassword);
    } else if (AskPassword) {
        const QString caption = Text(PasswordCaption);
        answer = AskPassword(caption, Text(EnterPassword));
        if (forAdding && answer && !answer->isEmpty()) {
            const std::optional<QString> again = AskPassword(caption, Text(ConfirmPassword));
            if (!again || *again != *answer) {
                Report(PasswordsDiffer);
                answer.reset();
            }
        }
    }
    std::fill(std::begin(record.Text), std::end(record.Text), '\0');
    record.Number = std::clamp(tries, 0, kMaxPasswordTries);
    if (!answer || answer->isEmpty()) {
        record.ErrorCode = 0;
        return;
    }
    const QString password = answer->left(ZIPDLL_PASSWORD_MAX);
    qstrncpy(record.Text, password.toUtf8().constData(), ZIPDLL_PASSWORD_MAX + 1);
    record.ErrorCode = 1;
    m_password = password;
}
