// Parsing and writing of description-file lines (see DescriptionFile.h).
#include "DescriptionFile.h"

#include <QStringDecoder>

namespace {

char asciiUpper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

bool isAscii(const QByteArray& bytes)
{
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

bool isUtf8(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringConverter::Utf8,
                        QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    const QString decoded = utf8.decode(bytes);   // the conversion runs only when assigned
    return !utf8.hasError();
}

// How many continuation bytes a UTF-8 lead byte announces; 0 for anything else.
int followersOf(unsigned char lead)
{
    if (lead >= 0xC2 && lead <= 0xDF)
        return 1;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 2;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 3;
    return 0;
}

} // namespace

DescriptionLine ParseDescriptionLine(const QByteArray& line)
{
    DescriptionLine result;
    if (line.startsWith('"')) {
        const qsizetype close = line.indexOf('"', 1);
        if (close < 0)
            return result;
        result.name = line.mid(1, close - 1);
        // The byte after the closing quote is the separating space, whatever it holds.
        const qsizetype start = close + 2;
        if (start < line.size())
            result.description = line.mid(start);
        return result;
    }
    const qsizetype space = line.indexOf(' ');
    if (space < 0)
        return result;
    result.name = line.left(space);
    result.description = line.mid(space + 1);
    return result;
}

QByteArray FormatDescriptionLine(const QByteArray& name, const QByteArray& description)
{
    QByteArray line;
    line.reserve(name.size() + description.size() + 5);
    if (name.contains(' '))
        line.append('"').append(name).append('"');
    else
        line.append(name);
    line.append(' ').append(description).append("\r\n");
    return line;
}

bool CanFormatDescriptionName(const QByteArray& name)
{
    if (name.isEmpty() || name.startsWith('"') || name.contains('\r') || name.contains('\n'))
        return false;
    return !(name.contains(' ') && name.contains('"'));
}

bool SameDescriptionName(const QByteArray& a, const QByteArray& b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (asciiUpper(a[i]) != asciiUpper(b[i]))
            return false;
    }
    return true;
}

QString DecodeDescriptionText(const QByteArray& bytes)
{
    if (isAscii(bytes))
        return QString::fromLatin1(bytes);
    // Stateless: each description is a whole; ConvertInitialBom: a description that
    // happens to begin with the BOM's bytes keeps them.
    QStringDecoder utf8(QStringConverter::Utf8,
                        QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    QString text = utf8.decode(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

QByteArray EncodeDescriptionText(const QString& text)
{
    QByteArray bytes = text.toUtf8();
    for (char& c : bytes) {
        if (static_cast<unsigned char>(c) < 32)
            c = ' ';
    }
    return bytes;
}

void TrimCutUtf8(QByteArray& line)
{
    // A sequence is at most 4 bytes, so its lead byte is among the last 4.
    const qsizetype size = line.size();
    for (qsizetype back = 1; back <= 4 && back <= size; ++back) {
        const auto c = static_cast<unsigned char>(line[size - back]);
        if ((c & 0xC0) == 0x80)
            continue;
        const int followers = followersOf(c);
        // Only a UTF-8 text is trimmed: in a Latin-1 one the "lead byte" is a letter.
        if (followers > back - 1 && isUtf8(line.left(size - back)))
            line.truncate(size - back);
        return;
    }
}
