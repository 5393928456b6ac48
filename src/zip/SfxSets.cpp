#include "SfxSets.h"

#include "platform/IniFile.h"
#include "platform/TMessages.h"

#include <QCoreApplication>
#include <cstring>

namespace {

const QString kName = QStringLiteral("Name");

QString nameOf(const IniFile& ini, const QString& section)
{
    return ini.ReadString(section, kName, QCoreApplication::translate("SfxSets", "<no name>"));
}

} // namespace

SfxSets::SfxSets(QString iniPath) : m_iniPath(std::move(iniPath)) {}

QStringList SfxSets::setSections(const IniFile& ini) const
{
    QStringList sections;
    for (const QString& section : ini.Sections())
        if (section.startsWith(QLatin1String("SFXSET"), Qt::CaseInsensitive))
            sections << section;
    return sections;
}

QString SfxSets::sectionOf(const IniFile& ini, const QString& name) const
{
    QString found;
    for (const QString& section : setSections(ini))
        if (nameOf(ini, section).compare(name, Qt::CaseInsensitive) == 0)
            found = section;
    return found;
}

QString SfxSets::newSectionName(const IniFile& ini)
{
    for (int n = 1;; ++n) {
        const QString candidate = QStringLiteral("SfxSet%1").arg(n);
        if (!ini.HasSection(candidate))
            return candidate;
    }
}

QStringList SfxSets::Names() const
{
    const IniFile ini(m_iniPath);
    QStringList names;
    for (const QString& section : setSections(ini))
        names << nameOf(ini, section);
    return names;
}

std::optional<SfxSet> SfxSets::Load(const QString& name) const
{
    const IniFile ini(m_iniPath);
    const QString section = sectionOf(ini, name);
    if (section.isEmpty())
        return std::nullopt;
    const SfxSet defaults;
    SfxSet set;
    set.Caption = ini.ReadString(section, QStringLiteral("Caption"));
    set.CommandLine = ini.ReadString(section, QStringLiteral("CommandLine"));
    set.DefDirectory = ini.ReadString(section, QStringLiteral("DefDirectory"));
    set.UseTempDir = ini.ReadBool(section, QStringLiteral("UseTempDir"), defaults.UseTempDir);
    set.CanDisableCmdLine = ini.ReadBool(section, QStringLiteral("CanDisableCmdLine"), defaults.CanDisableCmdLine);
    set.CanSelectFiles = ini.ReadBool(section, QStringLiteral("CanSelectFiles"), defaults.CanSelectFiles);
    set.UserOverwrite = ini.ReadBool(section, QStringLiteral("UserOverwrite"), defaults.UserOverwrite);
    set.OverwriteMode = ini.ReadInteger(section, QStringLiteral("OverwriteMode"), defaults.OverwriteMode);
    return set;
}

bool SfxSets::Save(const QString& name, const SfxSet& set) const
{
    if (name.isEmpty()) {
        TMessages::Show(MsgKind::Plain, QCoreApplication::translate("SfxSets", "Invalid name"));
        return false;
    }
    IniFile ini(m_iniPath);
    QString section = sectionOf(ini, name);
    if (section.isEmpty())
        section = newSectionName(ini);
    ini.WriteString(section, kName, name);
    ini.WriteString(section, QStringLiteral("Caption"), set.Caption);
    ini.WriteString(section, QStringLiteral("CommandLine"), set.CommandLine);
    ini.WriteString(section, QStringLiteral("DefDirectory"), set.DefDirectory);
    ini.WriteBool(section, QStringLiteral("UseTempDir"), set.UseTempDir);
    ini.WriteBool(section, QStringLiteral("CanDisableCmdLine"), set.CanDisableCmdLine);
    ini.WriteBool(section, QStringLiteral("CanSelectFiles"), set.CanSelectFiles);
    ini.WriteBool(section, QStringLiteral("UserOverwrite"), set.UserOverwrite);
    ini.WriteInteger(section, QStringLiteral("OverwriteMode"), set.OverwriteMode);
    if (const int error = ini.Save()) {
        TMessages::Show(MsgKind::Warning, QCoreApplication::translate("SfxSets", "Unable to save the set in %1: %2")
                                              .arg(ini.Path(), QString::fromLocal8Bit(std::strerror(error))));
        return false;
    }
    return true;
}

void SfxSets::Erase(const QString& name) const
{
    IniFile ini(m_iniPath);
    const QString section = sectionOf(ini, name);
    if (section.isEmpty())
        return;
    ini.EraseSection(section);
    (void)ini.Save();
}
