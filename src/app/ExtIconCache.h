// Icons known per file extension, so a row whose own icon has not arrived yet can be
// drawn with the icon of its extension. Kept sorted by extension; UI thread only.
#pragma once

#include <QString>
#include <optional>
#include <vector>

class TDirData;

struct ExtIcon {
    QString Extension;   // lower case, with its dot
    quintptr ImageList = 0;
    int Index = 0;
};

class ExtIconCache {
public:
    void Add(const QString& extension, quintptr imageList, int index);
    std::optional<ExtIcon> Find(const QString& extension) const;
    int Size() const { return int(m_entries.size()); }

    // Before a pane is re-read: every "*.ext" mask of its filter list whose extension is
    // not cached yet takes the icon of the first listed file that has one and matches.
    void Harvest(const TDirData& pane);

private:
    std::vector<ExtIcon> m_entries;
};
