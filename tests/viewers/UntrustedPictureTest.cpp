// Pictures whose names promise more than the files hold: a FIFO or a device named like
// a picture fails at once instead of hanging the window, and a huge sparse GIF is
// refused without being read into memory.
#include "viewers/image/EImageError.h"
#include "viewers/image/JpegLoader.h"
#include "viewers/image/TEnhImage.h"
#include "viewers/image/TGifBitmap.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QFile>
#include <chrono>
#include <condition_variable>
#include <fcntl.h>
#include <functional>
#include <mutex>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

// Runs `load` and tells whether it waited on `fifo`. A load that does wait is let go by
// a writer opening the FIFO after a while, so that a regression fails the test instead
// of hanging the suite.
bool waitedOn(const QString& fifo, const std::function<void()>& load)
{
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    bool waited = false;
    std::thread watchdog([&] {
        std::unique_lock lock(mutex);
        if (finished.wait_for(lock, std::chrono::seconds(20), [&] { return done; }))
            return;
        waited = true;
        while (!finished.wait_for(lock, std::chrono::milliseconds(20), [&] { return done; })) {
            const int writer = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (writer >= 0)
                ::close(writer);
        }
    });
    load();
    {
        const std::lock_guard lock(mutex);
        done = true;
    }
    finished.notify_one();
    watchdog.join();
    return waited;
}

QString makeFifo(TempDir& dir, const QString& name)
{
    const QString path = dir.filePath(name);
    EXPECT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    return path;
}

long peakKilobytes()
{
    struct rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

TEST(UntrustedPicture, fifoOrDeviceNamedAsPictureFailsAtOnce)
{
    TempDir dir;
    const QString gif = makeFifo(dir, QStringLiteral("x.gif"));
    const QString jpg = makeFifo(dir, QStringLiteral("x.jpg"));
    const QString bmp = makeFifo(dir, QStringLiteral("x.bmp"));
    const QString zero = dir.filePath(QStringLiteral("zero.jpg"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
    TEnhImage control;

    for (const auto& [fifo, load] : std::initializer_list<std::pair<QString, std::function<void()>>>{
             {gif, [&] { EXPECT_THROW(TGifBitmap::FromFile(gif), EImageError); }},
             {jpg, [&] { EXPECT_THROW(JpegLoader::FromFile(jpg), EImageError); }},
             {zero, [&] { EXPECT_THROW(JpegLoader::FromFile(zero), EImageError); }},
             {bmp, [&] { EXPECT_THROW(control.LoadFromFile(bmp), EImageError); }}}) {
        SCOPED_TRACE(fifo.toStdString());
        EXPECT_FALSE(waitedOn(fifo, load));
    }
}

TEST(UntrustedPicture, hugeSparseGifIsRefusedWithoutFillingMemory)
{
    TempDir dir;
    const QString path = dir.makeSizedFile(QStringLiteral("huge.gif"), qint64(3) << 30);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.write(QByteArray("GIF89a\x10\x00\x10\x00\x00\x00\x00", 13));
    file.close();

    const long before = peakKilobytes();
    EXPECT_THROW(TGifBitmap::FromFile(path), EImageError);
    EXPECT_LT(peakKilobytes() - before, 64 * 1024) << "kilobytes taken by a refused picture";
}
