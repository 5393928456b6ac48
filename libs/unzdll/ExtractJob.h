// Extracts (or tests, or reads into memory) the selected members of an archive into
// the current folder.
#pragma once

#include "MemberInfo.h"
#include "MemberReader.h"
#include "PasswordKeeper.h"

#include "DllCallback.h"
#include "ZipDllRecords.h"

#include <memory>
#include <string>
#include <vector>
#include <zip.h>

class ExtractJob {
public:
    ExtractJob(UnzExtractCommand& command, DllCallback& callback);
    ~ExtractJob();
    ExtractJob(const ExtractJob&) = delete;
    ExtractJob& operator=(const ExtractJob&) = delete;

    // The number of members extracted (or tested); 0 when the archive cannot be read.
    int32_t run();

private:
    struct PendingLink {
        MemberInfo member;
        std::string relative;
        std::string target;
    };

    std::vector<MemberInfo> selected(const std::vector<MemberInfo>& members) const;
    std::vector<std::string> patterns() const;
    void announceTotals(const std::vector<MemberInfo>& members);
    int32_t testAll(const std::vector<MemberInfo>& members);
    int32_t extractAll(const std::vector<MemberInfo>& members);
    void flush();
    int32_t toMemory(const std::vector<MemberInfo>& members);
    bool readLinkTarget(const MemberInfo& member, std::string& target);
    int32_t finish(int32_t count);

    UnzExtractCommand& m_command;
    DllCallback& m_callback;
    std::string m_archivePath;
    zip_t* m_archive = nullptr;
    PasswordKeeper m_passwords;
    std::unique_ptr<MemberReader> m_reader;
    std::vector<PendingLink> m_links;
};
