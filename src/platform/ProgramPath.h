// Finding the external programs the platform layer starts (xdg-open, gio).
#pragma once

#include <QString>

// The absolute path of PROGRAM: a name is looked up in PATH, a path must name an
// executable file. Empty when there is none, so callers can say "not installed"
// before QProcess fails with a less helpful text.
QString ResolveProgram(const QString& program);
