// The archive file's own time, set to that of its newest entry (so a folder listing
// shows when its contents last changed, not when it was last rewritten).
#pragma once

#include <string>

namespace ArchiveTimes {

bool SetToNewestEntry(const std::string& archivePath);

} // namespace ArchiveTimes
