// File names must survive bytes -> text -> bytes unchanged, whatever the bytes are.
#include "platform/FileNames.h"

#include "QtPrinters.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

TEST(FileNames, validUtf8DecodesAsUtf8)
{
    EXPECT_EQ(DecodeFileName(QByteArray("plain.txt")), QStringLiteral("plain.txt"));
    EXPECT_EQ(DecodeFileName(QByteArray("Grüße € \xF0\x9F\x98\x80")), QStringLiteral("Grüße € \U0001F600"));
    EXPECT_EQ(EncodeFileName(QStringLiteral("Grüße € \U0001F600")), QByteArray("Grüße € \xF0\x9F\x98\x80"));
}

TEST(FileNames, invalidBytesRoundTripInsteadOfBecomingReplacementCharacters)
{
    const QByteArray cases[] = {
        "caf\xe9",             // Latin-1
        "\xc3",                // cut sequence at the end
        "\xc3(",               // lead byte without its follower
        "\xc0\xaf",            // overlong '/'
        "\xed\xb2\x80",        // an encoded surrogate, the escape of 0x80 itself
        "\xf4\x90\x80\x80",    // past U+10FFFF
        "\xf0\x90\x82\x80\xff",   // U+10080 (low surrogate DC80) then an escape
        "\xef\xbf\xbd",        // a real U+FFFD stays one
    };
    for (const QByteArray& bytes : cases) {
        const QString name = DecodeFileName(bytes);
        EXPECT_EQ(EncodeFileName(name), bytes) << bytes.toHex().toStdString();
    }
    EXPECT_EQ(DecodeFileName(QByteArray("caf\xe9")), QStringLiteral("caf") + QChar(0xDCE9));
}

TEST(FileNames, randomBytesRoundTrip)
{
    QRandomGenerator random(1234);
    for (int round = 0; round < 20000; ++round) {
        QByteArray bytes(int(random.bounded(12)) + 1, '\0');
        for (char& c : bytes)
            c = char(random.bounded(2) ? 0x80 + random.bounded(0x80) : random.bounded(0x100));
        ASSERT_EQ(EncodeFileName(DecodeFileName(bytes)), bytes) << bytes.toHex().toStdString();
    }
}

} // namespace
