#include "ZipLibrary.h"

#include "ZipMessageTable.h"

#include <QCoreApplication>
#include <QFileInfo>

QString ZipLibrary::FileName(Kind kind)
{
    return kind == Kind::Zip ? QStringLiteral("ZIPDLL.DLL") : QStringLiteral("UNZDLL.DLL");
}

QString ZipLibrary::Locate(Kind kind, const QString& dllDirectory)
{
    const QString name = FileName(kind);
    if (!dllDirectory.isEmpty() && QFileInfo::exists(dllDirectory + QLatin1Char('/') + name))
        return dllDirectory + QLatin1Char('/') + name;
    const QString beside = QCoreApplication::applicationDirPath() + QLatin1Char('/') + name;
    if (QFileInfo::exists(beside))
        return beside;
    return name;
}

ZipLibrary::Loaded ZipLibrary::Load(Kind kind, const QString& dllDirectory)
{
    using namespace ZipMessageTable;
    const bool zip = kind == Kind::Zip;
    std::unique_ptr<ZipLibrary> library(new ZipLibrary);
    library->m_library.setFileName(Locate(kind, dllDirectory));
    if (!library->m_library.load())
        return {nullptr, zip ? ZipDllNotFound : UnzDllNotFound};
    library->m_exec = library->m_library.resolve(zip ? "ZipDllExec" : "UnzDllExec");
    if (!library->m_exec)
        return {nullptr, zip ? ZipDllExecMissing : UnzDllExecMissing};
    using VersionFunction = int (*)();
    const auto version = reinterpret_cast<VersionFunction>(
        library->m_library.resolve(zip ? "GetZipDllVersion" : "GetUnzDllVersion"));
    if (!version)
        return {nullptr, zip ? ZipDllVersionMissing : UnzDllVersionMissing};
    library->m_version = version();
    return {std::move(library), 0};
}

ZipLibrary::~ZipLibrary()
{
    m_library.unload();
}
