// The settings tree of one hive and its file format, the registry editor's export:
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_CURRENT_USER\Software\Molvek\zpt\cfg]
//   "FontName"="Fixedsys"
//   "QuitType"=dword:00000002
//
// The text is UTF-8 in the same lossless form as file names (FileNames.h): a byte
// that is not part of valid UTF-8 is read as the surrogate escape U+DC80 + (byte -
// 0x80) and written back as that byte. So a key or value holding a folder named in
// another encoding, or a byte edited in by hand, survives a save unchanged, and a file
// of plain UTF-8 reads as it always did. A string that this form cannot carry (control
// characters, unpaired surrogates that are no escapes, escapes that would join into a
// valid character) is written as hex(1), its UTF-16 units.
//
// Kept apart from TRegistry so that tests and the fuzzer can feed it bytes directly.
#pragma once

#include <QByteArray>
#include <QString>
#include <map>
#include <memory>

// Registry names compare without regard to ASCII case and enumerate in that order,
// as the Windows registry lists them; the map key keeps the first spelling stored.
struct RegistryNameLess {
    bool operator()(const QString& a, const QString& b) const;
};

struct RegistryValue {
    enum class Type { String, Integer };
    Type type = Type::String;
    QString text;          // Type::String
    quint32 number = 0;    // Type::Integer (REG_DWORD)

    bool operator==(const RegistryValue& other) const;
};

struct RegistryKey {
    std::map<QString, RegistryValue, RegistryNameLess> values;   // "" is the default value
    std::map<QString, std::unique_ptr<RegistryKey>, RegistryNameLess> subKeys;
};

// Deeper keys than this are dropped when reading; the Windows registry has the same
// limit, and it keeps the recursive writer's stack bounded on hostile files.
constexpr int MaxRegistryKeyDepth = 512;

// Reads the keys under rootName ("HKEY_CURRENT_USER") from a hive file's bytes.
// Tolerant: LF or CR LF, UTF-8 (other bytes kept as escapes, see above) or UTF-16LE
// with byte-order mark, unknown and malformed lines skipped, keys of other roots
// ignored. Strings (also hex(1)/hex(2)) and DWORDs (also hex(4)) are kept; other value
// types are dropped.
RegistryKey ParseHiveText(const QByteArray& text, const QString& rootName);

// Writes the tree as UTF-8 (escapes back to their bytes) with CR LF line ends. Every
// key is written, empty ones included, so that a key without values survives a
// restart. Strings that the quoted form cannot carry are written as hex(1).
QByteArray WriteHiveText(const RegistryKey& root, const QString& rootName);
