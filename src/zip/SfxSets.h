// The named self-extractor sets of DORVN.INI: each is a section whose name starts with
// "SFXSET" (any case) and whose Name key is the name the user gave. Names are matched
// without regard to case. The file is read again for every call, so a set saved by
// another running copy of the program is seen.
#pragma once

#include "SfxSet.h"

#include <QString>
#include <QStringList>
#include <optional>

class IniFile;

class SfxSets {
public:
    // `iniPath`: the file holding the sets, DORVN.INI unless a test says otherwise.
    explicit SfxSets(QString iniPath);

    // The sets' names in file order; a set without a name is "<no name>".
    QStringList Names() const;
    // The set of that name (the last one when several match), or none.
    std::optional<SfxSet> Load(const QString& name) const;
    // Writes the set under `name`, over a set of that name or as a new section. An
    // empty name shows "Invalid name"; a file that cannot be written is reported. True
    // when the set is in the file.
    bool Save(const QString& name, const SfxSet& set) const;
    // Removes the set of that name; nothing is reported when it cannot be.
    void Erase(const QString& name) const;

private:
    QStringList setSections(const IniFile& ini) const;
    QString sectionOf(const IniFile& ini, const QString& name) const;
    static QString newSectionName(const IniFile& ini);

    QString m_iniPath;
};
