// The settings store: keys, sub-keys and typed values (string, 32-bit integer) in one
// file per hive under $XDG_CONFIG_HOME/dorvane/ (HKCU.reg, HKLM.reg, HKCR.reg), in the
// registry editor's export format. Files are read tolerantly and written atomically.
#pragma once

#include <QString>
#include <memory>
#include <QStringList>
#include <stdexcept>

// Raised for a value read as the wrong type and for a hive file that cannot be written.
// what() carries the user-visible text.
class ERegistryException : public std::runtime_error {
public:
    explicit ERegistryException(const QString& text);
    QString text() const;
};

enum class RegistryHive { CurrentUser, LocalMachine, ClassesRoot };

// Delphi-style access object: open a key, read or write its values, close it.
// Key paths use '\' between names and are relative to the hive's root
// ("Software\Molvek\zpt\cfg"); names compare without regard to ASCII case.
// Each change is written to the hive file when the key is closed (or the object
// destroyed); open other keys before closing to gather many changes into one write.
// A hive whose file exists but cannot be read is never written (see LoadError).
// UI thread only.
class TRegistry {
public:
    explicit TRegistry(RegistryHive hive = RegistryHive::CurrentUser);
    ~TRegistry();
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    // Opens a key; with canCreate a missing key (and its parents) is created.
    // Returns false when the key does not exist and is not created.
    bool OpenKey(const QString& key, bool canCreate);
    bool OpenKeyReadOnly(const QString& key);
    void CloseKey();
    QString CurrentPath() const;

    bool KeyExists(const QString& key) const;      // absolute, or relative to the open key
    bool DeleteKey(const QString& key);            // relative to the open key (or absolute)
    bool ValueExists(const QString& name) const;
    bool DeleteValue(const QString& name);

    // Sub-keys and values of the open key, in case-insensitive name order.
    QStringList GetKeyNames() const;
    QStringList GetValueNames() const;

    // Reading a missing value or a value of the other type raises ERegistryException.
    QString ReadString(const QString& name) const;
    int ReadInteger(const QString& name) const;
    bool ReadBool(const QString& name) const;       // integer, true when not 0

    void WriteString(const QString& name, const QString& value);
    void WriteInteger(const QString& name, int value);
    void WriteBool(const QString& name, bool value); // integer 0 or 1

    // Path of a hive's file.
    static QString HiveFile(RegistryHive hive);
    // Why the hive's file, which exists, could not be read, as a text for the user;
    // empty when it was read or does not exist. Such a hive starts empty and keeps its
    // changes in memory only, so the file stays as it is for the user to repair.
    static QString LoadError(RegistryHive hive);
    // Forgets every hive loaded in this process, so the next access reads the files
    // again (tests use it to simulate a restart).
    static void ReloadAll();

private:
    struct Impl;
    std::unique_ptr<Impl> m;
};
