// Measures a folder the way `du -x` walks it: every entry below it, symbolic links
// never followed, other file systems never entered. Safe on any thread.
#pragma once

#include <QString>
#include <atomic>
#include <cstdint>
#include <optional>

struct DirSizeResult {
    QString Path;
    uint32_t FileCount = 0;
    uint32_t DirCount = 0;
    int64_t AllocatedSize = 0;   // allocated blocks, each hard-linked file once
    int64_t Size = 0;            // apparent size of every file
};

class DirSizeCounter {
public:
    // Nothing when `stop` was set during the walk. An unreadable folder counts as empty.
    static std::optional<DirSizeResult> Measure(const QString& folder, const std::atomic<bool>& stop);
};
