#include "app/PaneSelection.h"

#include "app/TDirData.h"
#include "core/NumberFormat.h"

#include <QCoreApplication>

std::optional<std::pair<int, int>> PaneSelection::GroupRange(const TDirData& pane, int group)
{
    int last = pane.DirCount + pane.FileCount - 1;   // the last row that is not a volume
    int first = 0;
    if (group == SelectDirectories)
        last = pane.DirCount - 1;
    else if (group == SelectFiles)
        first = pane.DirCount;
    if (first <= last && first < pane.Count && pane.Item(first)->IsParent())
        ++first;
    if (last < first)
        return std::nullopt;
    return std::make_pair(first, last);
}

QString PaneSelection::Summary(const TDirData& pane, const std::vector<int>& selectedRows)
{
    int dirs = 0;
    int files = 0;
    int64_t total = 0;
    for (int row : selectedRows) {
        if (row < 0 || row >= pane.Count)
            continue;
        const TFileData& e = *pane.Item(row);
        if (e.Kind == fkFile) {
            ++files;
            total += e.Size;
        } else if (e.Kind == fkDirectory && !e.IsParent()) {
            ++dirs;
            if (e.Size != -1)
                total += e.Size;
        }
    }
    return QCoreApplication::translate("PaneSelection", "Selected : %1 dirs and %2 files (%3 bytes)")
        .arg(dirs)
        .arg(files)
        .arg(FormatFloat(QStringLiteral("###,###,###,###"), double(total)));
}
