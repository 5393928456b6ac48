// Feeds arbitrary bytes to the settings-file parser. Besides not crashing, what the
// parser reads must come back unchanged from the text written for it: the same keys,
// names and values, or settings would drift or be lost with each save. Most random
// input is not UTF-8, and such bytes must survive as they came; the input is also
// placed into a well-formed key, name and value, where they are read for certain.
// The parser and the name encoding are compiled into this file rather than taken from
// dv_platform, so that they carry the fuzzer's coverage and sanitizer instrumentation.
#include "platform/FileNames.cpp"
#include "platform/RegistryHiveFile.cpp"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

const QString kRoot = QStringLiteral("HKEY_CURRENT_USER");

bool sameKey(const RegistryKey& a, const RegistryKey& b)
{
    if (a.values.size() != b.values.size() || a.subKeys.size() != b.subKeys.size())
        return false;
    for (auto i = a.values.begin(), j = b.values.begin(); i != a.values.end(); ++i, ++j) {
        if (i->first != j->first || !(i->second == j->second))
            return false;
    }
    for (auto i = a.subKeys.begin(), j = b.subKeys.begin(); i != a.subKeys.end(); ++i, ++j) {
        if (i->first != j->first || !sameKey(*i->second, *j->second))
            return false;
    }
    return true;
}

// Parses, writes and parses again; aborts when the second reading differs.
RegistryKey roundTrip(const QByteArray& bytes)
{
    RegistryKey first = ParseHiveText(bytes, kRoot);
    if (!sameKey(first, ParseHiveText(WriteHiveText(first, kRoot), kRoot)))
        std::abort();
    return first;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    roundTrip(input);

    // The bytes a name or a quoted string cannot hold as they are go; the rest, valid
    // UTF-8 or not, must read back byte for byte.
    QByteArray bytes = input;
    bytes.removeIf([](char c) { return c == '\n' || c == '\r' || c == '"' || c == '\\' || c == ']'; });
    const RegistryKey root =
        roundTrip("[HKEY_CURRENT_USER\\K" + bytes + "]\r\n\"" + bytes + "\"=\"" + bytes + "\"\r\n");
    if (root.subKeys.size() != 1 || EncodeFileName(root.subKeys.begin()->first) != "K" + bytes)
        std::abort();
    const RegistryKey& key = *root.subKeys.begin()->second;
    if (key.values.size() != 1 || EncodeFileName(key.values.begin()->first) != bytes
        || EncodeFileName(key.values.begin()->second.text) != bytes)
        std::abort();
    return 0;
}
