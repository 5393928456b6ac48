#include "viewers/image/PictureFile.h"

#include "platform/FileNames.h"
#include "viewers/image/EImageError.h"

#include <QDir>
#include <cstring>

UntrustedFile PictureFile::Open(const QString& path, uint64_t maxSize,
                                std::initializer_list<std::string_view> signatures)
{
    UntrustedFile file = OpenUnlessUnopenable(path, maxSize, signatures);
    if (!file.Ok())
        throw EImageError(tr("Cannot read the file %1: %2").arg(QDir::toNativeSeparators(path), Reason(file, maxSize)));
    return file;
}

UntrustedFile PictureFile::OpenUnlessUnopenable(const QString& path, uint64_t maxSize,
                                                std::initializer_list<std::string_view> signatures)
{
    UntrustedFile file = UntrustedFile::Open(EncodeFileName(path).toStdString(), maxSize);
    if (signatures.size() > 0)
        file.ExpectSignature(signatures);
    const UntrustedFile::Status status = file.GetStatus();
    if (status == UntrustedFile::Status::NotRegular || status == UntrustedFile::Status::TooLarge
        || status == UntrustedFile::Status::WrongSignature)
        throw EImageError(tr("Cannot read the file %1: %2").arg(QDir::toNativeSeparators(path), Reason(file, maxSize)));
    return file;
}

QString PictureFile::Reason(const UntrustedFile& file, uint64_t maxSize)
{
    switch (file.GetStatus()) {
    case UntrustedFile::Status::Ok: return {};
    case UntrustedFile::Status::NotRegular: return tr("it is not a regular file.");
    case UntrustedFile::Status::TooLarge:
        return tr("it is larger than the %1 MiB a picture may have.").arg(maxSize >> 20);
    case UntrustedFile::Status::WrongSignature: return tr("it does not start as a picture of its kind.");
    case UntrustedFile::Status::Missing:
    case UntrustedFile::Status::Failed: break;
    }
    return QString::fromLocal8Bit(std::strerror(file.Error()));
}
