// The options a self-extracting archive carries for its stub: what it shows, asks and
// runs. Build() gives the bytes the stub reads, placed between the stub and the archive.
#pragma once

#include <QByteArray>
#include <QString>

struct SfxSettingsBlock {
    enum class OverwriteMode { Confirm, Always, Never };

    bool AskCmdLine = false;
    bool AskFiles = false;
    bool HideOverwriteBox = false;
    OverwriteMode Overwrite = OverwriteMode::Confirm;
    bool CheckSize = false;
    bool AutoRun = false;
    bool NoSuccessMessage = false;
    QString Caption;
    QString DefaultDir;     // empty: the current folder; "><": a new temporary folder
    QString CommandLine;    // "><" in it stands for the extraction folder
    QString Message;

    static constexpr int kMaxTextBytes = 255;

    // The block, or an empty array when a text is longer than kMaxTextBytes in UTF-8.
    QByteArray Build() const;

private:
    uint8_t Flags() const;
};
