// Shared by the fuzz targets that hand their input to code taking file names.
#pragma once

#include <QDir>
#include <QFile>
#include <QString>
#include <cstdlib>

namespace FuzzScratch {

// A finding: libFuzzer keeps the input that got here.
inline void Check(bool holds)
{
    if (!holds)
        std::abort();
}

// A private folder for the run, on tmpfs when there is one (files are rewritten for
// every input), removed at exit.
inline QString Folder(const char* name)
{
    static QString folder;
    if (folder.isEmpty()) {
        QByteArray pattern = QByteArray("/dev/shm/") + name + "-XXXXXX";
        QByteArray fallback = QByteArray("/tmp/") + name + "-XXXXXX";
        const char* made = ::mkdtemp(pattern.data());
        if (!made)
            made = ::mkdtemp(fallback.data());
        Check(made != nullptr);
        folder = QFile::decodeName(made);
        std::atexit([] { QDir(folder).removeRecursively(); });
    }
    return folder;
}

inline void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    Check(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size());
}

} // namespace FuzzScratch
