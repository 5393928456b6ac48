// Feeds arbitrary bytes to the DORVN.INI reader. Besides not crashing, what it writes
// back must read again as the same sections and values, or every save of a named set
// would change the sets the user did not touch.
#include "platform/IniFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    IniFile first(QString{});
    first.Parse(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    IniFile second(QString{});
    second.Parse(first.Serialize());
    if (first.Sections() != second.Sections())
        std::abort();
    for (const QString& section : first.Sections())
        if (first.ReadString(section, QStringLiteral("Name")) != second.ReadString(section, QStringLiteral("Name")))
            std::abort();
    return 0;
}
