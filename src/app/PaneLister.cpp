#include "app/PaneLister.h"

#include "app/TDirData.h"
#include "core/MatchWildcard.h"
#include "core/TextOrder.h"
#include "platform/FileAttributes.h"

#include <vector>

namespace {

bool hiddenFolderSkipped(const TSearchRec& rec, const ListingOptions& o)
{
    if (o.HideHidden && (rec.Attr & faHidden) && rec.Name != QLatin1String(".."))
        return true;
    return o.HideExtra && MatchWildcard(QStringLiteral("folder settings"), rec.Name);
}

bool fileSkipped(const TSearchRec& rec, const ListingOptions& o)
{
    if (o.HideDescription && MatchWildcard(QStringLiteral("descript.ion"), rec.Name))
        return true;
    if (o.HideHidden && (rec.Attr & faHidden))
        return true;
    return o.HideExtra && (MatchWildcard(QStringLiteral("desktop.ini"), rec.Name)
                           || MatchWildcard(QStringLiteral("folder.htt"), rec.Name));
}

QString extensionMask(const QString& name)
{
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    return QLatin1Char('*') + (dot < 0 ? QString() : AsciiLower(name.mid(dot)));
}

std::unique_ptr<TFileData> makeEntry(TFileKind kind, const TSearchRec& rec, const ListingInputs& in)
{
    auto e = std::make_unique<TFileData>();
    e->Kind = kind;
    e->Name = rec.Name;
    e->Time = rec.Time;
    e->Attributes = rec.Attr;
    if (!in.Descriptions.isEmpty())
        e->Description = in.Descriptions.value(AsciiUpper(rec.Name));
    return e;
}

} // namespace

bool PaneLister::ListFolder(TDirData& pane, const ListingInputs& in)
{
    pane.ClearItems();
    pane.FilterMasks.clear();
    pane.AddFilterMask(QStringLiteral("*"));
    pane.AddFilterMask(in.Filter);

    // Folders end up in reverse order of discovery (each went to the front), files in
    // order of discovery; the sort settles the rest.
    std::vector<std::unique_ptr<TFileData>> dirs;
    std::vector<std::unique_ptr<TFileData>> files;
    QString lastMask;
    int stored = 0;

    TDirectorySearch search(pane.Path);
    TSearchRec rec;
    while (search.Next(rec)) {
        if (rec.Attr & faDirectory) {
            if (hiddenFolderSkipped(rec, in.Options))
                continue;
            if (stored >= kMaxPaneItems) {
                pane.Truncated = true;
                continue;
            }
            auto e = makeEntry(fkDirectory, rec, in);
            e->Size = (in.CachedSize && !e->IsParent()) ? in.CachedSize(pane.Path + rec.Name) : -1;
            e->SizeKnown = 0;
            dirs.push_back(std::move(e));
            ++stored;
            continue;
        }
        if (rec.Attr & faVolumeID)
            continue;
        // Every extension present is offered as a mask, even of skipped files.
        const QString mask = extensionMask(rec.Name);
        if (mask != lastMask) {
            pane.AddFilterMask(mask);
            lastMask = mask;
        }
        if (fileSkipped(rec, in.Options) || !MatchWildcard(in.Filter, rec.Name))
            continue;
        if (stored >= kMaxPaneItems) {
            pane.Truncated = true;
            continue;
        }
        auto e = makeEntry(fkFile, rec, in);
        e->Size = rec.Size;
        files.push_back(std::move(e));
        ++stored;
    }

    for (auto it = dirs.rbegin(); it != dirs.rend(); ++it)
        pane.Items.push_back(std::move(*it));
    for (auto& f : files)
        pane.Items.push_back(std::move(f));
    pane.DirCount = int(dirs.size());
    pane.FileCount = int(files.size());
    pane.Count = int(pane.Items.size());
    AppendDrives(pane, in.Options.ShowDrives ? in.Drives : QStringList());
    return search.IsOpen();
}

void PaneLister::AppendDrives(TDirData& pane, const QStringList& drives)
{
    for (const QString& drive : drives) {
        if (pane.Count >= kMaxPaneItems) {
            pane.Truncated = true;
            break;
        }
        auto e = std::make_unique<TFileData>();
        e->Kind = fkDrive;
        e->Name = drive;
        e->Size = 0;
        e->SizeKnown = 1;
        pane.Items.push_back(std::move(e));
        ++pane.DriveCount;
        ++pane.Count;
    }
}
