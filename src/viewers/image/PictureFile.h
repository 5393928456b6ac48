// A picture file opened through the untrusted-file door: whatever its name says, only a
// regular file of a size a picture can have and starting as its kind must start is
// read, so a FIFO, a device or a huge sparse file named ".gif" is refused at once.
#pragma once

#include "platform/doors/UntrustedFile.h"

#include <QCoreApplication>
#include <QString>
#include <initializer_list>
#include <string_view>

class PictureFile {
    Q_DECLARE_TR_FUNCTIONS(PictureFile)
public:
    // Larger files are refused before a byte is read: no reader here needs more to show
    // a picture of the largest size the viewer accepts.
    static constexpr uint64_t kMaxSize = uint64_t(1) << 30;

    // Throws EImageError naming the file when it is refused or cannot be opened; no
    // signatures: any start is fine.
    static UntrustedFile Open(const QString& path, uint64_t maxSize = kMaxSize,
                              std::initializer_list<std::string_view> signatures = {});
    // Like Open, but leaves a file that is missing or cannot be opened to the caller,
    // who reports it its own way.
    static UntrustedFile OpenUnlessUnopenable(const QString& path, uint64_t maxSize,
                                              std::initializer_list<std::string_view> signatures);

private:
    static QString Reason(const UntrustedFile& file, uint64_t maxSize);
};
