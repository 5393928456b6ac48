// Listing a folder of 16384 files into a pane (read, sort, column widths) against
// `ls -l` of the same folder.
#include "BenchSupport.h"

#include "app/TForm1.h"

#include <QApplication>
#include <QTemporaryDir>
#include <fcntl.h>
#include <unistd.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/dorvane-bench-XXXXXX"));
    for (int i = 0; i < 16384; ++i) {
        const QByteArray name = dir.filePath(QStringLiteral("file_%1.%2").arg(i * 7919 % 16384).arg(i % 13 ? "txt" : "dat")).toLocal8Bit();
        const int fd = ::open(name.constData(), O_CREAT | O_WRONLY, 0644);
        if (fd >= 0) {
            if (i % 3 == 0)
                (void)::write(fd, name.constData(), size_t(name.size()));
            ::close(fd);
        }
    }
    TForm1 form{QStringList()};
    form.Startup();
    TDirData& pane = form.Left();
    pane.Path = dir.path() + QLatin1Char('/');
    bench::compare("listing_vs_ls_l", 15, [&] { form.ReadDirectory(pane); },
                   [&] { bench::runQuiet({QStringLiteral("ls"), QStringLiteral("-l"), dir.path()}); });
    return pane.Count >= 16384 ? 0 : 1;
}
