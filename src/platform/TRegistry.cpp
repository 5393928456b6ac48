// The settings store over hive files (see TRegistry.h). Each hive is read once per
// process and shared by every TRegistry of that hive; a change marks the hive, and the
// next CloseKey (or destructor) writes the whole file atomically. Reading a hive is
// also when stale temporary files of an earlier, killed run are cleared away.
#include "TRegistry.h"
#include "core/PosixIo.h"
#include "platform/AtomicFile.h"
#include "platform/FileNames.h"
#include "platform/doors/SourceRemoval.h"

#include "RegistryHiveFile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtDebug>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

ERegistryException::ERegistryException(const QString& text)
    : std::runtime_error(text.toStdString())
{
}

QString ERegistryException::text() const { return QString::fromStdString(what()); }

namespace {

struct Hive {
    QString file;
    QString rootName;
    RegistryKey root;
    bool dirty = false;   // changed since the file was last read or written
    QString loadError;    // the file exists but could not be read: never write over it
};

// UI thread only, like every TRegistry. A TRegistry keeps its hive alive across
// ReloadAll(), so it still saves what it changed.
std::array<std::shared_ptr<Hive>, 3> g_hives;

QString rootNameOf(RegistryHive hive)
{
    switch (hive) {
    case RegistryHive::LocalMachine: return QStringLiteral("HKEY_LOCAL_MACHINE");
    case RegistryHive::ClassesRoot: return QStringLiteral("HKEY_CLASSES_ROOT");
    case RegistryHive::CurrentUser: break;
    }
    return QStringLiteral("HKEY_CURRENT_USER");
}

QString fileNameOf(RegistryHive hive)
{
    switch (hive) {
    case RegistryHive::LocalMachine: return QStringLiteral("HKLM.reg");
    case RegistryHive::ClassesRoot: return QStringLiteral("HKCR.reg");
    case RegistryHive::CurrentUser: break;
    }
    return QStringLiteral("HKCU.reg");
}

QString systemError(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// Reads the whole file into bytes. A file that is not there is an empty hive; one that
// is there but cannot be read (no permission, a folder, an I/O error) returns the
// system's error, 0 otherwise.
int readHiveFile(const QString& path, QByteArray& bytes)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT || errno == ENOTDIR ? 0 : errno;
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0)
            break;
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            bytes.clear();
            return error;
        }
        bytes.append(buffer, n);
    }
    ::close(fd);
    return 0;
}

// A save of an earlier version killed between making its temporary file and the
// rename left the file behind (today's saves lock theirs, and the next save clears
// them). Only names of that pattern (kTempInfix and six letters or digits) are ours,
// so a user's "HKCU.reg.backup" is never touched; and only one older than any save
// takes is dead: a save another instance is making right now keeps its file.
constexpr const char* kTempInfix = AtomicFile::kTempInfix;

void removeStaleTempFiles(const QString& path)
{
    const QFileInfo hiveFile(path);
    const QString prefix = hiveFile.fileName() + QLatin1String(kTempInfix);
    const QDateTime cutoff = QDateTime::currentDateTimeUtc().addSecs(-60);
    const QFileInfoList candidates = QDir(hiveFile.absolutePath())
        .entryInfoList({prefix + QStringLiteral("??????")}, QDir::Files | QDir::NoSymLinks | QDir::CaseSensitive);
    for (const QFileInfo& info : candidates) {
        const QString suffix = info.fileName().mid(prefix.size());
        const bool ours = std::all_of(suffix.begin(), suffix.end(),
                                      [](QChar c) { return c.unicode() < 0x80 && c.isLetterOrNumber(); });
        if (!ours)
            continue;
        // Only the very file judged dead goes, not one another save put there since.
        const std::string leftover = EncodeFileName(info.absoluteFilePath()).toStdString();
        const FileIdentity was = FileIdentity::At(AT_FDCWD, leftover.c_str());
        if (was.Known && was.Modified.tv_sec < cutoff.toSecsSinceEpoch())
            SourceRemoval::Remove(leftover, was);
    }
}

std::shared_ptr<Hive> sharedHive(RegistryHive id)
{
    auto& slot = g_hives[size_t(id)];
    if (!slot) {
        slot = std::make_shared<Hive>();
        slot->file = TRegistry::HiveFile(id);
        slot->rootName = rootNameOf(id);
        removeStaleTempFiles(slot->file);
        QByteArray bytes;
        if (const int error = readHiveFile(slot->file, bytes)) {
            slot->loadError = QCoreApplication::translate("TRegistry", "The settings file \"%1\" cannot be read: %2. "
                                                                       "Changes made in this session will not be saved.")
                                  .arg(QDir::toNativeSeparators(slot->file), systemError(error));
        } else {
            slot->root = ParseHiveText(bytes, slot->rootName);
        }
    }
    return slot;
}

void writeFileAtomically(const QString& path, const QByteArray& bytes)
{
    auto fail = [&](int error) {
        throw ERegistryException(QCoreApplication::translate("TRegistry", "Cannot save the settings file %1: %2")
                                     .arg(QDir::toNativeSeparators(path), systemError(error)));
    };
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        fail(errno ? errno : EACCES);
    // Settings hold the user's folders: a new hive file is the user's alone.
    if (const int error = AtomicFile::Write(path, bytes, AtomicFile::NewFile::Private))
        fail(error);
}

} // namespace

struct TRegistry::Impl {
    std::shared_ptr<Hive> hive;
    QStringList openPath;     // names below the root; empty with the root or no key open
    bool readOnly = false;

    // A path starting with '\' is absolute, any other is relative to the open key.
    QStringList resolve(const QString& key) const
    {
        QStringList path = key.startsWith(u'\\') ? QStringList() : openPath;
        path += key.split(u'\\', Qt::SkipEmptyParts);
        return path;
    }

    RegistryKey* find(const QStringList& path) const
    {
        RegistryKey* key = &hive->root;
        for (const QString& name : path) {
            const auto it = key->subKeys.find(name);
            if (it == key->subKeys.end())
                return nullptr;
            key = it->second.get();
        }
        return key;
    }

    RegistryKey* make(const QStringList& path)
    {
        RegistryKey* key = &hive->root;
        for (const QString& name : path) {
            auto& child = key->subKeys[name];
            if (!child) {
                child = std::make_unique<RegistryKey>();
                hive->dirty = true;
            }
            key = child.get();
        }
        return key;
    }

    const RegistryValue& read(const QString& name, RegistryValue::Type type) const
    {
        if (const RegistryKey* key = find(openPath)) {
            const auto it = key->values.find(name);
            if (it != key->values.end() && it->second.type == type)
                return it->second;
        }
        throw ERegistryException(QCoreApplication::translate("TRegistry", "Invalid data type for '%1'").arg(name));
    }

    void write(const QString& name, const RegistryValue& value)
    {
        if (readOnly)
            throw ERegistryException(QCoreApplication::translate("TRegistry", "Failed to set data for '%1'").arg(name));
        // A key deleted meanwhile by another TRegistry is made again rather than
        // losing the value.
        RegistryKey* key = make(openPath);
        const auto it = key->values.find(name);
        if (it != key->values.end() && it->second == value)
            return;
        key->values[name] = value;
        hive->dirty = true;
    }

    void save()
    {
        // Writing over a file that could not be read would replace whatever it holds
        // with defaults, so its changes stay in memory (LoadError tells the user why).
        if (!hive->dirty || !hive->loadError.isEmpty())
            return;
        writeFileAtomically(hive->file, WriteHiveText(hive->root, hive->rootName));
        hive->dirty = false;
    }
};

TRegistry::TRegistry(RegistryHive hive)
    : m(std::make_unique<Impl>())
{
    m->hive = sharedHive(hive);
}

TRegistry::~TRegistry()
{
    // A destructor must not throw; the hive stays marked, so the next close retries.
    // Callers that need to see the error call CloseKey() themselves.
    try {
        m->save();
    } catch (const ERegistryException& e) {
        qWarning("%s", e.what());
    }
}

bool TRegistry::OpenKey(const QString& key, bool canCreate)
{
    const QStringList path = m->resolve(key);
    if (!m->find(path)) {
        if (!canCreate)
            return false;
        m->make(path);
    }
    m->openPath = path;
    m->readOnly = false;
    return true;
}

bool TRegistry::OpenKeyReadOnly(const QString& key)
{
    const QStringList path = m->resolve(key);
    if (!m->find(path))
        return false;
    m->openPath = path;
    m->readOnly = true;
    return true;
}

void TRegistry::CloseKey()
{
    m->openPath.clear();
    m->readOnly = false;
    m->save();
}

QString TRegistry::CurrentPath() const { return m->openPath.join(u'\\'); }

bool TRegistry::KeyExists(const QString& key) const { return m->find(m->resolve(key)) != nullptr; }

bool TRegistry::DeleteKey(const QString& key)
{
    const QStringList path = m->resolve(key);
    if (path.isEmpty())
        return false;   // the root itself cannot go
    RegistryKey* parent = m->find(path.mid(0, path.size() - 1));
    if (!parent || parent->subKeys.erase(path.last()) == 0)
        return false;
    m->hive->dirty = true;
    return true;
}

bool TRegistry::ValueExists(const QString& name) const
{
    const RegistryKey* key = m->find(m->openPath);
    return key && key->values.count(name) != 0;
}

bool TRegistry::DeleteValue(const QString& name)
{
    RegistryKey* key = m->find(m->openPath);
    if (!key || key->values.erase(name) == 0)
        return false;
    m->hive->dirty = true;
    return true;
}

QStringList TRegistry::GetKeyNames() const
{
    QStringList names;
    if (const RegistryKey* key = m->find(m->openPath)) {
        for (const auto& entry : key->subKeys)
            names += entry.first;
    }
    return names;
}

QStringList TRegistry::GetValueNames() const
{
    QStringList names;
    if (const RegistryKey* key = m->find(m->openPath)) {
        for (const auto& entry : key->values)
            names += entry.first;
    }
    return names;
}

QString TRegistry::ReadString(const QString& name) const
{
    return m->read(name, RegistryValue::Type::String).text;
}

int TRegistry::ReadInteger(const QString& name) const
{
    return int(m->read(name, RegistryValue::Type::Integer).number);
}

bool TRegistry::ReadBool(const QString& name) const { return ReadInteger(name) != 0; }

void TRegistry::WriteString(const QString& name, const QString& value)
{
    RegistryValue v;
    v.type = RegistryValue::Type::String;
    v.text = value;
    m->write(name, v);
}

void TRegistry::WriteInteger(const QString& name, int value)
{
    RegistryValue v;
    v.type = RegistryValue::Type::Integer;
    v.number = quint32(value);
    m->write(name, v);
}

void TRegistry::WriteBool(const QString& name, bool value) { WriteInteger(name, value ? 1 : 0); }

QString TRegistry::HiveFile(RegistryHive hive)
{
    // The XDG base directory rules: an unset, empty or relative value means ~/.config.
    QString config = QFile::decodeName(qgetenv("XDG_CONFIG_HOME"));
    if (!config.startsWith(u'/'))
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/dorvane/") + fileNameOf(hive);
}

QString TRegistry::LoadError(RegistryHive hive) { return sharedHive(hive)->loadError; }

void TRegistry::ReloadAll()
{
    for (auto& hive : g_hives)
        hive.reset();
}
