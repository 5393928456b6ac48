#include "fileops/TDirSize.h"

// Paths compare exactly: two folders whose names differ only in case are different
// folders on Linux.
void TDirSize::Store(const QString& path, int64_t size)
{
    for (Record& r : m_records) {
        if (r.Path == path) {
            r.Size = size;
            return;
        }
    }
    if (m_records.size() >= kCapacity)
        m_records.pop_back();
    m_records.insert(m_records.begin(), Record{path, size});
}

int64_t TDirSize::Lookup(const QString& path) const
{
    for (const Record& r : m_records)
        if (r.Path == path)
            return r.Size;
    return -1;
}
