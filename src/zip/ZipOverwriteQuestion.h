// The overwrite question of an extraction in the program's own dialog, the one a pane's
// copies show, through the dialog seam so tests answer it.
#pragma once

#include "platform/FileOpObserver.h"

class QWidget;

namespace ZipOverwriteQuestion {

OverwriteChoice Ask(const FileOpConflict& conflict, QWidget* parent);

} // namespace ZipOverwriteQuestion
