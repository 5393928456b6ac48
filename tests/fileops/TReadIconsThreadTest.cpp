#include "fileops/TReadIconsThread.h"

#include "support/EventWait.h"
#include "support/TempDir.h"

#include <QCoreApplication>
#include <QPointer>
#include <gtest/gtest.h>
#include <unistd.h>
#include <vector>

namespace {

struct Icon {
    int PaneId;
    int Generation;
    int Index;
    QString MimeType;
    bool OnUiThread;
};

struct Icons {
    std::vector<Icon> Got;
    std::function<void(int)> AfterEach;

    TReadIconsThread::Delivery Recorder()
    {
        return [this](int paneId, int generation, int index, const QString& mimeType) {
            const bool onUi = QThread::currentThread() == QCoreApplication::instance()->thread();
            Got.push_back({paneId, generation, index, mimeType, onUi});
            if (AfterEach)
                AfterEach(index);
        };
    }
};

} // namespace

TEST(TReadIconsThread, iconsArriveInListOrderTaggedWithPaneAndGeneration)
{
    TempDir dir;
    const QStringList paths = {dir.path() + QStringLiteral("/."), dir.makeDir(QStringLiteral("sub")),
                               dir.makeFile(QStringLiteral("notes.txt")), dir.makeDir(QStringLiteral("sub2"))};
    QObject context;
    Icons icons;
    TReadIconsThread reader(2, 7, paths, &context, icons.Recorder());
    reader.start();

    ASSERT_TRUE(runEventsUntil([&] { return reader.isFinished() && icons.Got.size() == size_t(paths.size()); }));
    for (size_t i = 0; i < icons.Got.size(); ++i) {
        EXPECT_EQ(icons.Got[i].Index, int(i));
        EXPECT_EQ(icons.Got[i].PaneId, 2);
        EXPECT_EQ(icons.Got[i].Generation, 7);
        EXPECT_TRUE(icons.Got[i].OnUiThread);
    }
    EXPECT_EQ(icons.Got[0].MimeType, QStringLiteral("inode/directory")) << "the \"..\" entry's path";
    EXPECT_EQ(icons.Got[2].MimeType, QStringLiteral("text/plain"));
}

TEST(TReadIconsThread, foldersNamedLikeFilesAndLinksToFoldersStayFolders)
{
    TempDir dir;
    const QString target = dir.makeDir(QStringLiteral("target"));
    const QString link = dir.path() + QStringLiteral("/link.txt");
    ASSERT_EQ(::symlink(target.toLocal8Bit().constData(), link.toLocal8Bit().constData()), 0);
    const QStringList paths = {dir.makeFile(QStringLiteral("notes.txt")), dir.makeDir(QStringLiteral("sub.txt")), link};
    QObject context;
    Icons icons;
    TReadIconsThread reader(1, 1, paths, &context, icons.Recorder());
    reader.start();

    ASSERT_TRUE(runEventsUntil([&] { return reader.isFinished() && icons.Got.size() == size_t(paths.size()); }));
    EXPECT_EQ(icons.Got[0].MimeType, QStringLiteral("text/plain"));
    EXPECT_EQ(icons.Got[1].MimeType, QStringLiteral("inode/directory"));
    EXPECT_EQ(icons.Got[2].MimeType, QStringLiteral("inode/directory"));
}

TEST(TReadIconsThread, stopEndsTheThreadAfterTheCurrentEntry)
{
    QStringList paths;
    for (int i = 0; i < 200; ++i)
        paths.append(QStringLiteral("/no/such/f%1.txt").arg(i));
    QObject context;
    Icons icons;
    QPointer<TReadIconsThread> reader = new TReadIconsThread(1, 3, paths, &context, icons.Recorder());
    // The way a pane owns it: stopped when the pane lists again, gone once finished.
    QObject::connect(reader, &QThread::finished, reader, &QObject::deleteLater);
    icons.AfterEach = [&](int index) {
        if (index == 2)
            reader->Stop();
    };
    reader->start();

    ASSERT_TRUE(runEventsUntil([&] { return reader.isNull(); })) << "finished and deleted itself";
    ASSERT_EQ(icons.Got.size(), 3u);
    EXPECT_EQ(icons.Got.back().Index, 2);
}

TEST(TReadIconsThread, iconOnItsWayWhenTheReaderIsDeletedIsNeverApplied)
{
    InterceptingContext context;
    Icons icons;
    auto* reader = new TReadIconsThread(1, 1, {QStringLiteral("/a.txt"), QStringLiteral("/b.txt")}, &context,
                                        icons.Recorder());
    // The reader waits for its first icon to be applied; the pane goes away first. The
    // destructor waits for the thread on the UI thread, which must not deadlock.
    context.BeforeNextCall = [&] {
        delete reader;
        reader = nullptr;
    };
    reader->start();
    ASSERT_TRUE(runEventsUntil([&] { return reader == nullptr; }));
    runEventsUntil([] { return false; }, 100);
    EXPECT_TRUE(icons.Got.empty());
}

namespace {

// Counts the pieces of work handed over to it, each one wake-up of the UI thread.
class CountingContext : public QObject {
public:
    int Calls = 0;
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::MetaCall)
            ++Calls;
        return QObject::event(e);
    }
};

QStringList missingFiles(int count)
{
    QStringList paths;
    for (int i = 0; i < count; ++i)
        paths.append(QStringLiteral("/no/such/f%1.txt").arg(i));
    return paths;
}

} // namespace

TEST(TReadIconsThread, everyIconWakesTheUiThreadOrRowsOnScreenWait)
{
    const QStringList paths = missingFiles(3000);
    CountingContext context;
    Icons icons;
    TReadIconsThread reader(1, 1, paths, &context, icons.Recorder());
    reader.Prioritize(2000, 2009);                  // the rows on screen
    reader.start();
    ASSERT_TRUE(runEventsUntil([&] { return reader.isFinished() && icons.Got.size() == size_t(paths.size()); }));

    EXPECT_LE(context.Calls, paths.size() / 100);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(icons.Got[size_t(i)].Index, 2000 + i);
    EXPECT_EQ(icons.Got[10].Index, 0) << "then the others in list order";
    std::vector<bool> seen(size_t(paths.size()), false);
    for (const Icon& icon : icons.Got)
        seen[size_t(icon.Index)] = true;
    EXPECT_EQ(std::count(seen.begin(), seen.end(), true), paths.size()) << "each row once";
}
