// Position memory of a pane: for up to 50 locations, the top row and the current row
// last shown there, so coming back to a folder shows it as it was left.
#pragma once

#include <QString>
#include <optional>
#include <vector>

struct TDirPosRecord {
    QString Key;       // Path + ArchivePath
    int TopRow = 0;
    int CurrentRow = -1;
};

class TDirPos {
public:
    static constexpr size_t kCapacity = 50;

    // Updates the record of that key in place, or inserts a new one at the front
    // (dropping the last when full).
    void Store(const QString& key, int topRow, int currentRow);
    // Keys compare exactly: two folders differing only in case are two folders here.
    std::optional<TDirPosRecord> Find(const QString& key) const;
    size_t Count() const { return m_records.size(); }

private:
    std::vector<TDirPosRecord> m_records;
};
