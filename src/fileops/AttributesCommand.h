// The Attributes command on a pane's selection: the dialog, then the chosen changes
// written to every selected file and folder. A failing entry is reported and the
// others are still done.
#pragma once

#include "fileops/AttributeSelection.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

class QWidget;

struct AttributeEntry {
    QString Path;              // full path
    QString Name;              // as the pane shows it, for messages
    uint32_t Attributes = 0;   // as the pane stored it; only the dialog's first states use it
};

// Per entry, in the given order: the attributes it has now, or nothing when they
// could not be read or written.
using AttributeResults = std::vector<std::optional<uint32_t>>;

// Reads each entry's current attributes from disk and writes (current & Keep) | Set.
AttributeResults ApplyAttributes(const std::vector<AttributeEntry>& entries, const AttributeMasks& masks,
                                 QWidget* parent = nullptr);

// The whole command for the selected file and folder entries of a pane: refuses a
// selection holding "..", asks with TDlgAttributes, applies. An empty result means
// nothing was attempted (nothing selected, "..", Cancel); the caller stores the
// results in its entries and repaints.
AttributeResults RunAttributesCommand(const std::vector<AttributeEntry>& entries, QWidget* parent = nullptr);
