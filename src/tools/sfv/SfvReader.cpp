#include "SfvReader.h"

#include "platform/FileNames.h"
#include "platform/doors/UntrustedFile.h"

#include <QBuffer>
#include <QFile>

namespace {

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// A hexadecimal number of at most 32 bits; leading zeros do not count.
bool isCrcText(const QByteArray& text)
{
    qsizetype significant = 0;
    for (const char c : text) {
        if (!isHexDigit(c))
            return false;
        if (significant > 0 || c != '0')
            ++significant;
    }
    return !text.isEmpty() && significant <= 8;
}

} // namespace

std::optional<std::vector<SfvEntry>> SfvReader::ReadFile(const QByteArray& nativePath, const std::atomic<bool>* stop)
{
    // A NUL inside the name would cut it short and open another file.
    if (nativePath.contains('\0'))
        return std::nullopt;
    const UntrustedFile file = UntrustedFile::Open(nativePath.toStdString(), kMaxFileSize);
    QFile device;
    if (!file.Ok() || !device.open(file.Fd(), QIODevice::ReadOnly | QIODevice::Unbuffered))
        return std::nullopt;
    std::vector<SfvEntry> entries = Read(device, stop);
    if (stop && stop->load(std::memory_order_relaxed))
        return std::nullopt;
    return entries;
}

std::vector<SfvEntry> SfvReader::Read(QIODevice& device, const std::atomic<bool>* stop)
{
    SfvReader reader;
    QByteArray buffer(kBufferSize, Qt::Uninitialized);
    QByteArray line;
    line.reserve(kMaxLineLength);
    bool afterLineEnd = false;   // the next CR or LF still belongs to the last line end
    while (!(stop && stop->load(std::memory_order_relaxed))) {
        const qint64 got = device.read(buffer.data(), buffer.size());
        if (got <= 0)
            break;
        for (qint64 i = 0; i < got; ++i) {
            const char c = buffer[i];
            const bool skip = afterLineEnd && isLineEnd(c);
            afterLineEnd = false;
            if (skip)
                continue;
            if (isLineEnd(c)) {
                reader.AddLine(line);
                line.clear();
                afterLineEnd = true;
            } else if (line.size() < kMaxLineLength) {
                line.append(c);
            }
        }
    }
    reader.AddLine(line);
    return reader.TakeEntries();
}

std::vector<SfvEntry> SfvReader::Parse(const QByteArray& bytes)
{
    QByteArray copy = bytes;
    QBuffer device(&copy);
    device.open(QIODevice::ReadOnly);
    return Read(device);
}

QString SfvReader::KeyOf(const QByteArray& name)
{
    return DecodeFileName(name).toLower();
}

void SfvReader::AddLine(const QByteArray& line)
{
    if (line.isEmpty())
        return;
    if (isSizeLine(line)) {
        addSizeLine(line);
        return;
    }
    if (line.startsWith(';'))
        return;   // a comment
    const qsizetype lastSpace = line.lastIndexOf(' ');
    if (lastSpace >= 0)
        addChecksumLine(line, lastSpace);
}

std::vector<SfvEntry> SfvReader::TakeEntries()
{
    m_rows.clear();
    return std::move(m_entries);
}

bool SfvReader::isSizeLine(const QByteArray& line)
{
    // Columns 1, 15-16, 19, 22, 25 and 36 of ";" length "  " hh ":" mm "." ss " " date " ".
    return line.size() >= 36 && line[0] == ';' && line[14] == ' ' && line[15] == ' ' && line[18] == ':'
        && line[21] == '.' && line[24] == ' ' && line[35] == ' ';
}

void SfvReader::addSizeLine(const QByteArray& line)
{
    if (SfvEntry* row = rowOf(line.mid(36)))
        row->Length = QString::fromLatin1(line.mid(1, 13).trimmed());
}

void SfvReader::addChecksumLine(const QByteArray& line, qsizetype lastSpace)
{
    const QByteArray crc = line.mid(lastSpace + 1);
    if (!isCrcText(crc))
        return;
    if (SfvEntry* row = rowOf(line.left(lastSpace)))
        row->Crc = QString::fromLatin1(crc);
}

SfvEntry* SfvReader::rowOf(const QByteArray& name)
{
    if (name.isEmpty())
        return nullptr;   // no file has an empty name
    const QString key = KeyOf(name);
    const auto found = m_rows.constFind(key);
    if (found != m_rows.constEnd())
        return &m_entries[found.value()];
    m_rows.insert(key, m_entries.size());
    m_entries.push_back({key, name, {}, {}});
    return &m_entries.back();
}
