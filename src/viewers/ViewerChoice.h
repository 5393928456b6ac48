// Which viewer shows an entry: for a file the name's extension and the archive magic
// decide, the first rule that matches wins, unless "View as text" or "View infos"
// decided; anything else gets the information page.
#pragma once

#include <QString>

enum class ViewerKind { Info, Text, Image, Music, Vox, ArchiveRar, ArchiveAce };

class ViewerChoice {
public:
    struct Facts {
        QString Name;            // the entry's name
        bool IsFile = true;      // false for folders, drives and ".."
        bool RarMagic = false;
        bool AceMagic = false;
    };
    static ViewerKind Choose(const Facts& facts, bool asText, bool info);
    // The upper-cased extension with its dot, "" when the name has none.
    static QString UpperExt(const QString& name);
};
