// Feeds arbitrary bytes to the description-file reader as the content of a file.
// Besides not crashing: the lines must not depend on the reader's buffer size (a line
// end split between two reads counts once), they must equal a plain reading of the
// whole byte string, and every line that names an entry, written again, must read
// back as the same name and description, or a rewrite would change other entries.
// The reader and parser are compiled into this file so that they carry the fuzzer's
// coverage and sanitizer instrumentation.
#include "core/LineReader.cpp"
#include "fileops/DescriptionFile.cpp"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<QByteArray>;

std::string g_folder;

void removeFolder()
{
    ::unlink((g_folder + "/DESCRIPT.ION").c_str());
    ::rmdir(g_folder.c_str());
}

QByteArray scratchFile()
{
    if (g_folder.empty()) {
        char pattern[] = "/tmp/fuzz-descriptions-XXXXXX";
        if (!::mkdtemp(pattern))
            std::abort();
        g_folder = pattern;
        std::atexit(removeFolder);
    }
    return QByteArray::fromStdString(g_folder + "/DESCRIPT.ION");
}

Lines readThrough(const QByteArray& path, int bufferSize, int maxLength)
{
    Lines lines;
    const int handle = LineReader::open(path, bufferSize);
    if (handle == 0)
        std::abort();
    while (!LineReader::eof(handle))
        lines.push_back(LineReader::readLine(handle, maxLength));
    LineReader::close(handle);
    return lines;
}

// The line rule read straight off the bytes, without buffers.
Lines readPlainly(const QByteArray& bytes, int maxLength)
{
    auto isEnd = [](char c) { return c == '\r' || c == '\n'; };
    Lines lines;
    qsizetype i = 0;
    const qsizetype n = bytes.size();
    while (i < n) {
        qsizetype j = i;
        while (j < n && !isEnd(bytes[j]))
            ++j;
        lines.push_back(bytes.mid(i, std::min<qsizetype>(j - i, maxLength)));
        if (j < n && ++j < n && isEnd(bytes[j]))
            ++j;
        i = j;
    }
    return lines;
}

void checkLine(const QByteArray& bytes)
{
    const DescriptionLine line = ParseDescriptionLine(bytes);
    (void)DecodeDescriptionText(line.description);
    QByteArray cut = bytes;
    TrimCutUtf8(cut);
    if (!bytes.startsWith(cut))
        std::abort();
    if (line.name.isEmpty())
        return;
    if (!CanFormatDescriptionName(line.name))
        std::abort();
    QByteArray written = FormatDescriptionLine(line.name, line.description);
    if (!written.endsWith("\r\n"))
        std::abort();
    written.chop(2);
    const DescriptionLine again = ParseDescriptionLine(written);
    if (again.name != line.name || again.description != line.description)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const QByteArray path = scratchFile();
    FILE* f = std::fopen(path.constData(), "wb");
    if (!f || std::fwrite(input.constData(), 1, size_t(input.size()), f) != size_t(input.size()) || std::fclose(f) != 0)
        std::abort();

    const Lines normal = readThrough(path, kDescriptionBufferSize, kDescriptionLineMax);
    if (normal != readPlainly(input, kDescriptionLineMax))
        std::abort();
    // A tiny buffer and line limit put buffer edges and cuts everywhere.
    const int bufferSize = size > 0 ? 1 + data[0] % 8 : 1;
    const int maxLength = size > 1 ? data[1] % 12 : 0;
    if (readThrough(path, bufferSize, maxLength) != readPlainly(input, maxLength))
        std::abort();

    for (const QByteArray& line : normal)
        checkLine(line);
    return 0;
}
