#include "app/PaneColumnWidths.h"

#include "app/CellTexts.h"
#include "app/TDirData.h"
#include "app/TextMeasure.h"
#include "platform/FileNames.h"

#include <QHash>

void PaneColumnWidths::Measure(TDirData& pane, const QFontMetrics& fm)
{
    pane.ColumnWidths = {10, 10, 10};
    pane.ColumnWidths[1] = std::max(10, fm.horizontalAdvance(QStringLiteral("99.999/99.999")) + 3);
    TextMeasure names(fm);
    // Time texts repeat a few shapes, so equal texts are measured once.
    QHash<uint32_t, int> timeWidths;
    for (int i = 0; i < pane.Count; ++i) {
        const TFileData& e = *pane.Item(i);
        // A volume row shows its whole mount point only where there is room; sized
        // for the longest one, the name column would push the others off the pane.
        if (e.Kind == fkDrive)
            continue;
        names.Offer(DisplayFileName(e.Name));
        auto it = timeWidths.constFind(e.Time);
        if (it == timeWidths.constEnd())
            it = timeWidths.insert(e.Time, fm.horizontalAdvance(EntryTexts::Time(e)) + 3);
        pane.ColumnWidths[2] = std::max(pane.ColumnWidths[2], *it);
    }
    pane.ColumnWidths[0] = std::max(pane.ColumnWidths[0], names.Widest() + 16 + 2);
}
