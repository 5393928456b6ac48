// Every occurrence of a pattern in a file, overlapping ones included, read in 64 KiB
// blocks (a hit may cross a block's end). Runs on a worker thread; `stop` ends it early.
#pragma once

#include "viewers/text/HitList.h"

#include <QByteArray>
#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

class TextSearch {
public:
    // Offsets of the hits' first bytes, ascending. Case-insensitive folds ASCII letters,
    // and in the OEM set its accented letters, in the ANSI (UTF-8) set letters of any
    // script. Progress gets the percent read. Empty on an unreadable file (*error set).
    static std::vector<qint64> FindAll(const QString& path, const QString& text, bool caseInsensitive, bool oem,
                                       const std::atomic<bool>* stop = nullptr,
                                       const std::function<void(int percent)>& progress = {},
                                       QString* error = nullptr);
    // The same into `hits`, kept compact for files with hundreds of millions of them.
    // False (*error set) when the file cannot be opened or read, or got shorter while
    // it was read; the hits found before stay.
    static bool Find(const QString& path, const QString& text, bool caseInsensitive, bool oem, HitList& hits,
                     const std::atomic<bool>* stop = nullptr, const std::function<void(int percent)>& progress = {},
                     QString* error = nullptr);
};
