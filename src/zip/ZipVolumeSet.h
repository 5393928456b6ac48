// A zip spanned over several volumes, each a file: finding the volumes of a set from
// its last one, and joining them into one archive whose offsets count from its start,
// which the reader and the libraries take like any zip.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class ZipVolumeSet {
public:
    // The file of volume `number` (from 1) of the set whose last volume is `last`:
    // "name.z01" as Info-ZIP writes them, or "name001.zip" (the number before the
    // extension). The last volume is `last` itself. Empty when neither exists.
    static QString VolumeFile(const QString& last, int number, int count);

    // Asks for a volume that is missing: true to look again, false to give up.
    using Asker = std::function<bool(int number, int count)>;

    // Joins the `count` volumes ending in `last` into `output`. Returns 0, or the
    // number of the message that says why not (11007 when the asker gave up, 11036
    // when the volumes do not form an archive).
    static int Join(const QString& last, int count, const QString& output, const Asker& ask);

private:
    static int FixOffsets(const QString& output, const std::vector<qint64>& starts);
};
