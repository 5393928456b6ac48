// Helpers shared by the main-window tests: hand-built pane listings, readable Qt
// strings in failure messages, and a settings folder of the test's own.
#pragma once

#include "app/TDirData.h"
#include "platform/TRegistry.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdlib>
#include <memory>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QStringList& list, std::ostream* os)
{
    *os << '[' << list.join(QStringLiteral(" | ")).toStdString() << ']';
}

// Appends an entry and counts it in its group; callers add folders, then files, then
// volumes, as a listing holds them.
inline TFileData& AddEntry(TDirData& pane, TFileKind kind, const QString& name, int64_t size = 0,
                           uint32_t time = 0)
{
    auto e = std::make_unique<TFileData>();
    e->Kind = kind;
    e->Name = name;
    e->Size = size;
    e->Time = time;
    TFileData& ref = *e;
    pane.Items.push_back(std::move(e));
    ++pane.Count;
    if (kind == fkDirectory)
        ++pane.DirCount;
    else if (kind == fkFile)
        ++pane.FileCount;
    else
        ++pane.DriveCount;
    return ref;
}

inline QStringList EntryNames(const TDirData& pane)
{
    QStringList names;
    for (int i = 0; i < pane.Count; ++i)
        names << pane.Item(i)->Name;
    return names;
}

// Points the settings store at an empty folder for the life of the object, so a test
// sees neither the user's settings nor those of an earlier test in the same process.
class IsolatedConfig {
public:
    IsolatedConfig()
        : m_old(qgetenv("XDG_CONFIG_HOME"))
    {
        qputenv("XDG_CONFIG_HOME", m_dir.path().toLocal8Bit());
        TRegistry::ReloadAll();
    }
    ~IsolatedConfig()
    {
        qputenv("XDG_CONFIG_HOME", m_old);
        TRegistry::ReloadAll();
    }
    QString HiveFile() const { return TRegistry::HiveFile(RegistryHive::CurrentUser); }

private:
    QByteArray m_old;
    QTemporaryDir m_dir;
};
