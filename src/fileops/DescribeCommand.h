// The Describe command on a pane's selected files and folders: one description dialog
// per entry, starting from the stored text (or the clipboard's when there is none),
// each accepted text written to the folder's DESCRIPT.ION.
#pragma once

#include <QStringList>

class QWidget;

void RunDescribeCommand(const QStringList& paths, QWidget* parent = nullptr);
