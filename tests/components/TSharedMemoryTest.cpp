// The single-instance channel: finding the first instance, delivering messages to it,
// surviving crashed instances and hostile peers, and the message encoding.
#include "components/TSharedMemory.h"
#include "support/TempDir.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QRandomGenerator>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

constexpr uint32_t kRestore = 0x0403;

QString uniqueName()
{
    return QStringLiteral("ZptBufferTest-") + QString::number(QRandomGenerator::global()->generate64(), 16);
}

// Runs the event loop until the condition holds or the time-out passes.
template <typename Condition>
bool waitUntil(Condition condition, int timeoutMs = 3000)
{
    QElapsedTimer elapsed;
    elapsed.start();
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (condition() || elapsed.hasExpired(timeoutMs))
            loop.quit();
    });
    poll.start(5);
    if (!condition())
        loop.exec();
    return condition();
}

// Every message the listener reported, in order.
struct Inbox {
    explicit Inbox(TSharedMemory& channel)
    {
        QObject::connect(&channel, &TSharedMemory::MessageReceived,
                         [this](uint32_t message, const QByteArray& payload) { items.emplace_back(message, payload); });
    }
    std::vector<std::pair<uint32_t, QByteArray>> items;
};

// A socket left behind by a process that died: bound, never listening, file still there.
void leaveDeadSocket(const QString& path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    const QByteArray native = QFile::encodeName(path);
    ASSERT_LT(size_t(native.size()), sizeof address.sun_path);
    std::memcpy(address.sun_path, native.constData(), size_t(native.size()));
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
}

// Connects a raw peer to the listener, sends the bytes and reports whether the listener
// hung up within the time-out.
bool rawPeerIsDropped(const QString& path, const QByteArray& bytes, int timeoutMs = 3000)
{
    QLocalSocket peer;
    peer.connectToServer(path);
    if (!peer.waitForConnected(1000))
        return false;
    if (!bytes.isEmpty()) {
        peer.write(bytes);
        peer.flush();
    }
    return waitUntil([&] { return peer.state() == QLocalSocket::UnconnectedState; }, timeoutMs);
}

// Sets or clears an environment variable for one test and restores it afterwards.
class EnvOverride {
public:
    EnvOverride(const char* name, const std::optional<QByteArray>& value) : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_old = QByteArray(old);
        if (value)
            ::setenv(name, value->constData(), 1);
        else
            ::unsetenv(name);
    }
    ~EnvOverride()
    {
        if (m_old)
            ::setenv(m_name, m_old->constData(), 1);
        else
            ::unsetenv(m_name);
    }

private:
    const char* m_name;
    std::optional<QByteArray> m_old;
};

} // namespace

// --- finding the first instance and talking to it ---------------------------------

TEST(TSharedMemoryInstances, firstInstanceIsNotTakenForASecond)
{
    TSharedMemory first(uniqueName());
    EXPECT_FALSE(first.Existed());
    EXPECT_TRUE(QFileInfo::exists(first.SocketPath()));
}

TEST(TSharedMemoryInstances, secondInstanceDeliversMessageAndPayloadToFirst)
{
    const QString name = uniqueName();
    TSharedMemory first(name);
    Inbox inbox(first);
    TSharedMemory second(name);
    ASSERT_TRUE(second.Existed());

    QByteArray payload(second.BlockSize(), '\0');
    payload.replace(4, 7, "ab\0cd\xff", 7); // binary bytes, a full block
    EXPECT_TRUE(second.Post(kRestore, payload));
    ASSERT_EQ(inbox.items.size(), 1u);
    EXPECT_EQ(inbox.items[0].first, kRestore);
    EXPECT_EQ(inbox.items[0].second, payload);
}

TEST(TSharedMemoryInstances, listenerKeepsServingMessagesInOrder)
{
    const QString name = uniqueName();
    TSharedMemory first(name);
    Inbox inbox(first);
    TSharedMemory second(name);
    EXPECT_TRUE(second.Post(1));
    EXPECT_TRUE(second.Post(2, "two"));
    EXPECT_TRUE(second.Post(3, "three"));
    ASSERT_EQ(inbox.items.size(), 3u);
    EXPECT_EQ(inbox.items[0], std::make_pair(uint32_t(1), QByteArray()));
    EXPECT_EQ(inbox.items[2], std::make_pair(uint32_t(3), QByteArray("three")));
}

TEST(TSharedMemoryInstances, staleSocketOfCrashedInstanceIsReplaced)
{
    const QString name = uniqueName();
    const QString path = TSharedMemory(name).SocketPath(); // its file goes with it
    ASSERT_FALSE(QFileInfo::exists(path));
    leaveDeadSocket(path);
    ASSERT_TRUE(QFileInfo::exists(path));

    TSharedMemory first(name);
    EXPECT_FALSE(first.Existed());
    Inbox inbox(first);
    TSharedMemory second(name);
    ASSERT_TRUE(second.Existed());
    EXPECT_TRUE(second.Post(kRestore, "after crash"));
    ASSERT_EQ(inbox.items.size(), 1u);
    EXPECT_EQ(inbox.items[0].second, QByteArray("after crash"));
}

TEST(TSharedMemoryInstances, socketFileIsOwnerOnly)
{
    TSharedMemory first(uniqueName());
    struct stat info {};
    ASSERT_EQ(::lstat(QFile::encodeName(first.SocketPath()).constData(), &info), 0);
    EXPECT_TRUE(S_ISSOCK(info.st_mode));
    EXPECT_EQ(info.st_mode & 077, 0u);
}

TEST(TSharedMemoryInstances, onlyTheListenerRemovesTheSocket)
{
    const QString name = uniqueName();
    auto first = std::make_unique<TSharedMemory>(name);
    const QString path = first->SocketPath();
    auto second = std::make_unique<TSharedMemory>(name);
    ASSERT_TRUE(second->Existed());
    second.reset();
    EXPECT_TRUE(QFileInfo::exists(path));
    EXPECT_TRUE(TSharedMemory(name).Existed());

    first.reset();
    EXPECT_FALSE(QFileInfo::exists(path));
}

TEST(TSharedMemoryInstances, postWithNobodyListeningFails)
{
    const QString name = uniqueName();
    auto first = std::make_unique<TSharedMemory>(name);
    TSharedMemory second(name);
    first.reset();
    EXPECT_FALSE(second.Post(kRestore, "lost"));
}

TEST(TSharedMemoryInstances, oversizedPayloadIsRefusedBeforeSending)
{
    const QString name = uniqueName();
    TSharedMemory first(name, 16);
    Inbox inbox(first);
    TSharedMemory second(name, 16);
    EXPECT_FALSE(second.Post(kRestore, QByteArray(17, 'x')));
    EXPECT_TRUE(second.Post(kRestore, QByteArray(16, 'x')));
    EXPECT_EQ(inbox.items.size(), 1u);
}

// --- peers that do not follow the protocol --------------------------------------

class TSharedMemoryHostilePeer : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_channel = std::make_unique<TSharedMemory>(uniqueName(), 64);
        m_inbox = std::make_unique<Inbox>(*m_channel);
    }

    // The listener must still deliver a proper message after whatever a test sent.
    void expectStillServing()
    {
        TSharedMemory sender(m_channel->SocketPath().section(QLatin1Char('/'), -1), 64);
        ASSERT_TRUE(sender.Existed());
        EXPECT_TRUE(sender.Post(7, "ok"));
        ASSERT_EQ(m_inbox->items.size(), 1u);
        EXPECT_EQ(m_inbox->items[0].first, 7u);
    }

    std::unique_ptr<TSharedMemory> m_channel;
    std::unique_ptr<Inbox> m_inbox;
};

TEST_F(TSharedMemoryHostilePeer, garbageIsDroppedWithoutMessage)
{
    EXPECT_TRUE(rawPeerIsDropped(m_channel->SocketPath(), "GET / HTTP/1.0\r\n\r\n"));
    EXPECT_TRUE(m_inbox->items.empty());
    expectStillServing();
}

TEST_F(TSharedMemoryHostilePeer, lengthAboveBlockSizeIsDroppedBeforePayload)
{
    QByteArray header = TSharedMemory::Encode(kRestore, QByteArray(65, 'x')).left(12);
    EXPECT_TRUE(rawPeerIsDropped(m_channel->SocketPath(), header));
    EXPECT_TRUE(m_inbox->items.empty());
    expectStillServing();
}

TEST_F(TSharedMemoryHostilePeer, bytesBeyondTheMessageAreDropped)
{
    const QByteArray whole = TSharedMemory::Encode(kRestore, "abc");
    EXPECT_TRUE(rawPeerIsDropped(m_channel->SocketPath(), whole + "!"));
    EXPECT_TRUE(rawPeerIsDropped(m_channel->SocketPath(), whole + QByteArray(100000, 'y')));
    EXPECT_TRUE(m_inbox->items.empty());
}

TEST_F(TSharedMemoryHostilePeer, silentOrStuckPeerIsDroppedAfterTimeout)
{
    m_channel->SetConnectionTimeout(200);
    EXPECT_TRUE(rawPeerIsDropped(m_channel->SocketPath(), {}));
    EXPECT_TRUE(rawPeerIsDropped(m_channel->SocketPath(), TSharedMemory::Encode(kRestore, "abcdef").left(15)));
    expectStillServing();
}

TEST_F(TSharedMemoryHostilePeer, messageSplitAcrossWritesIsAssembled)
{
    const QByteArray whole = TSharedMemory::Encode(kRestore, "split payload");
    QLocalSocket peer;
    peer.connectToServer(m_channel->SocketPath());
    ASSERT_TRUE(peer.waitForConnected(1000));
    for (char byte : whole) {
        peer.write(&byte, 1);
        peer.flush();
        waitUntil([] { return false; }, 2);
    }
    ASSERT_TRUE(waitUntil([&] { return !m_inbox->items.empty(); }));
    EXPECT_EQ(m_inbox->items[0].second, QByteArray("split payload"));
    EXPECT_TRUE(waitUntil([&] { return peer.bytesAvailable() > 0; }));
    EXPECT_EQ(peer.readAll(), QByteArray("\x01"));
}

// --- the message encoding ----------------------------------------------------------

TEST(TSharedMemoryWire, roundTripKeepsMessageAndPayload)
{
    for (const auto& [message, payload] : std::vector<std::pair<uint32_t, QByteArray>> {
             {0, {}}, {0xFFFFFFFFu, QByteArray("\0\1\2", 3)}, {kRestore, QByteArray(4096, '\xee')}}) {
        uint32_t decodedMessage = 1;
        QByteArray decodedPayload("stale");
        ASSERT_TRUE(TSharedMemory::Decode(TSharedMemory::Encode(message, payload), 4096, &decodedMessage, &decodedPayload));
        EXPECT_EQ(decodedMessage, message);
        EXPECT_EQ(decodedPayload, payload);
    }
}

TEST(TSharedMemoryWire, numbersAreLittleEndian)
{
    EXPECT_EQ(TSharedMemory::Encode(0x01020304, "xy"), QByteArray("ZPT1\x04\x03\x02\x01\x02\0\0\0xy", 14));
}

TEST(TSharedMemoryWire, everyTruncationIsRejected)
{
    const QByteArray whole = TSharedMemory::Encode(kRestore, "payload");
    for (qsizetype size = 0; size < whole.size(); ++size)
        EXPECT_FALSE(TSharedMemory::Decode(whole.left(size), 4096, nullptr, nullptr)) << size;
}

TEST(TSharedMemoryWire, wrongMagicIsRejected)
{
    QByteArray bytes = TSharedMemory::Encode(kRestore, "p");
    bytes[3] = '2';
    EXPECT_FALSE(TSharedMemory::Decode(bytes, 4096, nullptr, nullptr));
}

TEST(TSharedMemoryWire, lengthNotMatchingPayloadIsRejected)
{
    QByteArray longer = TSharedMemory::Encode(kRestore, "abc") + "d";
    EXPECT_FALSE(TSharedMemory::Decode(longer, 4096, nullptr, nullptr));
    QByteArray claimsHuge = TSharedMemory::Encode(kRestore, "abc");
    claimsHuge[11] = '\x80'; // 2 GiB and a bit, wraps a careless 32-bit sum
    EXPECT_FALSE(TSharedMemory::Decode(claimsHuge, 4096, nullptr, nullptr));
}

TEST(TSharedMemoryWire, payloadAboveBlockSizeIsRejected)
{
    const QByteArray bytes = TSharedMemory::Encode(kRestore, QByteArray(17, 'x'));
    EXPECT_FALSE(TSharedMemory::Decode(bytes, 16, nullptr, nullptr));
    EXPECT_TRUE(TSharedMemory::Decode(bytes, 17, nullptr, nullptr));
    EXPECT_FALSE(TSharedMemory::Decode(bytes, -1, nullptr, nullptr));
}

// --- where the socket lives without a runtime folder -------------------------------

TEST(TSharedMemoryFolder, withoutRuntimeFolderSocketGoesIntoPrivateFolder)
{
    TempDir temp;
    EnvOverride runtime("XDG_RUNTIME_DIR", std::nullopt);
    EnvOverride tmp("TMPDIR", QFile::encodeName(temp.path()));

    TSharedMemory first(uniqueName());
    EXPECT_FALSE(first.Existed());
    const QString folder = temp.filePath(QStringLiteral("dorvane-") + QString::number(::getuid()));
    EXPECT_EQ(QFileInfo(first.SocketPath()).absolutePath(), folder);
    struct stat info {};
    ASSERT_EQ(::lstat(QFile::encodeName(folder).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0700u);
}

TEST(TSharedMemoryFolder, fallbackFolderOthersCanEnterIsRefused)
{
    TempDir temp;
    const QString folder = temp.makeDir(QStringLiteral("dorvane-") + QString::number(::getuid()));
    ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0755), 0);
    EnvOverride runtime("XDG_RUNTIME_DIR", std::nullopt);
    EnvOverride tmp("TMPDIR", QFile::encodeName(temp.path()));

    EXPECT_THROW({ TSharedMemory channel(uniqueName()); }, ESharedMemoryError);
    EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/ZptBuffer")));
}
