// Listing a folder into a pane (read, sort, column widths) against `ls -l` of the same
// folder: one of 16384 files, the most a pane holds, and one of 100,000 files, of which
// the pane keeps the first 16384 by name after reading them all.
#include "BenchSupport.h"

#include "app/TForm1.h"

#include <QApplication>
#include <QTemporaryDir>
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

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/dorvane-bench-XXXXXX"));
    makeFiles(dir, 16384);
    TForm1 form{QStringList()};
    form.Startup();
    TDirData& pane = form.Left();
    pane.Path = dir.path() + QLatin1Char('/');
    bench::compare("listing_vs_ls_l", 15, [&] { form.ReadDirectory(pane); },
                   [&] { bench::runQuiet({QStringLiteral("ls"), QStringLiteral("-l"), dir.path()}); });
    const bool full = pane.Count >= 16384;

    QTemporaryDir huge(QDir::tempPath() + QStringLiteral("/dorvane-bench-XXXXXX"));
    makeFiles(huge, 100000);
    pane.Path = huge.path() + QLatin1Char('/');
    bench::compare("listing_100k_vs_ls_l", 5, [&] { form.ReadDirectory(pane); },
                   [&] { bench::runQuiet({QStringLiteral("ls"), QStringLiteral("-l"), huge.path()}); });
    return full && pane.Count == 16384 && pane.Truncated ? 0 : 1;
}
