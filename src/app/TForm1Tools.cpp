// The window's tool commands: each opens its tool's dialog on the active pane.
#include "app/TForm1.h"

#include "tools/sfv/TDlgValidateSFV.h"

namespace {

// The selected file entry of the pane; the last one should there be several.
QString lastSelectedFile(const TDirData& pane, const std::vector<int>& rows)
{
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        if (pane.Item(*row)->Kind == fkFile)
            return pane.Item(*row)->Name;
    }
    return {};
}

} // namespace

void TForm1::CheckSFVvalues1Click()
{
    TDlgValidateSFV::Execute(this, ActivePane().Path, lastSelectedFile(ActivePane(), SelectedRows(ActivePane())));
}
