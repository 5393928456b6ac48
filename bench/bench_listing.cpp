// Listing a folder into a pane against `ls -l` of the same folder: one of 16384 files,
// the most a pane holds, and one of 100,000 files, of which the pane keeps the first
// 16384 by name after reading them all. Our side is what the user waits for in the
// shown window: from the request to the painted list with its icons and folder sizes
// settled, so no background work of one run spills into the next or into `ls`'s time.
#include "BenchSupport.h"

#include "app/TForm1.h"
#include "fileops/TReadIconsThread.h"

#include <QListView>
#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace {

void makeFiles(const QTemporaryDir& dir, int count)
{
    for (int i = 0; i < count; ++i) {
        const QByteArray name =
            dir.filePath(QStringLiteral("file_%1.%2").arg(i * 7919 % count).arg(i % 13 ? "txt" : "dat")).toLocal8Bit();
        const int fd = ::open(name.constData(), O_CREAT | O_WRONLY, 0644);
        if (fd >= 0) {
            if (i % 3 == 0)
                (void)::write(fd, name.constData(), size_t(name.size()));
            ::close(fd);
        }
    }
}

// Fewer rounds when DV_BENCH_SMALL is set, for a quick look on a busy machine.
int roundsOf(int normal)
{
    return std::getenv("DV_BENCH_SMALL") ? std::max(1, normal / 5) : normal;
}

void waitUntilSettled(TForm1& form)
{
    // Deliveries wake the wait; the tick notices the end of work that posts nothing.
    QTimer tick;
    tick.start(1);
    while (TReadIconsThread::Unfinished() > 0 || !form.SizeQueue().Paths().isEmpty())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QCoreApplication::processEvents();
}

void listAndPaint(TForm1& form, TDirData& pane)
{
    form.ReadDirectory(pane);
    QCoreApplication::processEvents();   // the first rows, before their icons
    waitUntilSettled(form);
    pane.FileList->viewport()->repaint();
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/dorvane-bench-XXXXXX"));
    makeFiles(dir, 16384);
    TForm1 form{QStringList()};
    form.Startup();
    form.show();
    TDirData& pane = form.Left();
    waitUntilSettled(form);   // the start-up listings
    pane.Path = dir.path() + QLatin1Char('/');
    bench::compare("listing_vs_ls_l", roundsOf(15), [&] { listAndPaint(form, pane); },
                   [&] { bench::runQuiet({QStringLiteral("ls"), QStringLiteral("-l"), dir.path()}); });
    const bool full = pane.Count >= 16384;
    // How long the background work goes on once the list is read: the CPU should be
    // settled soon after entering a full folder.
    std::vector<double> settle;
    for (int i = 0; i < roundsOf(10); ++i) {
        form.ReadDirectory(pane);
        settle.push_back(bench::secondsOf([&] { waitUntilSettled(form); }));
    }
    std::printf("listing_vs_ls_l: icons and folder sizes settled %.1f ms after the list was read (median of %zu)\n",
                bench::median(settle) * 1000, settle.size());

    QTemporaryDir huge(QDir::tempPath() + QStringLiteral("/dorvane-bench-XXXXXX"));
    makeFiles(huge, 100000);
    pane.Path = huge.path() + QLatin1Char('/');
    bench::compare("listing_100k_vs_ls_l", roundsOf(5), [&] { listAndPaint(form, pane); },
                   [&] { bench::runQuiet({QStringLiteral("ls"), QStringLiteral("-l"), huge.path()}); });
    return full && pane.Count == 16384 && pane.Truncated ? 0 : 1;
}
