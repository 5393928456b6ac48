// An application's desktop entry (the freedesktop.org format): the keys this program
// needs to start it, and its Exec line turned into an argument vector.
#pragma once

#include <QCoreApplication>
#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

// A key file's groups with their keys and raw values (escapes kept). Lines that are
// neither a group, a key nor a comment are passed over, and the first of a repeated
// key wins: real files are often hand-edited. mimeapps.list and mimeinfo.cache use
// the same format.
using KeyFileGroups = QHash<QString, QHash<QString, QString>>;
KeyFileGroups ReadKeyFile(const QString& path);

struct DesktopEntry {
    Q_DECLARE_TR_FUNCTIONS(DesktopEntry)
public:
    QString FilePath;   // where the entry was read from, for %k
    QString Type;
    QString Name;       // translated for the user's language when the entry has it
    QString Exec;       // string escapes undone, quoting kept
    QString TryExec;
    QString Icon;
    bool Terminal = false;
    bool Hidden = false;
    bool NoDisplay = false;

    // The [Desktop Entry] group of FILE; nothing when the file cannot be read or has
    // no such group.
    static std::optional<DesktopEntry> Load(const QString& file);

    // The argument vector (program first) that opens FILES. %f and %u take the first
    // file (several files then need one launch each), %F and %U all; %u gets the local
    // path, never a URL, so names stay byte-exact. Without a file field code the files
    // are appended, as the common desktops do. Empty, with *error saying why, when Exec
    // breaks the quoting rules, has an unknown field code or is empty: a half-understood
    // command line could run something else than the entry means.
    QStringList Arguments(const QStringList& files, QString* error) const;
};
