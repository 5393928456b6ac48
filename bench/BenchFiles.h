// Files for the file-operation benchmarks: incompressible data, trees of small files,
// and an observer that answers nothing so that the engine alone is timed.
#pragma once

#include "platform/FileOperationEngine.h"

#include <QByteArray>
#include <QDir>
#include <QString>
#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace bench {

// Answers nothing and never cancels: the engine alone is timed.
class SilentObserver : public FileOpObserver {
public:
    void Progress(const FileOpProgress&) override {}
    bool CancelRequested() override { return false; }
    OverwriteChoice AskOverwrite(const FileOpConflict&) override { return OverwriteChoice::Cancel; }
    ErrorChoice AskError(const QString& text) override
    {
        std::fprintf(stderr, "error: %s\n", qPrintable(text));
        return ErrorChoice::Cancel;
    }
    bool Confirm(const QString&) override { return false; }
    void Inform(const QString& text) override { std::fprintf(stderr, "refused: %s\n", qPrintable(text)); }
};

inline bool writeFile(const QByteArray& path, const QByteArray& block, int64_t size)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return false;
    bool ok = true;
    for (int64_t done = 0; ok && done < size;) {
        const size_t n = size_t(std::min<int64_t>(block.size(), size - done));
        ok = ::write(fd, block.constData(), n) == ssize_t(n);
        done += int64_t(n);
    }
    return ::close(fd) == 0 && ok;
}

// Data that no file system can store as holes or compress away.
inline QByteArray noise(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    uint64_t x = 0x9E3779B97F4A7C15ull;
    for (int i = 0; i < size; ++i) {
        x ^= x << 13;
        x ^= x >> 7;
        x ^= x << 17;
        bytes[i] = char(x);
    }
    return bytes;
}

inline bool makeTree(const QString& root, int files)
{
    const QByteArray block = noise(4096);
    constexpr int kPerFolder = 1000;
    for (int i = 0; i < files; ++i) {
        const QString folder = root + QStringLiteral("/d%1").arg(i / kPerFolder, 3, 10, QLatin1Char('0'));
        if (i % kPerFolder == 0 && !QDir().mkpath(folder))
            return false;
        const QByteArray path = QFile::encodeName(folder + QStringLiteral("/file_%1.txt").arg(i));
        if (!writeFile(path, block.left(200 + (i * 37) % 3800), 200 + (i * 37) % 3800))
            return false;
    }
    return true;
}

} // namespace bench
