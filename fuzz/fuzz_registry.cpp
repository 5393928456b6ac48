// Feeds arbitrary bytes to the settings-file parser. Besides not crashing, what the
// parser reads must be written back stably: reading the written text again and
// writing it once more gives the same bytes, or settings would drift with each save.
// The parser is compiled into this file rather than taken from dv_platform, so that
// it carries the fuzzer's coverage and sanitizer instrumentation.
#include "platform/RegistryHiveFile.cpp"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString root = QStringLiteral("HKEY_CURRENT_USER");
    const QByteArray once = WriteHiveText(ParseHiveText(input, root), root);
    const QByteArray twice = WriteHiveText(ParseHiveText(once, root), root);
    if (once != twice)
        std::abort();
    return 0;
}
