// The program's one object for zip archives: lists an archive's central directory with
// its own reader, hands adding, deleting and extracting to ZIPDLL.DLL and UNZDLL.DLL
// (loaded for each operation), and turns a zip into a self-extracting program. Every
// report goes through Report(): a message box unless Unattended, then OnMessage.
// Runs on the UI thread; the libraries' callbacks let the window process its events.
#pragma once

#include "ZipListing.h"
#include "ZipOptions.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

struct FileIdentity;
struct ZipCallbackRecord;
struct ZipCaller;

class TZipMaster {
public:
    TZipMaster();
    ~TZipMaster();
    TZipMaster(const TZipMaster&) = delete;
    TZipMaster& operator=(const TZipMaster&) = delete;

    // Published properties whose setting has no side effect.
    bool Verbose = false;
    bool Trace = false;
    int AddCompLevel = 9;
    AddOpts AddOptions;
    ExtrOpts ExtrOptions;
    QString ExtrBaseDir;
    QStringList FSpecArgs;
    QStringList FSpecArgsExcl;
    SFXOpts SFXOptions = SFXOpt::SFXCheckSize;
    OvrOpts SFXOverWriteMode = OvrOpts::OvrConfirm;
    QString SFXPath = QStringLiteral("ZipSFX.bin");
    QString SFXCaption = QStringLiteral("Self-extracting Archive");
    QString SFXDefaultDir;
    QString SFXCommandLine;
    QString SFXMessage;
    QString SFXIcon;              // no icon resource in an ELF stub: kept, never written
    QString TempDir;
    bool Unattended = false;
    int KeepFreeOnDisk1 = 0;
    int MaxVolumeSize = 0;
    int MinFreeVolumeSize = 65536;
    bool ConfirmErase = true;
    CodePageMode CodePage = CodePageMode::Auto;
    DeleteOpts HowToDelete = DeleteOpts::htdAllowUndo;
    AddStoreExts AddStoreSuffixes;
    // The folder inside the archive that added files go under ("docs/"), empty for the top.
    QString AddArchiveFolder;

    // Properties with rules of their own.
    const QString& ZipFileName() const { return m_zipFileName; }
    // Lists the archive. Refused (false) while an operation runs: its callbacks let
    // the window run commands, which must not point the running work elsewhere.
    bool SetZipFileName(const QString& name);
    const QString& Password() const { return m_password; }
    void SetPassword(const QString& password);      // at most 255 characters
    int PasswordReqCount() const { return m_passwordReqCount; }
    void SetPasswordReqCount(int count);            // 0 to 15
    const QString& DLLDirectory() const { return m_dllDirectory; }
    void SetDLLDirectory(const QString& folder);    // a trailing '/' is dropped
    static QString VersionInfo() { return QStringLiteral("1.60 K"); }

    // Contents and results.
    int EntryCount() const { return int(m_listing.Entries.size()); }
    const ZipDirEntry& Entry(int index) const { return m_listing.Entries.at(size_t(index)); }
    QString ArchiveComment() const { return m_listing.ArchiveComment; }
    const ZipListing& Listing() const { return m_listing; }
    int FilesDone() const { return m_filesDone; }
    int LastError() const { return m_lastError; }
    int LastFullError() const { return m_lastFullError; }
    const QString& LastMessage() const { return m_lastMessage; }

    // Operations.
    void List();
    void AddFiles();
    void Delete();
    void ExtractFiles();
    // Extracts the one member `name` into memory; no value when it could not be.
    std::optional<QByteArray> ExtractToMemory(const QString& name);
    int ConvertToSfx();
    // Stops the running library operation at its next callback.
    void Cancel() { m_cancelRequested = true; }
    bool Busy() const { return m_busy; }

    // Events. The program assigns OnMessage; the others are for whoever needs them.
    std::function<void()> OnDirUpdate;
    std::function<void(int action, const QString& name, qint64 size)> OnProgress;
    std::function<void(int errorCode, const QString& text)> OnMessage;
    std::function<void(QString& name)> OnSetNewName;
    std::function<void(int number)> OnNewName;
    // Returns the password, or no value for none; `tries` may be lowered.
    std::function<std::optional<QString>(bool forAdding, int& tries)> OnPasswordError;
    std::function<bool(const QString& name)> OnCRC32Error;      // true: keep the file anyway
    std::function<bool(const QString& path)> OnExtractOverwrite; // true: overwrite
    std::function<void(const QString& name, int reason)> OnExtractSkipped;

    // How the component asks for a password when no OnPasswordError is assigned: the
    // password dialog of dv_zip_ui (TPasswordDlg::Ask), or a test's answer.
    using PasswordPrompt = std::function<std::optional<QString>(const QString& caption, const QString& prompt)>;
    PasswordPrompt AskPassword;
    // Shows or clears the busy cursor (the window's override cursor).
    std::function<void(bool busy)> BusyCursor;

    // The one reporting routine: table text for `code` plus `detail`.
    void Report(int code, const QString& detail = QString());

private:
    friend class ZipCallbackRouter;
    class BusyScope;

    void ReportText(int code, const QString& text);
    bool RefuseWhileBusy();
    void ListArchive();
    void ReportListingMessages(const ZipListing& listing);
    bool RefuseFirstVolume();
    bool AutoSfxForExe();
    void RunAdd(bool deleting);
    ZipCaller Caller();
    int HandleCallback(ZipCallbackRecord& record);
    void CallbackMessage(ZipCallbackRecord& record);
    void CallbackPassword(ZipCallbackRecord& record);
    QString StubPath() const;
    int ConvertToSfx(bool automatic);
    bool TrashOrDelete(const QString& path, const FileIdentity& was) const;
    qint64 ArchivePrefix() const;
    std::unique_ptr<class QTemporaryFile> CopyForRewrite() const;
    bool PutPrefixBack(qint64 prefix, const QString& archive) const;
    bool JoinSpannedSet(int volumes);
    bool AskForVolume(int number, int count);
    bool RefuseSpannedChange();
    QString ArchiveToRead() const;

    QString m_zipFileName;
    QString m_password;
    int m_passwordReqCount = 1;
    QString m_dllDirectory;
    ZipListing m_listing;
    int m_filesDone = 0;
    int m_lastError = 0;
    int m_lastFullError = 0;
    QString m_lastMessage;
    bool m_busy = false;
    bool m_cancelRequested = false;
    int m_operationTries = 0;
    // A spanned set's volumes joined into one archive, read in place of the set.
    std::unique_ptr<class QTemporaryFile> m_joinedSet;
};
