#include "app/PaneHistory.h"

#include "app/TDirData.h"

namespace {

QString escapeField(QString text)
{
    text.replace(QLatin1Char('%'), QLatin1String("%25"));
    text.replace(QLatin1Char('?'), QLatin1String("%3F"));
    return text;
}

QString unescapeField(QString text)
{
    text.replace(QLatin1String("%3F"), QLatin1String("?"), Qt::CaseInsensitive);
    text.replace(QLatin1String("%25"), QLatin1String("%"));
    return text;
}

void applyEntry(TDirData& pane)
{
    const PaneLocation loc = PaneHistory::Parse(pane.History.at(pane.HistoryIndex));
    pane.Path = loc.Path;
    pane.ArchivePath = loc.ArchivePath;
    pane.ArchiveDepth = loc.ArchiveDepth;
}

} // namespace

QString PaneHistory::Key(const PaneLocation& location)
{
    QString path = location.Path;
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return escapeField(path) + QLatin1Char('?') + escapeField(location.ArchivePath) + QLatin1Char('?')
        + QString::number(location.ArchiveDepth);
}

PaneLocation PaneHistory::Parse(const QString& key)
{
    PaneLocation loc;
    const int first = key.indexOf(QLatin1Char('?'));
    const int second = first < 0 ? -1 : key.indexOf(QLatin1Char('?'), first + 1);
    if (first < 0) {
        loc.Path = unescapeField(key);
        return loc;
    }
    loc.Path = unescapeField(key.left(first));
    if (second < 0) {
        loc.ArchivePath = unescapeField(key.mid(first + 1));
        return loc;
    }
    loc.ArchivePath = unescapeField(key.mid(first + 1, second - first - 1));
    bool ok = false;
    const int depth = key.mid(second + 1).toInt(&ok);
    loc.ArchiveDepth = ok ? depth : 0;
    return loc;
}

void PaneHistory::Record(TDirData& pane)
{
    const QString key = Key({pane.Path, pane.ArchivePath, pane.ArchiveDepth});
    if (pane.HistoryIndex != -1 && pane.HistoryIndex < pane.History.size() && pane.History.at(pane.HistoryIndex) == key)
        return;
    while (pane.History.size() > pane.HistoryIndex + 1)
        pane.History.removeLast();
    pane.History.append(key);
    ++pane.HistoryIndex;
    while (pane.History.size() > kCapacity) {
        pane.History.removeFirst();
        --pane.HistoryIndex;
    }
}

bool PaneHistory::CanGoBack(const TDirData& pane) { return pane.HistoryIndex > 0; }

bool PaneHistory::CanGoForward(const TDirData& pane) { return pane.HistoryIndex < pane.History.size() - 1; }

bool PaneHistory::Back(TDirData& pane)
{
    if (!CanGoBack(pane))
        return false;
    --pane.HistoryIndex;
    applyEntry(pane);
    return true;
}

bool PaneHistory::Forward(TDirData& pane)
{
    if (!CanGoForward(pane))
        return false;
    ++pane.HistoryIndex;
    applyEntry(pane);
    return true;
}
