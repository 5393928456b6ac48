// Archive formats told by their first bytes, whatever the name says. A file that
// cannot be read matches nothing.
#pragma once

#include <QString>

class FileMagic {
public:
    // Longer than 4 bytes and starting with "Rar!".
    static bool IsRarFile(const QString& path);
    // Longer than 14 bytes with "**ACE**" at offset 7.
    static bool IsAceFile(const QString& path);
};
