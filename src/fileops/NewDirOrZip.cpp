#include "fileops/NewDirOrZip.h"
#include "core/PosixIo.h"

#include "fileops/TDlgNewDir.h"
#include "platform/FileNames.h"
#include "platform/TMessages.h"

#include <QCoreApplication>
#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// One name typed by the user becomes exactly one new entry in the pane's folder:
// a separator would reach into another folder, a NUL would cut the name short.
bool isSingleName(const QString& name)
{
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) && !name.contains(QChar(0));
}

QString zipFileName(const QString& typed)
{
    if (typed.right(4).toUpper() == QLatin1String(".ZIP"))
        return typed;
    return typed + QStringLiteral(".ZIP");
}


bool createFolder(const QString& path)
{
    return ::mkdir(EncodeFileName(path).constData(), 0777) == 0;
}

// False when the template cannot be read, the file already exists or it cannot be
// written (a partly written file is removed again).
bool copyEmptyZip(const QString& emptyZipTemplate, const QString& path)
{
    QFile source(emptyZipTemplate);
    if (emptyZipTemplate.isEmpty() || !source.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = source.readAll();
    if (source.error() != QFileDevice::NoError)
        return false;
    const QByteArray native = EncodeFileName(path);
    // O_EXCL: an existing file of that name, even one made a moment ago by another
    // program, is never overwritten.
    const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    const bool written = WriteAll(fd, bytes);
    const bool closed = ::close(fd) == 0;
    if (written && closed)
        return true;
    ::unlink(native.constData());
    return false;
}

} // namespace

QString CreateDirOrZip(const QString& paneDir, bool zipOnly, const QString& emptyZipTemplate, QWidget* parent)
{
    const QString dir = paneDir.endsWith(QLatin1Char('/')) ? paneDir : paneDir + QLatin1Char('/');
    TDlgNewDir dialog(parent);
    if (zipOnly)
        dialog.SetZipOnly();
    for (;;) {
        if (ShowModal(dialog) != QDialog::Accepted)
            return {};
        const QString typed = dialog.Name();
        if (dialog.Zip()) {
            const QString full = dir + zipFileName(typed);
            if (isSingleName(typed) && copyEmptyZip(emptyZipTemplate, full))
                return full;
            TMessages::Show(MsgKind::Warning,
                            QCoreApplication::translate("NewDirOrZip", "Unable to create zip ") + dir + typed
                                + QStringLiteral("."),
                            MsgButtons::Ok, parent);
        } else {
            const QString full = dir + typed;
            if (isSingleName(typed) && createFolder(full))
                return full;
            TMessages::Show(MsgKind::Warning,
                            QCoreApplication::translate("NewDirOrZip", "Unable to create ") + dir + typed
                                + QStringLiteral("."),
                            MsgButtons::Ok, parent);
        }
    }
}
