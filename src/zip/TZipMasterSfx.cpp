// The component's conversion of a zip into a self-extracting program: finding the stub,
// checking the options, and handing the writing to SfxWriter.
#include "TZipMaster.h"

#include "SfxSettingsBlock.h"
#include "SfxWriter.h"
#include "ZipMessageTable.h"
#include "platform/TrashCan.h"
#include "platform/doors/SourceRemoval.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <fcntl.h>

using namespace ZipMessageTable;

namespace {

const QString kStubName = QStringLiteral("ZIPSFX.BIN");

int utf8Length(const QString& text)
{
    return int(text.toUtf8().size());
}

} // namespace

int TZipMaster::ConvertToSfx()
{
    if (RefuseWhileBusy())
        return -UserCancelled;
    return ConvertToSfx(false);
}

// The stub becomes the code of every self-extractor made, so it comes only from where
// the program's own code comes from; a relative name would be looked up in whatever
// folder the process happens to be in, where anyone may have left a file of that name.
QString TZipMaster::StubPath() const
{
    QStringList candidates;
    if (QDir::isAbsolutePath(SFXPath))
        candidates << SFXPath;
    candidates << QCoreApplication::applicationDirPath() + QLatin1Char('/') + kStubName;
    if (QDir::isAbsolutePath(m_dllDirectory))
        candidates << m_dllDirectory + QLatin1Char('/') + kStubName;
    for (const QString& candidate : candidates)
        if (QFileInfo(candidate).isFile())
            return candidate;
    return {};
}

// The source goes only after its self-extractor is safely written, and only while its
// name still holds the archive that was converted.
bool TZipMaster::TrashOrDelete(const QString& path, const FileIdentity& was) const
{
    if (HowToDelete == DeleteOpts::htdAllowUndo)
        return TrashCan::Move(path).Status == TrashCan::Outcome::Trashed;
    return SourceRemoval::Remove(QFile::encodeName(path).toStdString(), was) == SourceRemoval::Status::Removed;
}

// Returns 0, a negative code of the writer, or minus the number of the message that
// was reported when the conversion could not start.
int TZipMaster::ConvertToSfx(bool automatic)
{
    if (!automatic && (m_zipFileName.isEmpty() || !QFileInfo::exists(m_zipFileName))) {
        Report(NoZipFile);
        return -NoZipFile;
    }
    SfxSettingsBlock block;
    block.AskCmdLine = SFXOptions.testFlag(SFXOpt::SFXAskCmdLine);
    block.AskFiles = SFXOptions.testFlag(SFXOpt::SFXAskFiles);
    block.HideOverwriteBox = SFXOptions.testFlag(SFXOpt::SFXHideOverWriteBox);
    block.CheckSize = SFXOptions.testFlag(SFXOpt::SFXCheckSize);
    block.AutoRun = SFXOptions.testFlag(SFXOpt::SFXAutoRun);
    block.NoSuccessMessage = SFXOptions.testFlag(SFXOpt::SFXNoSuccessMsg);
    block.Overwrite = SFXOverWriteMode == OvrOpts::OvrAlways  ? SfxSettingsBlock::OverwriteMode::Always
                      : SFXOverWriteMode == OvrOpts::OvrNever ? SfxSettingsBlock::OverwriteMode::Never
                                                              : SfxSettingsBlock::OverwriteMode::Confirm;
    block.Caption = SFXCaption;
    block.DefaultDir = SFXDefaultDir;
    block.CommandLine = SFXCommandLine;
    block.Message = SFXMessage;
    const QByteArray bytes = block.Build();
    if (bytes.isEmpty()) {
        const int total = 12 + utf8Length(SFXCaption) + utf8Length(SFXDefaultDir) + utf8Length(SFXCommandLine)
                          + utf8Length(SFXMessage);
        Report(SfxStringsTooLong, QStringLiteral("\r\nSFXCaption + SFXDefaultDir + SFXCommandLine + SFXMessage = ")
                                      + QString::number((total + 3) / 4 * 4 + 1));
        return -SfxStringsTooLong;
    }
    const QString stub = StubPath();
    if (stub.isEmpty()) {
        Report(SfxStubNotFound);
        return -SfxStubNotFound;
    }
    QString output = m_zipFileName;
    if (!automatic) {
        const QFileInfo zip(m_zipFileName);
        if (zip.suffix().compare(QLatin1String("zip"), Qt::CaseInsensitive) != 0) {
            Report(NotAZipFile);
            return -NotAZipFile;
        }
        output = zip.path() + QLatin1Char('/') + zip.completeBaseName() + QStringLiteral(".exe");
    }
    const FileIdentity source = FileIdentity::At(AT_FDCWD, QFile::encodeName(m_zipFileName).constData());
    // An existing program of that name is replaced by the writer once the new one is
    // complete, so a failed conversion leaves it as it was.
    SfxWriter::Request request{stub, automatic ? QString() : m_zipFileName, bytes, output};
    const int code = SfxWriter::Write(request);
    if (code != SfxWriter::kSuccess || automatic)
        return code;
    TrashOrDelete(m_zipFileName, source);
    SetZipFileName(output);
    return code;
}
