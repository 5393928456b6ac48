// The hive file format on its own: files written by regedit itself, hex forms and
// hostile input.
#include "platform/RegistryHiveFile.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

const QString kRoot = QStringLiteral("HKEY_CURRENT_USER");

const RegistryKey* child(const RegistryKey& key, const char* name)
{
    const auto it = key.subKeys.find(QString::fromLatin1(name));
    return it == key.subKeys.end() ? nullptr : it->second.get();
}

TEST(RegistryHiveFile, readsUtf16FilesAsRegeditExportsThem)
{
    const QString text = QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n"
                                        "[HKEY_CURRENT_USER\\Soft]\r\n\"Name\"=\"Grüße\"\r\n");
    QByteArray bytes("\xFF\xFE");
    for (QChar c : text) {
        bytes += char(c.unicode() & 0xFF);
        bytes += char(c.unicode() >> 8);
    }
    const RegistryKey root = ParseHiveText(bytes, kRoot);
    const RegistryKey* soft = child(root, "soft");
    ASSERT_NE(soft, nullptr);
    EXPECT_EQ(soft->values.at(QStringLiteral("name")).text, QStringLiteral("Grüße"));
}

TEST(RegistryHiveFile, hexStringsAndDwordsContinueOverLines)
{
    const RegistryKey root = ParseHiveText("[HKEY_CURRENT_USER\\K]\n"
                                           "\"Str\"=hex(2):41,00,\\\n"
                                           "  42,00,00,00\n"
                                           "\"Dw\"=hex(4):01,02,00,80\n"
                                           "\"BadDw\"=hex(4):01,02\n"
                                           "\"Path\"=\"C:\\\\\"\n"
                                           "\"Next\"=\"n\"\n",
                                           kRoot);
    const RegistryKey* key = child(root, "K");
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->values.at(QStringLiteral("Str")).text, QStringLiteral("AB"));
    EXPECT_EQ(key->values.at(QStringLiteral("Dw")).number, 0x80000201u);
    EXPECT_EQ(key->values.count(QStringLiteral("BadDw")), 0u);
    // A string ending in a backslash is no continuation.
    EXPECT_EQ(key->values.at(QStringLiteral("Path")).text, QStringLiteral("C:\\"));
    EXPECT_EQ(key->values.at(QStringLiteral("Next")).text, QStringLiteral("n"));
}

TEST(RegistryHiveFile, writingWhatWasReadIsStable)
{
    const QByteArray input = "[HKEY_CURRENT_USER\\b\\c]\n\"x\\y\"=\"q\\\"\\z\"\n"
                             "[HKEY_CURRENT_USER\\A]\n@=dword:ffffffff\n\"ctl\"=hex(1):0a,00,0d,d8\n";
    const QByteArray once = WriteHiveText(ParseHiveText(input, kRoot), kRoot);
    const QByteArray twice = WriteHiveText(ParseHiveText(once, kRoot), kRoot);
    EXPECT_EQ(once, twice);
    EXPECT_TRUE(once.startsWith("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n"));
}

TEST(RegistryHiveFile, tooDeepKeysAreDroppedNotRecursedInto)
{
    QByteArray header = "[HKEY_CURRENT_USER";
    for (int i = 0; i < 100000; ++i)
        header += "\\k";
    const RegistryKey root = ParseHiveText(header + "]\n\"v\"=\"x\"\n[HKEY_CURRENT_USER\\ok]\n", kRoot);
    EXPECT_EQ(root.subKeys.size(), 1u);
    EXPECT_NE(child(root, "ok"), nullptr);
}

} // namespace
