// What the Attributes command shows and changes: for a selection of entries, each of
// the four attributes a user can set is on for all, off for all, or mixed; the boxes
// the user changed become a keep mask and a set mask applied to every entry, so an
// attribute left alone keeps each entry's own value.
#pragma once

#include <QtCore/qnamespace.h>
#include <array>
#include <cstdint>
#include <vector>

// The check state of each attribute, in the order of kAttributeBits.
struct AttributeStates {
    Qt::CheckState ReadOnly = Qt::Unchecked;
    Qt::CheckState Archive = Qt::Unchecked;
    Qt::CheckState Hidden = Qt::Unchecked;
    Qt::CheckState System = Qt::Unchecked;

    Qt::CheckState Of(uint32_t bit) const;
    void Set(uint32_t bit, Qt::CheckState state);
    bool operator==(const AttributeStates&) const = default;
};

// New attributes = (current & Keep) | Set.
struct AttributeMasks {
    uint32_t Keep = 0xFFFFFFFFu;
    uint32_t Set = 0;

    uint32_t Apply(uint32_t current) const { return (current & Keep) | Set; }
    bool operator==(const AttributeMasks&) const = default;
};

class AttributeSelection {
public:
    // Read-only, archive, hidden, system (the faXxx bits of platform/FileAttributes.h).
    static const std::array<uint32_t, 4> kAttributeBits;

    // The stored attribute words of the selected entries, in list order.
    explicit AttributeSelection(const std::vector<uint32_t>& entryAttributes);

    // Checked or unchecked when every entry agrees, partially checked when they differ.
    const AttributeStates& Initial() const { return m_initial; }

    // Only the boxes the user really changed change anything: a mixed box left mixed,
    // or a uniform box back at its first value, keeps each entry's own bit.
    AttributeMasks Masks(const AttributeStates& final) const;

private:
    AttributeStates m_initial;
};
