// Replacing a file's content in one step: the bytes go to a temporary file in the same
// folder, reach the disk, and are renamed over the old file, so a crash or a full disk
// leaves either the whole old content or the whole new one, never half of one.
#pragma once

#include <QByteArray>
#include <QString>

class AtomicFile {
public:
    // The temporary file's name is the file's name + ".dvtmp-" + six characters.
    static constexpr char kTempInfix[] = ".dvtmp-";

    enum class NewFile { AsCreated, Private };

    // 0, or the errno of the step that failed (nothing changed then). An existing file
    // keeps its permission bits and, where allowed, its owner; a new one gets the mode
    // a newly created file would, or 0600 when private.
    static int Write(const QString& path, const QByteArray& bytes, NewFile newFile = NewFile::AsCreated);
};
