#include "app/PaneLister.h"

#include "app/TDirData.h"
#include "core/MatchWildcard.h"
#include "core/TextOrder.h"
#include "platform/FileAttributes.h"
#include "platform/FileNames.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
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

// Takes the name out of rec.
std::unique_ptr<TFileData> makeEntry(TFileKind kind, TSearchRec& rec, const ListingInputs& in)
{
    auto e = std::make_unique<TFileData>();
    e->Kind = kind;
    if (!in.Descriptions.isEmpty())
        e->Description = in.Descriptions.value(AsciiUpper(rec.Name));
    e->Name = std::move(rec.Name);
    e->Time = rec.Time;
    e->Attributes = rec.Attr;
    return e;
}

bool byName(const TSearchRec& a, const TSearchRec& b) { return CompareText(a.Name, b.Name) < 0; }

// Keeps at most `room` of found[from..] - the first ones by name - and takes them
// from `room`; true when some were dropped. Readdir returns a large folder in hash
// order on most file systems, so keeping the first ones read would show a random
// sample; a partial selection costs little next to reading the entries.
bool keepFirstByName(std::vector<TSearchRec>& found, size_t from, size_t& room)
{
    const size_t offered = found.size() - from;
    if (offered <= room) {
        room -= offered;
        return false;
    }
    std::nth_element(found.begin() + qsizetype(from), found.begin() + qsizetype(from + room), found.end(), byName);
    found.resize(from + room);
    room = 0;
    return true;
}

QString readErrorOf(const QString& folder)
{
    DIR* dir = ::opendir(EncodeFileName(folder).constData());
    const int error = errno;
    if (dir) {
        ::closedir(dir);
        return QString();
    }
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

bool PaneLister::ListFolder(TDirData& pane, const ListingInputs& in)
{
    pane.ClearItems();
    pane.FilterMasks.clear();
    pane.AddFilterMask(QStringLiteral("*"));
    pane.AddFilterMask(in.Filter);

    // Everything is read before anything is kept, so a folder over the bound keeps the
    // entries the pane would show first when sorted by name.
    std::vector<TSearchRec> dirs;
    std::vector<TSearchRec> files;
    QString lastMask;

    TDirectorySearch search(pane.Path);
    // Shown hidden files need no attribute read: the bit would change nothing.
    search.ReadDosHidden(in.Options.HideHidden);
    TSearchRec rec;
    while (search.Next(rec)) {
        if (rec.Attr & faDirectory) {
            if (!hiddenFolderSkipped(rec, in.Options))
                dirs.push_back(std::move(rec));
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
        files.push_back(std::move(rec));
    }
    if (!search.IsOpen())
        pane.ReadError = readErrorOf(pane.Path);

    size_t room = kMaxPaneItems;
    if (dirs.size() + files.size() > room) {
        // ".." stands first whatever the order, so it is always kept.
        const auto parent = std::find_if(dirs.begin(), dirs.end(),
                                         [](const TSearchRec& r) { return r.Name == QLatin1String(".."); });
        size_t from = 0;
        if (parent != dirs.end()) {
            std::iter_swap(dirs.begin(), parent);
            from = 1;
            --room;
        }
        pane.Truncated = keepFirstByName(dirs, from, room);
        pane.Truncated = keepFirstByName(files, 0, room) || pane.Truncated;
    }

    // Folders are stored in reverse order of discovery (each went to the front), files
    // in order of discovery; the sort settles the rest.
    for (auto it = dirs.rbegin(); it != dirs.rend(); ++it) {
        auto e = makeEntry(fkDirectory, *it, in);
        e->Size = (in.CachedSize && !e->IsParent()) ? in.CachedSize(pane.Path + e->Name) : -1;
        e->SizeKnown = 0;
        pane.Items.push_back(std::move(e));
    }
    for (TSearchRec& f : files) {
        auto e = makeEntry(fkFile, f, in);
        e->Size = f.Size;
        pane.Items.push_back(std::move(e));
    }
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
