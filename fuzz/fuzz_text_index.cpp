// Indexes arbitrary bytes as a file in the three view modes with several tab sizes and
// wrap widths, then formats every line. The line starts must equal a plain byte-by-byte
// reading of the line rules (the index classifies 64 bytes at a time), ascend and cover
// the file; every line must map back from its offset; the widest formatted line must be
// the index's maximum width; no formatted byte is below 32; the OEM set must turn back
// into the same bytes; a column found for a search hit must match the formatted text.
#include "viewers/text/TextIndex.h"
#include "viewers/text/TextLineFormat.h"

#include <QByteArray>
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::string g_path;

void removeFile() { ::unlink(g_path.c_str()); }

QString scratchFile()
{
    if (g_path.empty()) {
        char pattern[] = "/dev/shm/fuzz-text-index-XXXXXX";
        char fallback[] = "/tmp/fuzz-text-index-XXXXXX";
        int fd = ::mkstemp(pattern);
        g_path = pattern;
        if (fd < 0) {
            fd = ::mkstemp(fallback);
            g_path = fallback;
        }
        if (fd < 0)
            std::abort();
        ::close(fd);
        std::atexit(removeFile);
    }
    return QString::fromStdString(g_path);
}

void check(bool condition)
{
    if (!condition)
        std::abort();
}

struct Expected {
    std::vector<qint64> starts{0};
    bool plain = true;
    bool oem = false;
};

// The rules one byte at a time, with the run's lines counted when it closes.
Expected readPlainly(const QByteArray& bytes, int tabSize, qint64 wrapAt)
{
    Expected out;
    qint64 column = 0;
    qint64 runStart = -1;
    bool mixed = false;
    int high = 0;
    const qint64 size = bytes.size();
    for (qint64 i = 0; i < size; ++i) {
        const auto b = uint8_t(bytes[i]);
        const bool lineEnd = b == '\r' || b == '\n';
        high = b >= 128 ? high + 1 : 0;
        out.oem = out.oem || high >= 4;
        if (lineEnd) {
            mixed = mixed || (runStart >= 0 && bytes[runStart] != bytes[i]);
            runStart = runStart < 0 ? i : runStart;
            continue;
        }
        if (runStart >= 0) {
            const qint64 length = i - runStart;
            const qint64 lines = mixed ? std::max<qint64>(1, length / 2) : length;
            for (qint64 k = 1; k < lines; ++k)
                out.starts.push_back(runStart + k * (mixed ? 2 : 1));
            out.starts.push_back(i);
            runStart = -1;
            mixed = false;
            column = 0;
        }
        column = b == '\t' ? (column / tabSize + 1) * tabSize : column + 1;
        out.plain = out.plain && (b >= 32 || b == 9 || b == 12);
        if (column >= wrapAt) {
            out.starts.push_back(i + 1);
            column = 0;
        }
    }
    if (out.starts.size() == 1 || out.starts.back() != size)
        out.starts.push_back(size);
    return out;
}

void checkText(const QByteArray& input, const QString& path, TextIndexOptions options)
{
    TextIndex index;
    check(index.Build(path, options) && !index.Aborted());
    const qint64 wrapAt = options.Mode == TextViewMode::WordWrap ? std::max(1, options.WrapColumns - 1) : LLONG_MAX;
    const Expected expected = readPlainly(input, options.TabSize, wrapAt);
    check(index.LineCount() == qint64(expected.starts.size()) - 1);
    check(index.IsPlainText() == expected.plain && index.OemDetected() == expected.oem);
    int widest = 0;
    for (qint64 line = 0; line <= index.LineCount(); ++line) {
        check(index.LineStart(line) == expected.starts[size_t(line)]);
        if (line == index.LineCount())
            break;
        check(index.LineOfOffset(index.LineStart(line)) == line || index.LineStart(line) == index.LineStart(line + 1));
        const QByteArray raw = input.mid(index.LineStart(line), index.LineStart(line + 1) - index.LineStart(line));
        const QByteArray text = TextLineFormat::Text(raw, options.TabSize);
        widest = std::max(widest, int(text.size()));
        check(std::all_of(text.begin(), text.end(), [](char c) { return uint8_t(c) >= 32; }));
        check(TextLineFormat::FromText(TextLineFormat::Oem(text), true) == text);
        check(TextLineFormat::Ansi(text).size() <= text.size());
        const int position = int(raw.size() / 2);
        check(TextLineFormat::ColumnOf(raw, position, options.TabSize) ==
              TextLineFormat::Text(raw.left(position), options.TabSize).size() + 1);
    }
    check(widest == index.MaxWidth());
}

void checkHex(const QByteArray& input, const QString& path)
{
    TextIndex index;
    check(index.Build(path, {TextViewMode::Hex}));
    check(index.LineCount() == (input.size() + 15) / 16);
    const int digits = TextLineFormat::HexOffsetDigits(input.size());
    for (qint64 line = 0; line < index.LineCount(); ++line) {
        const qint64 start = index.LineStart(line);
        const QByteArray text = TextLineFormat::Hex(start, input.mid(start, 16), digits);
        check(text.size() == 1 + digits + 48 + 1 + 16 && index.LineOfOffset(start + 15) == line);
        check(std::all_of(text.begin(), text.end(), [](char c) { return uint8_t(c) >= 32; }));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString path = scratchFile();
    FILE* f = std::fopen(g_path.c_str(), "wb");
    if (!f || std::fwrite(data, 1, size, f) != size || std::fclose(f) != 0)
        std::abort();

    for (const int tabSize : {1, 3, 8})
        checkText(input, path, {TextViewMode::Standard, tabSize});
    const int wrap = size > 0 ? 1 + data[0] % 40 : 5;
    for (const int columns : {1, 2, wrap, 80})
        checkText(input, path, {TextViewMode::WordWrap, 1 + columns % 20, columns});
    checkHex(input, path);
    return 0;
}
