#include "app/ExtIconCache.h"

#include "app/TDirData.h"
#include "core/MatchWildcard.h"

#include <algorithm>

namespace {

auto lowerBound(std::vector<ExtIcon>& v, const QString& ext)
{
    return std::lower_bound(v.begin(), v.end(), ext,
                            [](const ExtIcon& e, const QString& key) { return e.Extension < key; });
}

} // namespace

void ExtIconCache::Add(const QString& extension, quintptr imageList, int index)
{
    const QString ext = extension.toLower();
    auto pos = lowerBound(m_entries, ext);
    if (pos != m_entries.end() && pos->Extension == ext)
        return;
    m_entries.insert(pos, ExtIcon{ext, imageList, index});
}

std::optional<ExtIcon> ExtIconCache::Find(const QString& extension) const
{
    const QString ext = extension.toLower();
    auto pos = lowerBound(const_cast<std::vector<ExtIcon>&>(m_entries), ext);
    if (pos != m_entries.end() && pos->Extension == ext)
        return *pos;
    return std::nullopt;
}

void ExtIconCache::Harvest(const TDirData& pane)
{
    for (const QString& mask : pane.FilterMasks) {
        if (!mask.startsWith(QLatin1String("*.")) || mask.size() < 3)
            continue;
        const QString ext = mask.mid(1);
        if (Find(ext))
            continue;
        for (int i = pane.DirCount; i < pane.DirCount + pane.FileCount; ++i) {
            const TFileData& e = *pane.Item(i);
            if (e.SysImageList != 0 && MatchWildcard(mask, e.Name)) {
                Add(ext, e.SysImageList, e.SysIconIndex);
                break;
            }
        }
    }
}
