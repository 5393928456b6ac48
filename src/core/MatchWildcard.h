// Wildcard matching of one mask against one whole name, as every filter, hide rule
// and user-typed pattern of the program uses it.
#pragma once

#include <QString>

// '*' matches any run of characters (also none), '?' exactly one character, every
// other character itself with ASCII letters compared without case. The whole name
// must be consumed. No ';'-separated lists.
bool MatchWildcard(const QString& mask, const QString& name);
