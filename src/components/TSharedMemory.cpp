// The single-instance channel: finding a running instance, becoming the first one,
// serving its socket, and the wire format of one message.
#include "components/TSharedMemory.h"

#include "platform/PrivateTempFolder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>
#include <QtEndian>

#include <cerrno>
#include <cstring>
#include <memory>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char kMagic[4] = {'Z', 'P', 'T', '1'};
constexpr qsizetype kHeaderSize = 12;
constexpr char kAck = '\x01';
constexpr int kConnectTimeoutMs = 1000;
constexpr int kAckTimeoutMs = 2000;
constexpr int kStartupLockWaitMs = 3000;
const char* const kCreateError = "TSharedmemory.create handle error";

// Serialises start-up between instances of one user: probe, stale removal and listen
// form one step, so two instances started together cannot both become the first one
// (and one cannot remove the socket the other has just made). Where the lock cannot be
// had in time start-up goes on without it; listen then still refuses a taken address.
class StartupLock {
public:
    explicit StartupLock(const QString& path)
    {
        m_fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (m_fd < 0)
            return;
        QElapsedTimer waited;
        waited.start();
        while (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
            if ((errno != EWOULDBLOCK && errno != EINTR) || waited.elapsed() > kStartupLockWaitMs) {
                release();
                return;
            }
            QThread::msleep(10);
        }
    }
    ~StartupLock() { release(); }
    StartupLock(const StartupLock&) = delete;
    StartupLock& operator=(const StartupLock&) = delete;

private:
    void release()
    {
        if (m_fd >= 0)
            ::close(m_fd); // closing drops the lock
        m_fd = -1;
    }

    int m_fd = -1;
};

quint32 declaredLength(const QByteArray& bytes)
{
    return qFromLittleEndian<quint32>(bytes.constData() + 8);
}

// Whether the bytes so far can still become a valid message, so that a peer talking
// nonsense is dropped at once instead of at the time-out.
bool plausiblePrefix(const QByteArray& bytes, int blockSize)
{
    const qsizetype magicBytes = qMin<qsizetype>(bytes.size(), sizeof kMagic);
    if (std::memcmp(bytes.constData(), kMagic, size_t(magicBytes)) != 0)
        return false;
    return bytes.size() < kHeaderSize || declaredLength(bytes) <= quint32(blockSize);
}

} // namespace

TSharedMemory::TSharedMemory(const QString& blockName, int blockSize, QObject* parent)
    : QObject(parent), m_name(blockName), m_blockSize(qMax(0, blockSize))
{
    if (m_name.isEmpty() || m_name.contains(QLatin1Char('/')))
        throw ESharedMemoryError(kCreateError);
    m_path = socketFolder() + QLatin1Char('/') + m_name;

    StartupLock lock(m_path + QStringLiteral(".lock"));
    const Probe found = probe();
    if (found == Probe::Answered) {
        m_existed = true;
        return;
    }
    // Nobody answers at a socket that is there: its instance crashed.
    if (found == Probe::Absent)
        QLocalServer::removeServer(m_path);
    listen();
}

TSharedMemory::~TSharedMemory()
{
    // Closing the server removes the socket file; only the listener has one to remove.
    if (m_server) {
        m_server->close();
        delete m_server;
    }
}

bool TSharedMemory::Existed() const
{
    return m_existed;
}

int TSharedMemory::BlockSize() const
{
    return m_blockSize;
}

QString TSharedMemory::SocketPath() const
{
    return m_path;
}

void TSharedMemory::SetConnectionTimeout(int msecs)
{
    m_connectionTimeoutMs = qMax(0, msecs);
}

QString TSharedMemory::socketFolder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return QDir::cleanPath(runtime);

    // Without a runtime folder the socket goes into a folder only this user can enter:
    // in the shared temporary folder anyone could plant a socket or replace ours.
    const QString folder = PrivateTempFolder::Path();
    if (folder.isEmpty())
        throw ESharedMemoryError(kCreateError);
    return folder;
}

TSharedMemory::Probe TSharedMemory::probe() const
{
    QLocalSocket socket;
    socket.connectToServer(m_path);
    if (socket.waitForConnected(kConnectTimeoutMs)) {
        socket.disconnectFromServer();
        return Probe::Answered;
    }
    switch (socket.error()) {
    case QLocalSocket::ServerNotFoundError:
    case QLocalSocket::ConnectionRefusedError:
        return Probe::Absent;
    default:
        return Probe::Unknown;
    }
}

void TSharedMemory::listen()
{
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (m_server->listen(m_path)) {
        connect(m_server, &QLocalServer::newConnection, this, &TSharedMemory::acceptConnections);
        return;
    }
    const bool taken = m_server->serverError() == QAbstractSocket::AddressInUseError;
    delete m_server;
    m_server = nullptr;
    // Another instance started at the same moment and won: it is the one to talk to.
    if (taken && probe() == Probe::Answered) {
        m_existed = true;
        return;
    }
    throw ESharedMemoryError(kCreateError);
}

void TSharedMemory::acceptConnections()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection())
        serveConnection(socket);
}

void TSharedMemory::serveConnection(QLocalSocket* socket)
{
    const qsizetype limit = kHeaderSize + m_blockSize;
    auto received = std::make_shared<QByteArray>();
    auto drop = [socket] {
        socket->abort();
        socket->deleteLater();
    };

    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    // A deadline for the whole message, not an idle timer: a peer that dribbles bytes
    // must not hold the connection either.
    QTimer::singleShot(m_connectionTimeoutMs, socket, drop);

    connect(socket, &QLocalSocket::readyRead, this, [this, socket, received, limit, drop] {
        if (socket->state() != QLocalSocket::ConnectedState)
            return; // already answered or dropped
        received->append(socket->read(limit + 1 - received->size()));
        if (received->size() > limit || !plausiblePrefix(*received, m_blockSize)) {
            drop();
            return;
        }
        if (received->size() < kHeaderSize || received->size() < kHeaderSize + qsizetype(declaredLength(*received)))
            return; // the rest is still on its way
        uint32_t message = 0;
        QByteArray payload;
        if (!Decode(*received, m_blockSize, &message, &payload)) {
            drop();
            return;
        }
        // Acknowledge before the program acts on it: a slot may open a modal dialog, and
        // the sender must not give up waiting meanwhile.
        socket->write(&kAck, 1);
        socket->flush();
        socket->disconnectFromServer();
        Q_EMIT MessageReceived(message, payload); // last: a slot may destroy this object
    });

    if (socket->state() != QLocalSocket::ConnectedState)
        socket->deleteLater(); // the peer left before it was accepted
}

bool TSharedMemory::Post(uint32_t message, const QByteArray& payload)
{
    if (payload.size() > m_blockSize)
        return false;
    QLocalSocket socket;
    socket.connectToServer(m_path);
    if (!socket.waitForConnected(kConnectTimeoutMs))
        return false;
    socket.write(Encode(message, payload));
    socket.flush();

    // The listener may live in this very thread (a second object in one process), so the
    // answer is awaited in an event loop rather than by blocking the thread.
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    connect(&socket, &QLocalSocket::readyRead, &loop, &QEventLoop::quit);
    connect(&socket, &QLocalSocket::disconnected, &loop, &QEventLoop::quit);
    connect(&socket, &QLocalSocket::errorOccurred, &loop, &QEventLoop::quit);
    if (socket.bytesAvailable() == 0 && socket.state() == QLocalSocket::ConnectedState) {
        deadline.start(kAckTimeoutMs);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    return socket.read(1) == QByteArray(1, kAck);
}

QByteArray TSharedMemory::Encode(uint32_t message, const QByteArray& payload)
{
    QByteArray bytes(kHeaderSize, Qt::Uninitialized);
    std::memcpy(bytes.data(), kMagic, sizeof kMagic);
    qToLittleEndian<quint32>(message, bytes.data() + 4);
    qToLittleEndian<quint32>(quint32(payload.size()), bytes.data() + 8);
    bytes.append(payload);
    return bytes;
}

bool TSharedMemory::Decode(const QByteArray& bytes, int blockSize, uint32_t* message, QByteArray* payload)
{
    if (blockSize < 0 || bytes.size() < kHeaderSize || std::memcmp(bytes.constData(), kMagic, sizeof kMagic) != 0)
        return false;
    const quint32 length = declaredLength(bytes);
    if (length > quint32(blockSize) || bytes.size() - kHeaderSize != qsizetype(length))
        return false;
    if (message)
        *message = qFromLittleEndian<quint32>(bytes.constData() + 4);
    if (payload)
        *payload = bytes.mid(kHeaderSize);
    return true;
}
