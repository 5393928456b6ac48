// Feeds arbitrary bytes to the description-file reader as the content of a file.
// Besides not crashing: the lines must not depend on the reader's buffer size (a line
// end split between two reads counts once), they must equal a plain reading of the
// whole byte string (or of its first bytes, under a read limit), the pieces a rewrite
// copies must join to the file's bytes, and every line that names an entry, written
// again, must read back as the same name and description. Describing one entry, or
// removing its description, must leave every other entry's description as it was.
// The reader, parser and writer are compiled into this file so that they carry the
// fuzzer's coverage and sanitizer instrumentation.
#include "core/LineReader.cpp"
#include "fileops/DescriptionFile.cpp"
#include "fileops/Descriptions.cpp"

#include "core/TextOrder.h"
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
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
        // A rewrite syncs its file: on tmpfs that costs nothing.
        char pattern[] = "/dev/shm/fuzz-descriptions-XXXXXX";
        char fallback[] = "/tmp/fuzz-descriptions-XXXXXX";
        const char* made = ::mkdtemp(pattern);
        if (!made)
            made = ::mkdtemp(fallback);
        if (!made)
            std::abort();
        g_folder = made;
        std::atexit(removeFolder);
        // A rewrite that fails would show a message box; here it is a finding.
        TMessages::SetResponder([](const MessageRequest&) -> MsgResult { std::abort(); });
    }
    return QByteArray::fromStdString(g_folder + "/DESCRIPT.ION");
}

Lines readThrough(const QByteArray& path, int bufferSize, int maxLength, qint64 byteLimit = LineReader::kWholeFile)
{
    Lines lines;
    const int handle = LineReader::open(path, bufferSize, byteLimit);
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

// The lines again, from the pieces a rewrite copies: they must join to the file.
Lines readInPieces(const QByteArray& path, const QByteArray& input, int bufferSize, int pieceSize)
{
    Lines lines;
    QByteArray joined;
    QByteArray line;
    const int handle = LineReader::open(path, bufferSize);
    if (handle == 0)
        std::abort();
    while (!LineReader::eof(handle)) {
        bool ended = false;
        const QByteArray piece = LineReader::readPiece(handle, pieceSize, &ended);
        if (piece.isEmpty())
            std::abort();
        joined += piece;
        line += piece;
        if (ended) {
            line.chop(lineEndOf(line).size());
            lines.push_back(line);
            line.clear();
        } else if (!lineEndOf(piece).isEmpty()) {
            std::abort();
        }
    }
    if (LineReader::error(handle) != 0)
        std::abort();
    LineReader::close(handle);
    if (!line.isEmpty())
        lines.push_back(line);
    if (joined != input)
        std::abort();
    return lines;
}

// Every description but the described entry's must survive its rewrite unchanged.
void checkRewrite(const QString& folder, const QString& text)
{
    const QString entry = folder + QStringLiteral("/n.txt");
    QHash<QString, QString> expected = LoadDescriptions(folder, LineReader::kWholeFile);
    const QString description = DecodeDescriptionText(EncodeDescriptionText(text));
    if (description.isEmpty())
        expected.remove(QStringLiteral("N.TXT"));
    else
        expected.insert(QStringLiteral("N.TXT"), description);
    if (!WriteDescription(entry, text, LineReader::kWholeFile))
        std::abort();
    if (LoadDescriptions(folder, LineReader::kWholeFile) != expected)
        std::abort();
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

    const qint64 byteLimit = size > 2 ? data[2] : 0;
    if (readThrough(path, bufferSize, maxLength, byteLimit) != readPlainly(input.left(byteLimit), maxLength))
        std::abort();
    if (readInPieces(path, input, bufferSize, 1 + maxLength) != readPlainly(input, std::numeric_limits<int>::max()))
        std::abort();

    for (const QByteArray& line : normal)
        checkLine(line);

    const QString folder = QString::fromStdString(g_folder);
    checkRewrite(folder, QStringLiteral("described"));
    checkRewrite(folder, QString());
    return 0;
}
