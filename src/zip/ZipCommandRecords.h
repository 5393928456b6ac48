// Builds the command records handed to the zip libraries and keeps the texts they
// point to alive until the call returns.
#pragma once

#include "ZipDllRecords.h"
#include "ZipOptions.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <deque>
#include <vector>

// Who calls and how it wants to hear back: the same for every command.
struct ZipCaller {
    void* Caller = nullptr;
    ZipCallbackFunction Callback = nullptr;
    bool Unattended = false;
    bool Trace = false;
    bool Verbose = false;
    QString Password;
};

struct ZipAddRequest : ZipCaller {
    AddStoreExts StoreSuffixes;
    AddOpts Options;
    int Level = 9;
    bool Deleting = false;
    QStringList FileSpecs;
    QStringList Exclusions;
    QString ZipFileName;
    QString TempDir;
    QString ArchiveComment;
    QString ArchiveFolder;
};

struct ZipExtractRequest : ZipCaller {
    ExtrOpts Options;
    QStringList FileSpecs;
    QString ZipFileName;
    int PasswordRequestCount = 1;
    unsigned char* Buffer = nullptr;   // extracting one member into memory
    qint64 BufferSize = 0;
};

class ZipCommandRecords {
public:
    ZipAddCommand& BuildAdd(const ZipAddRequest& request);
    UnzExtractCommand& BuildExtract(const ZipExtractRequest& request);

    // ".gif:.png:..." for the suffixes in the set, in their published order.
    static QString StoreSuffixText(AddStoreExts suffixes);

private:
    const char* Keep(const QString& text);
    const char* KeepPath(const QString& path);
    void AddSpec(const QString& text, const QString& folder);

    std::deque<QByteArray> m_texts;
    std::vector<ZipFileSpec> m_addSpecs;
    std::vector<const char*> m_exclusions;
    std::vector<UnzFileSpec> m_extractSpecs;
    ZipAddCommand m_add{};
    UnzExtractCommand m_extract{};
};
