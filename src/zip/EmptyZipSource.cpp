#include "zip/EmptyZipSource.h"

#include "zip/TFileSource.h"

#include <QDebug>

namespace {

// The held data as the window keeps it: the 32-bit length, then "PK", 5, 6 and the
// record's 18 zero bytes (no disks, no entries, no comment).
QByteArray emptyZipFileData()
{
    return QByteArray("\x16\0\0\0" "PK\x05\x06", 8) + QByteArray(18, '\0');
}

} // namespace

std::unique_ptr<TFileSource> MakeEmptyZipSource()
{
    auto source = std::make_unique<TFileSource>(QStringLiteral("SFEmptyZip"));
    source->SetCompress(false);
    source->Extension = QStringLiteral(".zip");
    source->SetStore(true);
    try {
        source->Load(emptyZipFileData());
    } catch (const ECompressError& error) {
        qWarning().noquote() << error.Text();
    }
    return source;
}
