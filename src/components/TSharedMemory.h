// The single-instance channel: a per-user local socket named after the block
// ("ZptBuffer") in $XDG_RUNTIME_DIR, owner-only. The first instance listens; a later
// one finds it answering, sends one message and exits. A socket left behind by an
// instance that crashed answers nobody and is replaced.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <cstdint>
#include <stdexcept>

class QLocalServer;
class QLocalSocket;

// Raised when the channel can be neither reached nor created; what() is the
// user-visible text.
class ESharedMemoryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TSharedMemory : public QObject {
    Q_OBJECT
public:
    // Opens the channel: connects to a running instance, or becomes the first one.
    // Raises ESharedMemoryError ("TSharedmemory.create handle error") when neither works.
    explicit TSharedMemory(const QString& blockName = QStringLiteral("ZptBuffer"),
                           int blockSize = 4096, QObject* parent = nullptr);
    ~TSharedMemory() override;

    // True when another instance already held the block (this one must signal and exit).
    bool Existed() const;
    int BlockSize() const;

    // Sends one message (a window message number and the block bytes it refers to) to
    // the running instance and waits until it was delivered. False when nobody answers.
    bool Post(uint32_t message, const QByteArray& payload = {});

    // Wire format of one message: magic "ZPT1", 32-bit message, 32-bit payload length
    // (at most the block size), payload. Decode returns false for anything malformed.
    static QByteArray Encode(uint32_t message, const QByteArray& payload);
    static bool Decode(const QByteArray& bytes, int blockSize, uint32_t* message, QByteArray* payload);

    // Full path of the socket.
    QString SocketPath() const;

    // How long an accepted peer may take to deliver its whole message before it is
    // dropped (5 s unless changed), so a stuck peer cannot hold a connection forever.
    void SetConnectionTimeout(int msecs);

Q_SIGNALS:
    // Emitted on the UI thread in the first instance for every message received.
    void MessageReceived(uint32_t message, const QByteArray& payload);

private:
    enum class Probe { Answered, Absent, Unknown };

    void listen();
    void acceptConnections();
    void serveConnection(QLocalSocket* socket);
    Probe probe() const;
    static QString socketFolder();

    QString m_name;
    QString m_path;
    int m_blockSize;
    int m_connectionTimeoutMs = 5000;
    bool m_existed = false;
    QLocalServer* m_server = nullptr;
};
