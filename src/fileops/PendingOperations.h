// The table of copies and moves running in the background: which ones are still
// pending, under which identifier the completion names them, and which folders they
// touch so that the panes showing those folders can be re-read when they end.
// UI thread only: launch happens in a command handler and release in the completion
// handler, both on that thread, so the table needs no lock.
#pragma once

#include "platform/TShellFileOpRecord.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

struct PendingOperation {
    uint16_t Id = 0;
    // A private copy, never shared with the pane that started it; no owner window,
    // because the operation runs in the background.
    TShellFileOpRecord Operation;
    // What the source list and the target take as NUL-terminated byte buffers
    // (kept for reports; the operation itself uses the lists).
    qsizetype SourceLength = 0;
    qsizetype TargetLength = 0;
    QString SourceDir;
    QString TargetDir;
};

class PendingOperations {
public:
    static constexpr int kSlots = 30;

    // The slots never move in memory while operations are launched, so a slot found
    // with Find stays valid until some operation completes.
    PendingOperations() { m_slots.reserve(kSlots); }

    // Takes the first free slot for a copy of `record`. Nothing when all slots are
    // in use; the table is then unchanged.
    std::optional<uint16_t> Launch(const TShellFileOpRecord& record, const QString& sourceDir,
                                   const QString& targetDir);
    // The pending operation with that identifier, or null.
    const PendingOperation* Find(uint16_t id) const;
    // Frees the slot of that identifier; later slots move up so launch order is kept.
    // False (and nothing changes) for an identifier that is not pending.
    bool Complete(uint16_t id);

    int Count() const { return int(m_slots.size()); }
    uint16_t LastId() const { return m_lastId; }
    const PendingOperation& At(int index) const { return m_slots.at(size_t(index)); }

    // Lets tests start near the end of the identifier range.
    void SetLastIdForTest(uint16_t id) { m_lastId = id; }

private:
    uint16_t nextFreeId() const;

    std::vector<PendingOperation> m_slots;   // used slots, in launch order
    uint16_t m_lastId = 0;
};
