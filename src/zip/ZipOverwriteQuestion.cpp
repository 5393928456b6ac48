#include "ZipOverwriteQuestion.h"

#include "platform/TDlgOverwrite.h"
#include "platform/TMessages.h"

OverwriteChoice ZipOverwriteQuestion::Ask(const FileOpConflict& conflict, QWidget* parent)
{
    TDlgOverwrite dialog(conflict, parent);
    return TDlgOverwrite::ChoiceOf(ShowModal(dialog));
}
