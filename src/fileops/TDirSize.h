// The folder-size cache: the last known total size of up to 500 folders, so a folder
// shown again displays its size at once while it is measured anew in the background.
// Most recently stored first. UI thread only.
#pragma once

#include <QString>
#include <cstdint>
#include <vector>

class TDirSize {
public:
    static constexpr size_t kCapacity = 500;

    // Overwrites the record of that path in place, or puts a new one in front
    // (dropping the oldest when full).
    void Store(const QString& path, int64_t size);
    // The cached size, or -1.
    int64_t Lookup(const QString& path) const;
    size_t Count() const { return m_records.size(); }

private:
    struct Record {
        QString Path;
        int64_t Size;
    };
    std::vector<Record> m_records;
};
