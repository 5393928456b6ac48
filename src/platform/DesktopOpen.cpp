// Folder opening through xdg-open (see DesktopOpen.h): it knows which file manager
// the running desktop prefers, which a program cannot tell on its own.
#include "platform/DesktopOpen.h"
#include "platform/ProgramPath.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace {

QString g_openerOverride;   // UI thread only; set by tests

QString openerProgram() { return g_openerOverride.isEmpty() ? QStringLiteral("xdg-open") : g_openerOverride; }

bool fail(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}

} // namespace

bool OpenFolderInFileManager(const QString& folder, QString* error)
{
    const QFileInfo info(folder);
    if (folder.isEmpty() || !info.isDir())
        return fail(error, QCoreApplication::translate("DesktopOpen", "The folder %1 does not exist.").arg(folder));
    const QString name = QFileInfo(openerProgram()).fileName();
    const QString program = ResolveProgram(openerProgram());
    if (program.isEmpty())
        return fail(error, QCoreApplication::translate("DesktopOpen", "The program %1 is not installed.").arg(name));

    QProcess process;
    process.setProgram(program);
    // An absolute path never starts with "-", so it cannot be taken for an option.
    process.setArguments({info.absoluteFilePath()});
    process.setStandardInputFile(QProcess::nullDevice());
    if (!process.startDetached())
        return fail(error, QCoreApplication::translate("DesktopOpen", "The program %1 could not be started: %2")
                               .arg(name, process.errorString()));
    if (error)
        error->clear();
    return true;
}

void SetFolderOpenerForTests(const QString& program) { g_openerOverride = program; }
