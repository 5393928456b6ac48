// Helpers of the SFV tests: files of chosen content, SFV files written by cksfv, and a
// synchronous run of the validator that collects the final status of every row.
#pragma once

#include "core/Crc32.h"
#include "support/TempDir.h"
#include "tools/sfv/SfvReader.h"
#include "tools/sfv/SfvValidator.h"

#include <QFile>
#include <QProcess>
#include <QStringList>
#include <map>

namespace sfvtest {

// Bytes that differ from block to block, so a damaged block changes the CRC.
inline QByteArray pattern(qint64 size, int seed = 1)
{
    QByteArray bytes(size, Qt::Uninitialized);
    uint32_t x = 2463534242u + uint32_t(seed);
    for (qint64 i = 0; i < size; ++i) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        bytes[i] = char(x);
    }
    return bytes;
}

// A CRC as an SFV file writes it.
inline QByteArray crcText(const QByteArray& content)
{
    return QByteArray::number(Crc32::Of(content), 16).rightJustified(8, '0');
}

// Writes `sfvName` in the folder with cksfv, listing the given files; false when
// cksfv is missing or fails.
inline bool writeWithCksfv(const TempDir& dir, const QString& sfvName, const QStringList& files)
{
    QProcess cksfv;
    cksfv.setWorkingDirectory(dir.path());
    cksfv.start(QStringLiteral("cksfv"), files);
    if (!cksfv.waitForFinished(30000) || cksfv.exitStatus() != QProcess::NormalExit || cksfv.exitCode() != 0)
        return false;
    QFile out(dir.filePath(sfvName));
    return out.open(QIODevice::WriteOnly) && out.write(cksfv.readAllStandardOutput()) > 0;
}

inline QByteArray folderOf(const TempDir& dir)
{
    return QFile::encodeName(dir.path()) + '/';
}

// Final statuses by lower-cased name; a row that got none is missing from the map.
inline std::map<QString, SfvValidator::Status> validate(const TempDir& dir, const std::vector<SfvEntry>& entries)
{
    std::map<QString, SfvValidator::Status> statuses;
    SfvValidator validator(folderOf(dir), entries);
    QObject::connect(&validator, &SfvValidator::RowStatus, [&](int row, SfvValidator::Status status) {
        if (status != SfvValidator::Status::Processing)
            statuses[entries[size_t(row)].Key] = status;
    });
    validator.Run();
    return statuses;
}

inline std::map<QString, SfvValidator::Status> validateText(const TempDir& dir, const QByteArray& sfv)
{
    return validate(dir, SfvReader::Parse(sfv));
}

} // namespace sfvtest
