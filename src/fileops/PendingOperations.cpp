#include "fileops/PendingOperations.h"

#include <algorithm>

namespace {

// The byte size of a path list written as "path\0path\0...\0\0".
qsizetype sourceBufferLength(const QStringList& paths)
{
    qsizetype length = 1;
    for (const QString& path : paths)
        length += path.toUtf8().size() + 1;
    return length;
}

} // namespace

std::optional<uint16_t> PendingOperations::Launch(const TShellFileOpRecord& record, const QString& sourceDir,
                                                  const QString& targetDir)
{
    if (Count() >= kSlots)
        return std::nullopt;

    PendingOperation slot;
    slot.Id = nextFreeId();
    slot.Operation.Owner = nullptr;
    slot.Operation.Function = record.Function;
    slot.Operation.Flags = record.Flags;
    slot.Operation.Source = record.Source;
    slot.Operation.Target = record.Target;
    slot.SourceLength = sourceBufferLength(record.Source);
    slot.TargetLength = record.Target.toUtf8().size() + 1;
    slot.SourceDir = sourceDir;
    slot.TargetDir = targetDir;

    m_lastId = slot.Id;
    m_slots.push_back(std::move(slot));
    return m_lastId;
}

// With at most kSlots pending, a free identifier is always found within kSlots + 1
// steps; uint16_t arithmetic wraps from 65535 to 0 by itself.
uint16_t PendingOperations::nextFreeId() const
{
    uint16_t id = uint16_t(m_lastId + 1);
    while (Find(id))
        id = uint16_t(id + 1);
    return id;
}

const PendingOperation* PendingOperations::Find(uint16_t id) const
{
    for (const PendingOperation& slot : m_slots) {
        if (slot.Id == id)
            return &slot;
    }
    return nullptr;
}

bool PendingOperations::Complete(uint16_t id)
{
    const auto it = std::find_if(m_slots.begin(), m_slots.end(),
                                 [id](const PendingOperation& slot) { return slot.Id == id; });
    if (it == m_slots.end())
        return false;
    m_slots.erase(it);
    return true;
}
