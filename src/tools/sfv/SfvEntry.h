// One row of an SFV file: a listed file with the length and CRC the file gives it.
#pragma once

#include <QByteArray>
#include <QString>

struct SfvEntry {
    // The name lower-cased, by which later lines find the row again: SFV files are
    // written on systems that ignore case.
    QString Key;
    // The name as the file first wrote it, in the file system's bytes: the file to check
    // is opened by it, never by the lower-cased key (Linux names are case-sensitive).
    QByteArray Written;
    QString Length;   // the size line's length text; "" when no size line names the file
    QString Crc;      // the CRC as written; "" when no checksum line names the file
};
