// Replacing one of the program's own files (settings, DORVN.INI, the registry hives)
// in one step, through the door for replacing a user's file: a crash or a full disk
// leaves either the whole old content or the whole new one, never half of one.
#pragma once

#include <QByteArray>
#include <QString>

class AtomicFile {
public:
    // How earlier versions named their temporary files (the file's name + this + six
    // characters); their leftovers are still cleared.
    static constexpr char kTempInfix[] = ".dvtmp-";

    enum class NewFile { AsCreated, Private };

    // 0, or an errno saying why nothing changed: EACCES for a file its owner made
    // read-only, EPERM for another user's file. The program's own files are
    // overwritten even when another program changed them since they were read. An
    // existing file keeps its mode, owner and attributes; a new one gets the mode a
    // newly created file would, or 0600 when private.
    static int Write(const QString& path, const QByteArray& bytes, NewFile newFile = NewFile::AsCreated);
};
