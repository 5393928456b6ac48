// Feeds arbitrary bytes to the SFV reader. Besides not crashing: every row has a name
// of at most one line's length, keyed by that name lower-cased, keys are distinct, a
// CRC is hexadecimal, and reading the bytes through the reader's buffer, also from a
// device that hands them over a few at a time, gives the same rows as splitting the
// whole input into lines at once (a line or a CR LF pair cut by the end of a read must
// read as if it were not).
#include "tools/sfv/SfvReader.h"

#include <QBuffer>
#include <QSet>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

std::vector<SfvEntry> readLineByLine(const QByteArray& bytes)
{
    SfvReader reader;
    qsizetype i = 0;
    while (i < bytes.size()) {
        qsizetype end = i;
        while (end < bytes.size() && !isLineEnd(bytes[end]))
            ++end;
        reader.AddLine(bytes.mid(i, std::min<qsizetype>(end - i, SfvReader::kMaxLineLength)));
        if (end + 1 < bytes.size() && isLineEnd(bytes[end + 1]))
            ++end;
        i = end + 1;
    }
    return reader.TakeEntries();
}

// Hands over at most `step` bytes a read, as a pipe or a slow file system may.
class TricklingDevice : public QBuffer {
public:
    TricklingDevice(QByteArray* bytes, qint64 step)
        : QBuffer(bytes)
        , m_step(step)
    {
    }

protected:
    qint64 readData(char* data, qint64 maxSize) override { return QBuffer::readData(data, std::min(maxSize, m_step)); }

private:
    qint64 m_step;
};

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::vector<SfvEntry> entries = SfvReader::Parse(bytes);
    QSet<QString> keys;
    for (const SfvEntry& e : entries) {
        check(!e.Written.isEmpty() && e.Written.size() <= SfvReader::kMaxLineLength);
        check(e.Key == SfvReader::KeyOf(e.Written));
        check(!keys.contains(e.Key));
        keys.insert(e.Key);
        for (const QChar c : e.Crc)
            check(c.isDigit() || (c.toUpper() >= QLatin1Char('A') && c.toUpper() <= QLatin1Char('F')));
        check(e.Length.size() <= 13);
    }
    const auto sameRows = [&entries](const std::vector<SfvEntry>& other) {
        check(other.size() == entries.size());
        for (size_t i = 0; i < entries.size(); ++i) {
            check(other[i].Written == entries[i].Written);
            check(other[i].Length == entries[i].Length && other[i].Crc == entries[i].Crc);
        }
    };
    sameRows(readLineByLine(bytes));
    QByteArray copy = bytes;
    TricklingDevice trickle(&copy, size > 0 ? 1 + data[0] % 16 : 1);
    trickle.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    sameRows(SfvReader::Read(trickle));
    return 0;
}
