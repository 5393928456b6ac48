#include "fileops/AttributeSelection.h"

#include "platform/FileAttributes.h"

const std::array<uint32_t, 4> AttributeSelection::kAttributeBits = {faReadOnly, faArchive, faHidden, faSysFile};

Qt::CheckState AttributeStates::Of(uint32_t bit) const
{
    switch (bit) {
    case faReadOnly: return ReadOnly;
    case faArchive: return Archive;
    case faHidden: return Hidden;
    case faSysFile: return System;
    default: break;
    }
    return Qt::Unchecked;
}

void AttributeStates::Set(uint32_t bit, Qt::CheckState state)
{
    switch (bit) {
    case faReadOnly: ReadOnly = state; break;
    case faArchive: Archive = state; break;
    case faHidden: Hidden = state; break;
    case faSysFile: System = state; break;
    default: break;
    }
}

AttributeSelection::AttributeSelection(const std::vector<uint32_t>& entryAttributes)
{
    if (entryAttributes.empty())
        return;
    const uint32_t first = entryAttributes.front();
    for (uint32_t bit : kAttributeBits) {
        Qt::CheckState state = (first & bit) ? Qt::Checked : Qt::Unchecked;
        for (uint32_t attributes : entryAttributes) {
            if ((attributes & bit) != (first & bit)) {
                state = Qt::PartiallyChecked;
                break;
            }
        }
        m_initial.Set(bit, state);
    }
}

AttributeMasks AttributeSelection::Masks(const AttributeStates& final) const
{
    AttributeMasks masks;
    for (uint32_t bit : kAttributeBits) {
        const Qt::CheckState now = final.Of(bit);
        if (now == Qt::PartiallyChecked || now == m_initial.Of(bit))
            continue;
        masks.Keep &= ~bit;
        if (now == Qt::Checked)
            masks.Set |= bit;
    }
    return masks;
}
