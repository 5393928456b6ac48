/* The records the zip component hands to ZIPDLL.DLL and UNZDLL.DLL, and the record the
 * libraries call back with. Both sides include this header. Fields keep their order and
 * meaning; pointers and the callback are at native width, so the byte offsets named
 * beside the fields are those of the 32-bit layout. Booleans are 0 or -1. Reserved
 * fields are 0. */
#ifndef DORVANE_ZIPDLLRECORDS_H
#define DORVANE_ZIPDLLRECORDS_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

enum { ZIPDLL_INTERFACE_VERSION = 160, ZIPDLL_RECORD_SEVEN = 7, ZIPDLL_TEXT_SIZE = 512,
       ZIPDLL_PASSWORD_MAX = 80 };

/* Action codes of the callback record. */
enum ZipCallbackAction {
    ZCB_NEW_FILE = 1,      /* a file begins: Number = its size, Text = its name */
    ZCB_PROGRESS = 2,      /* Number = bytes done since the last call */
    ZCB_END_BATCH = 3,
    ZCB_MESSAGE = 4,       /* ErrorCode (0 = information) and Text */
    ZCB_TOTAL_FILES = 5,   /* Number */
    ZCB_TOTAL_SIZE = 6,    /* Number */
    ZCB_NEW_NAME = 7,      /* Text = the name; the answer is written back into Text */
    ZCB_PASSWORD = 8,      /* ErrorCode bit 0: a password for adding; Number = tries left;
                              answer: Text, ErrorCode 1 = given, 0 = none */
    ZCB_CRC_ERROR = 9,     /* Text = the name; answer in ErrorCode (2 when unhandled) */
    ZCB_OVERWRITE = 10,    /* Text = the existing file; answer ErrorCode 1 = overwrite */
    ZCB_SKIPPED = 11       /* Text = the name; ErrorCode = why (ZSK_*) */
};

/* Why a file was skipped (ZCB_SKIPPED). */
enum ZipSkipReason {
    ZSK_EXISTS = 1,        /* the target exists and may not be overwritten */
    ZSK_NOT_NEWER = 2,     /* freshen or update found the target as new */
    ZSK_UNSAFE_NAME = 3,   /* the name or link would leave the base folder */
    ZSK_BAD_PASSWORD = 4,
    ZSK_DAMAGED = 5,       /* unreadable data, unsupported method or CRC error */
    ZSK_WRITE_FAILED = 6
};

/* ErrorCode of a ZCB_MESSAGE from either library: 0 is information. */
enum ZipMessageCode {
    ZMC_INFO = 0,
    ZMC_FILE_PROBLEM = 1,  /* one file or member was left out; the others went on */
    ZMC_FAILED = 2,        /* the operation failed as a whole: nothing was written */
    ZMC_CANCELLED = 3      /* the callback returned -1; nothing more was done */
};

/* Encryption of a file pattern (ZipFileSpec.Encrypt). */
enum ZipSpecEncryption { ZSE_DEFAULT = 0, ZSE_NONE = 1, ZSE_TRADITIONAL = 2, ZSE_AES256 = 3 };

typedef struct ZipCallbackRecord {
    intptr_t Handle;                 /*  0 */
    void* Caller;                    /*  4 the calling component, as given in the command */
    int32_t Version;                 /*  8 */
    int32_t IsZipOperation;          /* 12 -1 from ZIPDLL, 0 from UNZDLL */
    int32_t ActionCode;              /* 16 */
    int32_t ErrorCode;               /* 20 error code or answer */
    int64_t Number;                  /* 24 a size or count (64-bit here: files pass 4 GiB) */
    char Text[ZIPDLL_TEXT_SIZE];     /* 28 zero-terminated */
} ZipCallbackRecord;

/* Returns -1 to cancel the operation, 0 to go on. */
typedef int32_t (*ZipCallbackFunction)(ZipCallbackRecord* record);

typedef struct ZipFileSpec {         /* 104 bytes in the 32-bit layout */
    const char* FileSpec;                /*  0 file pattern, relative to the current folder */
    const char* ArchiveFolder;       /*  4 folder inside the archive the names go under
                                           ("docs/"), or null for the top */
    int32_t Reserved8;               /*  8 */
    const char* Password;            /* 12 this file pattern's password, or null */
    int32_t Encrypt;                 /* 16 ZipSpecEncryption */
    int32_t Recurse;                 /* 20 the command's Recurse unless marked otherwise */
    int32_t Reserved[20];            /* 24 .. 103 */
} ZipFileSpec;

typedef struct ZipAddCommand {       /* 216 bytes in the 32-bit layout */
    intptr_t Handle;                 /*   0 0 when unattended */
    void* Caller;                    /*   4 */
    int32_t Version;                 /*   8 always 160 */
    ZipCallbackFunction Callback;    /*  12 */
    int32_t Trace;                   /*  16 */
    const char* Password;            /*  20 at most 80 characters, or null */
    const char* StoreSuffixes;       /*  24 ".gif:.png:..." stored without compression */
    int32_t Encrypt;                 /*  28 */
    int32_t SystemFiles;             /*  32 include hidden and system files */
    int32_t Volume;                  /*  36 0 */
    int32_t Extra;                   /*  40 0 */
    int32_t NoDirEntries;            /*  44 -1 unless separate folder entries are wanted */
    int32_t Date;                    /*  48 0 */
    int32_t Verbose;                 /*  52 */
    int32_t Quiet;                   /*  56 always -1 */
    int32_t Level;                   /*  60 compression level 0..9 */
    int32_t ComprSpecial;            /*  64 0 */
    int32_t CrLfToLf;                /*  68 0 */
    int32_t JunkDirNames;            /*  72 */
    int32_t Recurse;                 /*  76 */
    int32_t Grow;                    /*  80 -1 (0 for a delete) */
    int32_t ForceDos;                /*  84 */
    int32_t Move;                    /*  88 delete the sources after adding */
    int32_t DeleteEntries;           /*  92 0 (-1 for a delete) */
    int32_t Update;                  /*  96 */
    int32_t Freshen;                 /* 100 */
    int32_t JunkSfx;                 /* 104 0 */
    int32_t LatestTime;              /* 108 set the archive's time to its latest entry */
    int32_t Reserved112;             /* 112 */
    int32_t Reserved116;             /* 116 */
    int32_t SpecCount;               /* 120 number of file patterns */
    const char* ZipFileName;         /* 124 */
    const char* TempDir;             /* 128 or null */
    const char* ArchiveComment;      /* 132 as read when the archive was listed, or null */
    int16_t ArchiveOnly;             /* 136 */
    int16_t ResetArchive;            /* 138 */
    ZipFileSpec* FileSpecs;              /* 140 SpecCount entries */
    int32_t Reserved144;             /* 144 */
    int32_t ExclusionCount;          /* 148 */
    const char** Exclusions;         /* 152 ExclusionCount texts */
    int32_t Reserved156[14];         /* 156 .. 211 */
    int32_t Seven;                   /* 212 the value 7 */
} ZipAddCommand;

typedef struct UnzFileSpec {         /* 72 bytes in the 32-bit layout */
    const char* FileSpec;                /*  0 name or wildcard pattern of members */
    int32_t Reserved[17];            /*  4 .. 71 */
} UnzFileSpec;

typedef struct UnzExtractCommand {   /* 148 bytes in the 32-bit layout */
    intptr_t Handle;                 /*   0 0 when unattended */
    void* Caller;                    /*   4 */
    int32_t Version;                 /*   8 always 160 */
    ZipCallbackFunction Callback;    /*  12 */
    int32_t Trace;                   /*  16 */
    int32_t Reserved20;              /*  20 */
    const char* Password;            /*  24 or null */
    int32_t TestOnly;                /*  28 */
    int32_t Reserved32;              /*  32 */
    int32_t Reserved36;              /*  36 */
    int32_t Quiet;                   /*  40 always -1 */
    int32_t Verbose;                 /*  44 */
    int32_t Update;                  /*  48 */
    int32_t Freshen;                 /*  52 */
    int32_t DirNames;                /*  56 keep the members' folder names */
    int32_t Overwrite;               /*  60 */
    int32_t SpecCount;               /*  64 */
    const char* ZipFileName;         /*  68 */
    UnzFileSpec* FileSpecs;              /*  72 SpecCount entries; none = every member */
    int32_t Reserved76;              /*  76 */
    int32_t ToMemory;                /*  80 extract the one specified member into Buffer */
    unsigned char* Buffer;           /*  84 */
    int64_t BufferSize;              /*  88 the buffer's size; the bytes written on return */
    int32_t Reserved92[3];           /*  92 .. 103 */
    int32_t PasswordRequestCount;    /* 104 tries the password callback gets */
    int32_t Reserved108[9];          /* 108 .. 143 */
    int32_t Seven;                   /* 144 the value 7 */
} UnzExtractCommand;

/* The exported entry points; each returns the number of files done. */
typedef int32_t (*ZipDllExecFunction)(ZipAddCommand* command);
typedef int32_t (*ZipDllVersionFunction)(void);
typedef int32_t (*UnzDllExecFunction)(UnzExtractCommand* command);
typedef int32_t (*UnzDllVersionFunction)(void);

#ifdef __cplusplus
}
#endif

#endif
