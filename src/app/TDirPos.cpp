#include "app/TDirPos.h"

void TDirPos::Store(const QString& key, int topRow, int currentRow)
{
    for (TDirPosRecord& r : m_records) {
        if (r.Key == key) {
            r.TopRow = topRow;
            r.CurrentRow = currentRow;
            return;
        }
    }
    if (m_records.size() >= kCapacity)
        m_records.pop_back();
    m_records.insert(m_records.begin(), TDirPosRecord{key, topRow, currentRow});
}

std::optional<TDirPosRecord> TDirPos::Find(const QString& key) const
{
    for (const TDirPosRecord& r : m_records)
        if (r.Key == key)
            return r;
    return std::nullopt;
}
