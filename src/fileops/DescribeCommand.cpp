#include "fileops/DescribeCommand.h"

#include "fileops/Descriptions.h"
#include "fileops/TDlgDescription.h"
#include "platform/TMessages.h"

void RunDescribeCommand(const QStringList& paths, QWidget* parent)
{
    TDlgDescription dialog(parent);
    for (const QString& path : paths) {
        dialog.SetText(ReadDescription(path));
        if (dialog.Text().isEmpty())
            dialog.PasteClipClick();
        dialog.SelectAll();
        if (ShowModal(dialog) == QDialog::Accepted)
            WriteDescription(path, dialog.Text());
    }
}
