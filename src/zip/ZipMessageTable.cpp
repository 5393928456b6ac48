#include "ZipMessageTable.h"

#include <QCoreApplication>
#include <QHash>

namespace {

const QHash<int, const char*>& Texts()
{
    using namespace ZipMessageTable;
    static const QHash<int, const char*> texts = {
        {FatalZipDll, QT_TRANSLATE_NOOP("ZipMaster", "Fatal Error in ZipDLL.DLL: abort exception")},
        {NoZipFile, QT_TRANSLATE_NOOP("ZipMaster", "Error - no zip file specified!")},
        {OutOfMemory, QT_TRANSLATE_NOOP("ZipMaster", "Requested memory not available")},
        {PasswordsDiffer, QT_TRANSLATE_NOOP("ZipMaster", "Error - passwords do NOT match\nPassword ignored")},
        {Copying, QT_TRANSLATE_NOOP("ZipMaster", "Copying: ")},
        {SfxHeaderCopyError, QT_TRANSLATE_NOOP("ZipMaster", "Error while copying the SFX header")},
        {NoAddPassword, QT_TRANSLATE_NOOP("ZipMaster", "Error - no add password given")},
        {NoExtractPassword, QT_TRANSLATE_NOOP("ZipMaster", "Error - no extract password given")},
        {OkButton, QT_TRANSLATE_NOOP("ZipMaster", "&Ok")},
        {CancelButton, QT_TRANSLATE_NOOP("ZipMaster", "&Cancel")},
        {PasswordCaption, QT_TRANSLATE_NOOP("ZipMaster", "Password")},
        {EnterPassword, QT_TRANSLATE_NOOP("ZipMaster", "Enter Password ")},
        {ConfirmPassword, QT_TRANSLATE_NOOP("ZipMaster", "Confirm Password ")},
        {SfxDataCopyError, QT_TRANSLATE_NOOP("ZipMaster", "Error while copying the SFX data")},
        {SeekError, QT_TRANSLATE_NOOP("ZipMaster", "Seek error reading Zip archive!")},
        {UnknownListError, QT_TRANSLATE_NOOP("ZipMaster", "Unknown error in List() function\n")},
        {StructureWarning, QT_TRANSLATE_NOOP("ZipMaster", "Warning - Error in zip structure!")},
        {GarbageWarning, QT_TRANSLATE_NOOP("ZipMaster", "Warning - Garbage at the end of the zipfile!")},
        {NoFilesToZip, QT_TRANSLATE_NOOP("ZipMaster", "Error - no files to zip!")},
        {UnattendedNeedsPassword, QT_TRANSLATE_NOOP("ZipMaster", "Unattended action not possible without a password")},
        {SpannedFreshen, QT_TRANSLATE_NOOP("ZipMaster", "AddFreshen or AddUpdate not possible on a spanned archive")},
        {AutoSfxFailed, QT_TRANSLATE_NOOP("ZipMaster", "Error %.1d occurred during Auto SFX creation.")},
        {FatalUnzDll, QT_TRANSLATE_NOOP("ZipMaster", "Fatal Error in UnzDLL.DLL: abort exception")},
        {UnattendedExtract, QT_TRANSLATE_NOOP("ZipMaster", "Warning - Unattended Extract: possible not all files extracted")},
        {NoStreams, QT_TRANSLATE_NOOP("ZipMaster", "Error - your UnzDLL.dll can not use streams, please update to version >= 1.60")},
        {ZipDllLoaded, QT_TRANSLATE_NOOP("ZipMaster", "ZIP DLL Loaded")},
        {ZipDllExecMissing, QT_TRANSLATE_NOOP("ZipMaster", "ZipDllExec function not found in ZIPDLL.DLL!")},
        {ZipDllVersionMissing, QT_TRANSLATE_NOOP("ZipMaster", "GetZipDllVersion function not found in ZIPDLL.DLL!")},
        {ZipDllNotFound, QT_TRANSLATE_NOOP("ZipMaster", "ZIPDLL.DLL not found!")},
        {UnzDllLoaded, QT_TRANSLATE_NOOP("ZipMaster", "UNZDLL Loaded!")},
        {UnzDllExecMissing, QT_TRANSLATE_NOOP("ZipMaster", "UnzDllExec function not found in UNZDLL.DLL!")},
        {UnzDllVersionMissing, QT_TRANSLATE_NOOP("ZipMaster", "GetUnzDllVersion function not found in UNZDLL.DLL!")},
        {UnzDllNotFound, QT_TRANSLATE_NOOP("ZipMaster", "UNZDLL.DLL not found!")},
        {SfxStringsTooLong, QT_TRANSLATE_NOOP("ZipMaster", "Error - On or more of the 4 property strings mentioned below exceeds 255 characters!")},
        {SfxStubNotFound, QT_TRANSLATE_NOOP("ZipMaster", "Error - ZIPSFX.BIN not found!")},
        {NotAZipFile, QT_TRANSLATE_NOOP("ZipMaster", "Error: input file is not a zip file")},
        {InputMissing, QT_TRANSLATE_NOOP("ZipMaster", "Input file does not exist")},
        {CannotOpen, QT_TRANSLATE_NOOP("ZipMaster", "Zip file could not be opened")},
        {InvalidDrive, QT_TRANSLATE_NOOP("ZipMaster", "Not a valid drive: %s")},
        {DriveUndefined, QT_TRANSLATE_NOOP("ZipMaster", "Drive %s is NOT defined")},
        {UserCancelled, QT_TRANSLATE_NOOP("ZipMaster", "User canceled operation")},
        {InputSeekError, QT_TRANSLATE_NOOP("ZipMaster", "Seek error in input file")},
        {EndRecordReadError, QT_TRANSLATE_NOOP("ZipMaster", "Error while reading the End Of Central Directory")},
        {HeaderReadError, QT_TRANSLATE_NOOP("ZipMaster", "Error while reading a central header")},
        {HeaderSignatureWrong, QT_TRANSLATE_NOOP("ZipMaster", "A central header signature is wrong")},
        {NameReadError, QT_TRANSLATE_NOOP("ZipMaster", "Error while reading a central file name")},
        {CommentReadError, QT_TRANSLATE_NOOP("ZipMaster", "Error while reading a file comment")},
        {UnattendedSpanning, QT_TRANSLATE_NOOP("ZipMaster", "Unattended disk spanning not implemented")},
        {InsertLastDisk, QT_TRANSLATE_NOOP("ZipMaster", "Please insert last disk")},
        {InsertVolumeOf, QT_TRANSLATE_NOOP("ZipMaster", "Please insert disk volume %.1d of %.1d")},
        {InDrive, QT_TRANSLATE_NOOP("ZipMaster", "\nin drive: %s")},
        {NotAZip, QT_TRANSLATE_NOOP("ZipMaster", "This archive is not a valid Zip archive")},
        {FirstDiskOfSet, QT_TRANSLATE_NOOP("ZipMaster", "This is the first disk in a backup set,\nplease insert the last disk of this set")},
        {NthDiskOfSet, QT_TRANSLATE_NOOP("ZipMaster", "This is the %dth disk in a backup set,\nplease insert the last disk of this set")},
        {SfxCannotSpan, QT_TRANSLATE_NOOP("ZipMaster", "Error - Self extracting archives(.exe) can not be spanned")},
        {FirstFileOfSet, QT_TRANSLATE_NOOP("ZipMaster", "This is the first file in a backup set,\nplease choose the last file of this set")},
        {InsertVolume, QT_TRANSLATE_NOOP("ZipMaster", "Please insert disk volume %.1d")},
    };
    return texts;
}

} // namespace

namespace ZipMessageTable {

QString Text(int code)
{
    const char* text = Texts().value(code, nullptr);
    if (!text)
        return QCoreApplication::translate("ZipMaster", "ZipMsgXX.res is probably not linked to the executable\nMissing String ID is: ")
               + QString::number(code);
    return QCoreApplication::translate("ZipMaster", text);
}

bool Has(int code)
{
    return Texts().contains(code);
}

} // namespace ZipMessageTable
