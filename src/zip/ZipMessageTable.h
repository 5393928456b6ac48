// The zip component's texts by number. Every report of the component goes out as one
// of these, so a translator sees each text once under the "ZipMaster" context.
#pragma once

#include <QString>

namespace ZipMessageTable {

enum Code {
    FatalZipDll = 10101, NoZipFile = 10102, OutOfMemory = 10103, PasswordsDiffer = 10104,
    Copying = 10105, SfxHeaderCopyError = 10140, NoAddPassword = 10150, NoExtractPassword = 10151,
    OkButton = 10152, CancelButton = 10153, PasswordCaption = 10154, EnterPassword = 10155,
    ConfirmPassword = 10156, SfxDataCopyError = 10184, SeekError = 10201, UnknownListError = 10202,
    StructureWarning = 10203, GarbageWarning = 10204, NoFilesToZip = 10301,
    UnattendedNeedsPassword = 10302, SpannedFreshen = 10303, AutoSfxFailed = 10304,
    FatalUnzDll = 10501, UnattendedExtract = 10502, NoStreams = 10503, ZipDllLoaded = 10601,
    ZipDllExecMissing = 10602, ZipDllVersionMissing = 10603, ZipDllNotFound = 10604,
    UnzDllLoaded = 10701, UnzDllExecMissing = 10702, UnzDllVersionMissing = 10703,
    UnzDllNotFound = 10704, SfxStringsTooLong = 10801, SfxStubNotFound = 10802,
    NotAZipFile = 10803, InputMissing = 11001, CannotOpen = 11002, InvalidDrive = 11003,
    DriveUndefined = 11004, UserCancelled = 11007, InputSeekError = 11008,
    EndRecordReadError = 11011, HeaderReadError = 11013, HeaderSignatureWrong = 11015,
    NameReadError = 11017, CommentReadError = 11022, UnattendedSpanning = 11025,
    InsertLastDisk = 11033, InsertVolumeOf = 11034, InDrive = 11035, NotAZip = 11036,
    FirstDiskOfSet = 11037, NthDiskOfSet = 11038, SfxCannotSpan = 11041, FirstFileOfSet = 11045,
    InsertVolume = 11046
};

// The text of `code`; for a number without a text, the note that says which is missing.
QString Text(int code);

// Whether `code` has a text of its own.
bool Has(int code);

} // namespace ZipMessageTable
