// Selection rules of a pane that do not need the list widget: the row range behind
// "Select all" and the selection summary shown in the status bar.
#pragma once

#include <QString>
#include <optional>
#include <utility>
#include <vector>

class TDirData;

enum SelectGroupKind { SelectDirectories = 0, SelectFiles = 1, SelectBoth = 2 };

class PaneSelection {
public:
    // Rows first..last to select for a group, or nullopt when there is nothing to select.
    static std::optional<std::pair<int, int>> GroupRange(const TDirData& pane, int group);

    // "Selected : %d dirs and %d files (%s bytes)" for the given selected rows.
    static QString Summary(const TDirData& pane, const std::vector<int>& selectedRows);
};
