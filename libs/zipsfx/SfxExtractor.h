// Extracts the chosen members of the archive into the extraction folder: names are made
// safe first, existing files are replaced as the overwrite mode says, and each file is
// written under a temporary name and put in place only once its CRC has been checked.
// A refused member is reported and the others go on.
#pragma once

#include "ExtractionFolder.h"
#include "MemberDecoder.h"
#include "SfxArchive.h"
#include "SfxBlock.h"

#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

class SfxExtractor {
public:
    struct Outcome {
        size_t Extracted = 0;
        size_t Skipped = 0;   // left out on purpose: not chosen, or not to be replaced
        size_t Failed = 0;
    };

    SfxExtractor(int program, const SfxArchive& archive, int destination, SfxOptions::Overwrite overwrite);

    // `chosen[i]` tells whether member i is to be extracted.
    Outcome Run(const std::vector<bool>& chosen);

private:
    enum class Step { Extracted, Skipped, Failed };

    Step Extract(const SfxMember& member);
    Step ExtractFile(const SfxMember& member, int folder, const std::string& leaf);
    Step ExtractLink(const SfxMember& member, const std::string& relative, int folder, const std::string& leaf);
    std::optional<Step> ReplaceVerdict(const SfxMember& member, int folder, const std::string& leaf);
    bool AskReplace(const SfxMember& member);
    MemberDecoder::Result Decode(const SfxMember& member, const MemberDecoder::Sink& sink);
    const std::string* Password(const SfxMember& member);
    void SetAttributes(int fd, const SfxMember& member) const;
    static Step Refuse(const SfxMember& member, const std::string& why);

    int m_program;
    const SfxArchive& m_archive;
    ExtractionFolder m_folder;
    SfxOptions::Overwrite m_overwrite;
    std::optional<std::string> m_password;
    bool m_noPassword = false;
    mode_t m_umask;
};
