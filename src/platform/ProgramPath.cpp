// Program look-up (see ProgramPath.h).
#include "platform/ProgramPath.h"

#include <QFileInfo>
#include <QStandardPaths>

QString ResolveProgram(const QString& program)
{
    if (program.contains(u'/')) {
        const QFileInfo info(program);
        return info.isFile() && info.isExecutable() ? info.absoluteFilePath() : QString();
    }
    return QStandardPaths::findExecutable(program);
}
