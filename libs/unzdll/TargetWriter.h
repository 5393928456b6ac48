// Puts members on disk below the extraction folder: folders, files (through a
// temporary file, renamed into place once the CRC is checked) and symbolic links.
// A file that replaces another is flushed before it takes its place; new files are
// made durable together when the run ends (ExtractJob).
// Existing targets are replaced only as the overwrite, freshen and update options say.
#pragma once

#include "FolderWalker.h"
#include "MemberInfo.h"
#include "MemberReader.h"
#include "PartLeftovers.h"

#include "DllCallback.h"
#include "ZipDllRecords.h"

#include "platform/doors/FileIdentity.h"

#include <string>

class TargetWriter {
public:
    TargetWriter(const UnzExtractCommand& command, DllCallback& callback, MemberReader& reader, int baseFolder);

    // Each returns whether the member was extracted; `relative` is the checked path.
    bool makeFolder(const MemberInfo& member, const std::string& relative);
    bool writeFile(const MemberInfo& member, const std::string& relative);
    bool makeLink(const MemberInfo& member, const std::string& relative, const std::string& target);

private:
    enum class Existing { Absent, Replace, Keep };

    int folderFor(const MemberInfo& member, const std::string& relative);
    Existing existing(int folder, const std::string& leaf, const MemberInfo& member, const std::string& relative);
    Existing askToReplace(const MemberInfo& member, const std::string& relative);
    bool removeReplaced(int folder, const std::string& leaf, const MemberInfo& member);

    const UnzExtractCommand& m_command;
    DllCallback& m_callback;
    MemberReader& m_reader;
    FolderWalker m_walker;
    PartLeftovers m_leftovers;
    FileIdentity m_found;   // what existing() saw under the target's name
};
