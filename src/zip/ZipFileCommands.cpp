#include "ZipFileCommands.h"

#include "TZipMaster.h"
#include "platform/TMessages.h"
#include "platform/doors/SourceRemoval.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <utility>

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("ZipFileCommands", text);
}

QString withoutLeadingSlash(QString fileSpec)
{
    if (fileSpec.startsWith(QLatin1Char('/')) || fileSpec.startsWith(QLatin1Char('\\')))
        fileSpec.remove(0, 1);
    return fileSpec;
}

// Counts the errors the libraries report during one operation.
class ErrorWatch {
public:
    explicit ErrorWatch(TZipMaster& zip) : m_zip(zip), m_previous(zip.OnMessage)
    {
        m_zip.OnMessage = [this](int code, const QString& text) {
            if (code != 0)
                ++m_errors;
            if (m_previous)
                m_previous(code, text);
        };
    }
    ~ErrorWatch() { m_zip.OnMessage = m_previous; }
    int Errors() const { return m_errors; }

private:
    TZipMaster& m_zip;
    std::function<void(int, const QString&)> m_previous;
    int m_errors = 0;
};

} // namespace

ZipFileCommands::ZipFileCommands(TZipMaster& zip)
    : Flush([](const QString& folder) { return SourceRemoval::FlushFileSystem(QFile::encodeName(folder).toStdString()); }),
      m_zip(zip)
{
}

QStringList ZipFileCommands::SourceSpecs(const QString& archivePath, const std::vector<Selected>& selection)
{
    QStringList fileSpecs;
    for (const Selected& item : selection)
        fileSpecs << withoutLeadingSlash(archivePath + item.Name + (item.IsFolder ? QStringLiteral("/*.*") : QString()));
    return fileSpecs;
}

QStringList ZipFileCommands::TargetSpecs(const std::vector<Selected>& selection)
{
    QStringList fileSpecs;
    for (const Selected& item : selection)
        fileSpecs << withoutLeadingSlash(item.Name + (item.IsFolder ? QStringLiteral("/*.*") : QString()));
    return fileSpecs;
}

ZipFileCommands::Outcome ZipFileCommands::Run(int operation, const Side& source, const Side& target,
                                              const std::vector<Selected>& selection, bool fastZipMove)
{
    if (selection.empty() || m_zip.Busy())
        return {};
    if (source.InsideZip)
        return OutOfZip(operation, source, target, selection, fastZipMove);
    if (target.InsideZip && (operation == Move || operation == Copy))
        return IntoZip(operation, source, target, selection);
    return {};
}

ZipFileCommands::Outcome ZipFileCommands::OutOfZip(int operation, const Side& source, const Side& target,
                                                   const std::vector<Selected>& selection, bool fastZipMove)
{
    if ((operation == Move || operation == Copy) && target.InsideZip) {
        TMessages::Show(MsgKind::Information, tr("File operations are not (yet) supported between ZIP files..."));
        return {};
    }
    if (operation == Rename) {
        TMessages::Show(MsgKind::Information, tr("Renaming is not (yet) supported for ZIP files..."));
        return {};
    }
    if (operation == Delete)
        return {DeleteMembers(source, SourceSpecs(source.ArchivePath, selection), true), false};
    if (operation != Move && operation != Copy)
        return {};
    const ZipOverwriteAnswers answers(m_zip, AskOverwrite);
    const bool extracted = Extract(source, target, selection);
    if (operation == Copy || answers.Cancelled())
        return {false, true};
    // Entries that did not arrive whole must not be deleted from their only copy.
    if (!extracted) {
        TMessages::Show(MsgKind::Warning, tr("Not every file could be extracted: the source ZIP was left unchanged."));
        return {false, true};
    }
    if (!fastZipMove
        && TMessages::Show(MsgKind::Confirmation, tr("Do you really want to DELETE the files from the source ZIP?"),
                           MsgButtons::YesNo) != MsgResult::Yes)
        return {false, true};
    if (!Flush(target.Folder)) {
        TMessages::Show(MsgKind::Warning,
                        tr("The extracted files could not be written to disk: the source ZIP was left unchanged."));
        return {false, true};
    }
    // A member the user chose to keep in the target was never written: it stays.
    const QStringList fileSpecs = answers.Skipped().isEmpty() ? SourceSpecs(source.ArchivePath, selection)
                                                              : ArrivedMembers(source, selection, answers.Skipped());
    return {!fileSpecs.isEmpty() && DeleteMembers(source, fileSpecs, false), true};
}

// The file members under the selection that were written, each by its own name; folder
// entries stay, as some of what they hold may stay too.
QStringList ZipFileCommands::ArrivedMembers(const Side& source, const std::vector<Selected>& selection,
                                            const QSet<QString>& skipped) const
{
    QStringList names;
    for (int i = 0; i < m_zip.EntryCount(); ++i) {
        const QString& name = m_zip.Entry(i).FileName;
        if (name.endsWith(QLatin1Char('/')) || skipped.contains(name))
            continue;
        for (const Selected& item : selection) {
            const QString selected = withoutLeadingSlash(source.ArchivePath + item.Name);
            if (item.IsFolder ? name.startsWith(selected + QLatin1Char('/')) : name == selected) {
                names << name;
                break;
            }
        }
    }
    return names;
}

bool ZipFileCommands::Extract(const Side& source, const Side& target, const std::vector<Selected>& selection)
{
    ErrorWatch errors(m_zip);
    if (m_zip.ZipFileName() != source.ZipPath())
        m_zip.SetZipFileName(source.ZipPath());
    m_zip.ExtrBaseDir = target.Folder;
    m_zip.ExtrOptions = ExtrOpt::ExtrDirNames;
    m_zip.FSpecArgs = SourceSpecs(source.ArchivePath, selection);
    m_zip.ExtractFiles();
    return errors.Errors() == 0 && m_zip.FilesDone() > 0;
}

bool ZipFileCommands::DeleteMembers(const Side& source, const QStringList& fileSpecs, bool confirm)
{
    if (m_zip.ZipFileName() != source.ZipPath())
        m_zip.SetZipFileName(source.ZipPath());
    m_zip.FSpecArgs = fileSpecs;
    const bool asks = std::exchange(m_zip.ConfirmErase, confirm && m_zip.ConfirmErase);
    m_zip.Delete();
    m_zip.ConfirmErase = asks;
    return m_zip.FilesDone() > 0;
}

ZipFileCommands::Outcome ZipFileCommands::IntoZip(int operation, const Side& source, const Side& target,
                                                  const std::vector<Selected>& selection)
{
    const QString previous = QDir::currentPath();
    QDir::setCurrent(source.Folder);
    if (m_zip.ZipFileName() != target.ZipPath())
        m_zip.SetZipFileName(target.ZipPath());
    AddOpts options = AddOpt::AddDirNames | AddOpt::AddRecurseDirs | AddOpt::AddHiddenFiles;
    if (operation == Move)
        options |= AddOpt::AddMove;
    const AddOpts saved = m_zip.AddOptions;
    m_zip.AddOptions = options;
    m_zip.AddArchiveFolder = target.ArchivePath;
    m_zip.FSpecArgs = TargetSpecs(selection);
    m_zip.AddFiles();
    m_zip.AddOptions = saved;
    m_zip.AddArchiveFolder.clear();
    QDir::setCurrent(previous);
    return {operation == Move, true};
}
