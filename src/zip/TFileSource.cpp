#include "zip/TFileSource.h"

#include "core/PosixIo.h"
#include "platform/FileNames.h"
#include "platform/PrivateTempFolder.h"
#include "zip/EFileSourceError.h"
#include "zip/TCompressStream.h"

#include <QCoreApplication>
#include <QFile>
#include <QTime>
#include <QtEndian>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Enough for any number of components loading in the same second; a folder where
// every one of these names is taken is not worth searching further.
constexpr int kMaxNameTries = 100000;

QString tr(const char* text)
{
    return QCoreApplication::translate("TFileSource", text);
}

QString systemError(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

bool exists(const QString& path)
{
    struct stat info {};
    return !path.isEmpty() && ::stat(EncodeFileName(path).constData(), &info) == 0;
}

// The extension of the path's last name, with its dot; "" when that name has none.
QString extensionOf(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    return dot > slash ? path.mid(dot) : QString();
}

// Leaves errno telling why when it fails; a write that made no progress counts as a
// full disk.
bool fillAndClose(int fd, const QByteArray& bytes)
{
    errno = ENOSPC;
    const bool written = WriteAll(fd, bytes);
    const int code = errno;
    const bool closed = ::close(fd) == 0;
    if (!written)
        errno = code;
    return written && closed;
}

} // namespace

TFileSource::TFileSource(const QString& name)
    : m_name(name)
{
}

TFileSource::~TFileSource()
{
    deleteOwnFile();
}

void TFileSource::SetCompress(bool compress)
{
    m_compress = compress;
    if (compress)
        m_store = true;
}

QString TFileSource::FileName() const
{
    return exists(m_fileName) ? m_fileName : QString();
}

void TFileSource::SetFileName(const QString& path)
{
    deleteOwnFile();
    m_fileName = path;
    Extension = extensionOf(path);
}

QByteArray TFileSource::FileData() const
{
    const QByteArray bytes = readFile(m_fileName);
    if (m_compress)
        return TCompressStream::Compress(bytes);
    if (bytes.size() > qsizetype(std::numeric_limits<quint32>::max()))
        throw EFileSourceError(tr("%1 cannot store file: %2 (file is too large)").arg(m_name, m_fileName));
    QByteArray data(4, '\0');
    qToLittleEndian(quint32(bytes.size()), data.data());
    return data + bytes;
}

void TFileSource::Load(const QByteArray& fileData)
{
    const QByteArray bytes = heldBytes(fileData);
    deleteOwnFile();
    m_fileName.clear();   // a failed write leaves no file held
    m_fileName = writeTemporaryFile(bytes);
    m_ownsFile = true;
}

QByteArray TFileSource::heldBytes(const QByteArray& fileData) const
{
    if (m_compress)
        return TCompressStream::Decompress(fileData);
    const quint32 length = fileData.size() >= 4 ? qFromLittleEndian<quint32>(fileData.constData()) : 0;
    if (fileData.size() < 4 || length > quint64(fileData.size() - 4))
        throw EFileSourceError(tr("%1 cannot load its file: the data is damaged.").arg(m_name));
    return fileData.mid(4, length);
}

QByteArray TFileSource::readFile(const QString& path) const
{
    if (!exists(path))
        throw EFileSourceError(tr("%1 cannot store file: %2 (file is missing)").arg(m_name, path));
    QFile file;
    const int fd = ::open(EncodeFileName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        const int code = errno;
        if (fd >= 0)
            ::close(fd);
        throw EFileSourceError(tr("%1 cannot store file: %2 (%3)").arg(m_name, path, systemError(code)));
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw EFileSourceError(tr("%1 cannot store file: %2 (%3)").arg(m_name, path, file.errorString()));
    return bytes;
}

// "~fs", the current second and the first free number: short names that differ
// between components loading at once. O_EXCL takes the name in the same step as
// finding it free, so nothing else can slip a file or a link in between.
QString TFileSource::writeTemporaryFile(const QByteArray& bytes) const
{
    QString error;
    const QString folder = PrivateTempFolder::Path(&error);
    if (folder.isEmpty())
        throw EFileSourceError(error);
    const QString stem = folder + QStringLiteral("/~fs") + QString::number(QTime::currentTime().second());
    for (int number = 0; number < kMaxNameTries; ++number) {
        const QString path = stem + QString::number(number) + Extension;
        const QByteArray native = EncodeFileName(path);
        const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 && errno == EEXIST)
            continue;
        if (fd < 0)
            throw cannotWrite(path, errno);
        if (!fillAndClose(fd, bytes)) {
            const int code = errno;
            ::unlink(native.constData());
            throw cannotWrite(path, code);
        }
        return path;
    }
    throw cannotWrite(stem, EEXIST);
}

EFileSourceError TFileSource::cannotWrite(const QString& path, int code) const
{
    return EFileSourceError(tr("%1 cannot write the file %2: %3").arg(m_name, path, systemError(code)));
}

void TFileSource::deleteOwnFile()
{
    if (m_ownsFile)
        ::unlink(EncodeFileName(m_fileName).constData());
    m_ownsFile = false;
}
