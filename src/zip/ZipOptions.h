// The option sets of the zip component, in their published order: each value is the
// bit of its place, so a set is a plain bit mask.
#pragma once

#include <QFlags>

enum class AddOpt : uint32_t {
    AddDirNames = 1u << 0, AddRecurseDirs = 1u << 1, AddMove = 1u << 2, AddFreshen = 1u << 3,
    AddUpdate = 1u << 4, AddZipTime = 1u << 5, AddForceDOS = 1u << 6, AddHiddenFiles = 1u << 7,
    AddArchiveOnly = 1u << 8, AddResetArchive = 1u << 9, AddEncrypt = 1u << 10,
    AddSeparateDirs = 1u << 11, AddDiskSpan = 1u << 12, AddDiskSpanErase = 1u << 13
};
Q_DECLARE_FLAGS(AddOpts, AddOpt)
Q_DECLARE_OPERATORS_FOR_FLAGS(AddOpts)

enum class AddStoreExt : uint32_t {
    assGIF = 1u << 0, assPNG = 1u << 1, assZ = 1u << 2, assZIP = 1u << 3, assZOO = 1u << 4,
    assARC = 1u << 5, assLZH = 1u << 6, assARJ = 1u << 7, assTAZ = 1u << 8, assTGZ = 1u << 9,
    assLHA = 1u << 10, assEXE = 1u << 11
};
Q_DECLARE_FLAGS(AddStoreExts, AddStoreExt)
Q_DECLARE_OPERATORS_FOR_FLAGS(AddStoreExts)

enum class ExtrOpt : uint32_t {
    ExtrDirNames = 1u << 0, ExtrOverWrite = 1u << 1, ExtrFreshen = 1u << 2, ExtrUpdate = 1u << 3,
    ExtrTest = 1u << 4
};
Q_DECLARE_FLAGS(ExtrOpts, ExtrOpt)
Q_DECLARE_OPERATORS_FOR_FLAGS(ExtrOpts)

enum class SFXOpt : uint32_t {
    SFXAskCmdLine = 1u << 0, SFXAskFiles = 1u << 1, SFXAutoRun = 1u << 2,
    SFXHideOverWriteBox = 1u << 3, SFXCheckSize = 1u << 4, SFXNoSuccessMsg = 1u << 5
};
Q_DECLARE_FLAGS(SFXOpts, SFXOpt)
Q_DECLARE_OPERATORS_FOR_FLAGS(SFXOpts)

enum class OvrOpts { OvrConfirm, OvrAlways, OvrNever };
enum class DeleteOpts { htdFinal, htdAllowUndo };
// The code page rule of names and comments is CodePageMode (ZipListing.h): Auto, None, Oem.
