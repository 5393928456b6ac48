#include "platform/PrivateTempFolder.h"

#include "platform/FileNames.h"

#include <QCoreApplication>
#include <QDir>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Makes one folder level private to the user, or says why it cannot be used.
bool makePrivate(const QString& folder, QString* error)
{
    const QByteArray native = EncodeFileName(folder);
    if (::mkdir(native.constData(), 0700) == 0)
        ::chmod(native.constData(), 0700);   // the umask may have taken owner bits
    else if (errno != EEXIST) {
        if (error)
            *error = QCoreApplication::translate("PrivateTempFolder", "Cannot create %1: %2.")
                         .arg(folder, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    struct stat info {};
    if (::lstat(native.constData(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid()
        || (info.st_mode & 077) != 0) {
        if (error)
            *error = QCoreApplication::translate("PrivateTempFolder",
                                                 "%1 is not a folder that only you can use.")
                         .arg(folder);
        return false;
    }
    return true;
}

} // namespace

QString PrivateTempFolder::Path(QString* error)
{
    const QString folder = QDir::tempPath() + QStringLiteral("/dorvane-") + QString::number(::getuid());
    return makePrivate(folder, error) ? folder : QString();
}

QString PrivateTempFolder::Subfolder(const QString& relative, QString* error)
{
    QString folder = Path(error);
    if (folder.isEmpty())
        return {};
    for (const QString& part : relative.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        folder += QLatin1Char('/') + part;
        if (!makePrivate(folder, error))
            return {};
    }
    return folder;
}
