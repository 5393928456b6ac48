#include "app/PaneMoves.h"

#include "app/TDirData.h"

QString PaneMoves::WithTrailingSlash(const QString& path)
{
    return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}

void PaneMoves::ToFolder(TDirData& pane, const QString& path)
{
    pane.Path = WithTrailingSlash(path);
    pane.ArchiveDepth = 0;
    pane.ArchivePath.clear();
}

void PaneMoves::IntoFolder(TDirData& pane, const QString& name)
{
    if (pane.ArchiveDepth > 0)
        pane.ArchivePath += name + QLatin1Char('/');
    else
        pane.Path = WithTrailingSlash(pane.Path) + name + QLatin1Char('/');
}

void PaneMoves::IntoZip(TDirData& pane, const QString& name)
{
    pane.Path = WithTrailingSlash(pane.Path) + name + QLatin1Char('/');
    ++pane.ArchiveDepth;
    pane.ArchivePath.clear();
}

void PaneMoves::ToParent(TDirData& pane)
{
    if (pane.ArchiveDepth > 0) {
        if (!pane.ArchivePath.isEmpty()) {
            QString inner = pane.ArchivePath;
            inner.chop(1);
            pane.ArchivePath = inner.left(inner.lastIndexOf(QLatin1Char('/')) + 1);
        } else {
            --pane.ArchiveDepth;
        }
    }
    if (pane.ArchiveDepth == 0) {
        QString path = pane.Path;
        if (path.size() > 1 && path.endsWith(QLatin1Char('/')))
            path.chop(1);
        pane.Path = path.left(path.lastIndexOf(QLatin1Char('/')) + 1);
        if (pane.Path.isEmpty())
            pane.Path = QStringLiteral("/");
        pane.ArchivePath.clear();
    }
}

void PaneMoves::SameAs(TDirData& target, const TDirData& source)
{
    target.ArchiveDepth = source.ArchiveDepth;
    target.Path = source.Path;
    target.ArchivePath = source.ArchivePath;
}
