#include "app/ArchiveLister.h"

#include "app/TDirData.h"
#include "core/DosTime.h"
#include "core/MatchWildcard.h"
#include "core/TextOrder.h"
#include "platform/FileNames.h"

#include <QHash>
#include <algorithm>
#include <climits>
#include <cstdint>
#include <memory>
#include <sys/stat.h>

namespace {

using Entries = std::vector<std::unique_ptr<TFileData>>;

QString extensionMask(const QString& name)
{
    const int dot = int(name.lastIndexOf(QLatin1Char('.')));
    return QLatin1Char('*') + (dot < 0 ? QString() : AsciiLower(name.mid(dot)));
}

uint32_t memberTime(const ZipDirEntry& member)
{
    return (uint32_t(member.DosDate) << 16) | member.DosTime;
}

// Names an archive may hold but a row cannot show: "a//b" and "/abs" imply an empty
// folder name, and a ".." would pose as the way out.
bool usableName(const QString& name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..");
}

bool isHidden(const QString& name) { return name.startsWith(QLatin1Char('.')); }

std::unique_ptr<TFileData> makeParent(uint32_t zipTime)
{
    auto e = std::make_unique<TFileData>();
    e->Kind = fkDirectory;
    e->Name = QStringLiteral("..");
    e->Time = zipTime;
    e->Size = -1;
    e->SizeKnown = 0;
    return e;
}

// The folders below the pane's place, found once each whatever the case of later
// mentions, with the sizes of the files they hold.
class ChildFolders {
public:
    TFileData& Find(const QString& name, uint32_t time)
    {
        const QString key = AsciiUpper(name);
        const auto found = m_byName.constFind(key);
        if (found != m_byName.cend())
            return *m_entries[size_t(found.value())];
        auto e = std::make_unique<TFileData>();
        e->Kind = fkDirectory;
        e->Name = name;
        e->Time = time;
        e->Size = 0;
        e->SizeKnown = 1;
        m_byName.insert(key, int(m_entries.size()));
        m_entries.push_back(std::move(e));
        return *m_entries.back();
    }

    Entries Take() { return std::move(m_entries); }

private:
    Entries m_entries;
    QHash<QString, int> m_byName;
};

class FolderListing {
public:
    FolderListing(TDirData& pane, const ArchiveListingInputs& in)
        : m_pane(pane)
        , m_in(in)
        , m_place(AsciiUpper(pane.ArchivePath))
    {
    }

    void Add(const ZipDirEntry& member)
    {
        const QString& name = member.FileName;
        const int slash = int(name.lastIndexOf(QLatin1Char('/')));
        const QString folder = name.left(slash + 1);
        const QString upperFolder = AsciiUpper(folder);
        const bool isFolder = name.endsWith(QLatin1Char('/'));
        if (upperFolder.size() > m_place.size() && upperFolder.startsWith(m_place))
            addBelow(member, folder, isFolder);
        else if (!isFolder && upperFolder == m_place)
            addFile(member, name.mid(slash + 1));
    }

    Entries TakeFolders() { return m_folders.Take(); }
    Entries& Files() { return m_files; }

private:
    void addBelow(const ZipDirEntry& member, const QString& folder, bool isFolder)
    {
        const qsizetype start = m_place.size();
        const QString child = folder.mid(start, folder.indexOf(QLatin1Char('/'), start) - start);
        if (!usableName(child) || (m_in.HideHidden && isHidden(child)))
            return;
        TFileData& row = m_folders.Find(child, memberTime(member));
        if (!isFolder)
            row.Size += int64_t(std::min<uint64_t>(member.UncompressedSize, uint64_t(INT64_MAX - row.Size)));
    }

    void addFile(const ZipDirEntry& member, const QString& fileName)
    {
        if (!usableName(fileName))
            return;
        // Every extension present is offered as a mask, even of hidden files.
        const QString mask = extensionMask(fileName);
        if (mask != m_lastMask) {
            m_pane.AddFilterMask(mask);
            m_lastMask = mask;
        }
        if ((m_in.HideHidden && isHidden(fileName)) || !MatchWildcard(m_in.Filter, fileName))
            return;
        auto e = std::make_unique<TFileData>();
        e->Kind = fkFile;
        e->Name = fileName;
        e->Time = memberTime(member);
        e->Size = int64_t(std::min<uint64_t>(member.UncompressedSize, uint64_t(INT64_MAX)));
        e->Description = member.FileComment;
        m_files.push_back(std::move(e));
    }

    TDirData& m_pane;
    const ArchiveListingInputs& m_in;
    const QString m_place;   // pane.ArchivePath, upper case
    ChildFolders m_folders;
    Entries m_files;
    QString m_lastMask;
};

bool byName(const std::unique_ptr<TFileData>& a, const std::unique_ptr<TFileData>& b)
{
    return CompareText(a->Name, b->Name) < 0;
}

// Keeps at most `room` of the entries - the first ones by name - and takes them from
// `room`; true when some were dropped.
bool keepFirstByName(Entries& entries, size_t& room)
{
    if (entries.size() <= room) {
        room -= entries.size();
        return false;
    }
    std::nth_element(entries.begin(), entries.begin() + qsizetype(room), entries.end(), byName);
    entries.resize(room);
    room = 0;
    return true;
}

} // namespace

ArchiveMembers ArchiveMembers::Of(const std::vector<ZipDirEntry>& entries)
{
    return {int(std::min<size_t>(entries.size(), INT_MAX)),
            [&entries](int index) -> const ZipDirEntry& { return entries[size_t(index)]; }};
}

void ArchiveLister::List(TDirData& pane, const ArchiveMembers& members, const ArchiveListingInputs& in)
{
    pane.ClearItems();
    pane.FilterMasks.clear();
    pane.AddFilterMask(QStringLiteral("*"));
    pane.AddFilterMask(in.Filter);

    FolderListing listing(pane, in);
    for (int i = 0; i < members.Count; ++i) {
        listing.Add(members.At(i));
        if (in.Progress)
            in.Progress(i + 1);
    }
    Entries folders = listing.TakeFolders();
    Entries& files = listing.Files();

    size_t room = kMaxPaneItems - 1;   // ".." always stays
    pane.Truncated = keepFirstByName(folders, room);
    pane.Truncated = keepFirstByName(files, room) || pane.Truncated;

    // Folders found later stand nearer the front, as a directory search leaves them;
    // the sort settles the order.
    pane.Items.push_back(makeParent(in.ZipTime));
    std::move(folders.rbegin(), folders.rend(), std::back_inserter(pane.Items));
    std::move(files.begin(), files.end(), std::back_inserter(pane.Items));
    pane.DirCount = int(folders.size()) + 1;
    pane.FileCount = int(files.size());
    pane.Count = int(pane.Items.size());
}

bool ArchiveLister::IsZipName(const QString& name)
{
    return name.endsWith(QLatin1String(".zip"), Qt::CaseInsensitive);
}

QString ArchiveLister::ZipFileOf(const TDirData& pane)
{
    QString zip = pane.Path;
    if (zip.size() > 1 && zip.endsWith(QLatin1Char('/')))
        zip.chop(1);
    return zip;
}

uint32_t ArchiveLister::PackedFileTime(const QString& path)
{
    struct stat st;
    if (::stat(EncodeFileName(path).constData(), &st) != 0)
        return 0;
    return PackDosTime(time_t(st.st_mtime)).value_or(0);
}
