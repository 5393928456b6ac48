// Path spelling shared by the parts of the file-operation engine: the engine works on
// the bytes the file system holds, the person reads them as text.
#pragma once

#include "platform/FileNames.h"

#include <QString>
#include <string>

namespace FileOpPaths {

// A path as the person reads it.
inline QString shown(const std::string& path) { return DecodeFileName(path.data(), qsizetype(path.size())); }

// A path in the quotes the error texts put around it.
inline QString quoted(const std::string& path) { return QLatin1Char('"') + shown(path) + QLatin1Char('"'); }

// A path as the file system takes it, without trailing slashes ("/" stays).
inline std::string cleanPath(const QString& path)
{
    std::string bytes = EncodeFileName(path).toStdString();
    while (bytes.size() > 1 && bytes.back() == '/')
        bytes.pop_back();
    return bytes;
}

// The folder that holds `path`: "." for a bare name, "/" for an entry of the root.
inline std::string parentOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

} // namespace FileOpPaths
