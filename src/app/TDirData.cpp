#include "app/TDirData.h"

#include <algorithm>

TDirData::TDirData(int paneId)
    : PaneId(paneId)
{
    Items.reserve(kMaxPaneItems);
}

void TDirData::ClearItems()
{
    Items.clear();
    Count = FileCount = DirCount = DriveCount = 0;
    Truncated = false;
    ReadError.clear();
}

void TDirData::AddFilterMask(const QString& mask)
{
    const QString lower = mask.toLower();
    const auto pos = std::lower_bound(FilterMasks.begin(), FilterMasks.end(), lower);
    if (pos == FilterMasks.end() || *pos != lower)
        FilterMasks.insert(pos, lower);
}

int TDirData::SortMode() const { return m_sortMode; }

void TDirData::SetSortMode(int mode) { m_sortMode = mode; }
