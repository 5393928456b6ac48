// Parser and writer of the registry editor's export format (see RegistryHiveFile.h).
// The parser never trusts the file: every line is checked on its own and a line that
// does not parse is skipped, so a damaged settings file loses at most that line.
#include "RegistryHiveFile.h"

#include "FileNames.h"
#include "core/NumberFormat.h"
#include "core/TextOrder.h"

#include <QStringList>
#include <QVector>

bool RegistryNameLess::operator()(const QString& a, const QString& b) const
{
    return CompareText(a, b) < 0;
}

bool RegistryValue::operator==(const RegistryValue& other) const
{
    if (type != other.type)
        return false;
    return type == Type::String ? text == other.text : number == other.number;
}

namespace {

const QLatin1String kHeaderLine("Windows Registry Editor Version 5.00");
const QLatin1String kLineEnd("\r\n");

// ---- reading ----------------------------------------------------------------------

QString decodeFile(const QByteArray& bytes)
{
    if (bytes.startsWith("\xFF\xFE")) {
        // regedit itself exports UTF-16LE. Round-trip through UTF-8 so that unpaired
        // surrogates become replacement characters, as they would in a UTF-8 file.
        const qsizetype units = (bytes.size() - 2) / 2;
        QVector<char16_t> buffer(units);
        for (qsizetype i = 0; i < units; ++i)
            buffer[i] = char16_t(uchar(bytes[2 + 2 * i]) | (uchar(bytes[3 + 2 * i]) << 8));
        return QString::fromUtf8(QString::fromUtf16(buffer.constData(), units).toUtf8());
    }
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return DecodeFileName(bytes.constData() + 3, bytes.size() - 3);
    return DecodeFileName(bytes);
}

// Reads a quoted string starting at text[pos] == '"'. Only \" and \\ are escapes; any
// other backslash is kept as it stands, since older files wrote paths unescaped.
// On success pos is just past the closing quote.
bool readQuoted(const QString& text, qsizetype& pos, QString& out)
{
    if (pos >= text.size() || text[pos] != u'"')
        return false;
    out.clear();
    for (qsizetype i = pos + 1; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'"') {
            pos = i + 1;
            return true;
        }
        if (c == u'\\' && i + 1 < text.size() && (text[i + 1] == u'"' || text[i + 1] == u'\\')) {
            out += text[++i];
            continue;
        }
        out += c;
    }
    return false;
}

bool onlySpaceFrom(const QString& text, qsizetype pos)
{
    for (qsizetype i = pos; i < text.size(); ++i) {
        if (!text[i].isSpace())
            return false;
    }
    return true;
}

bool parseDword(QStringView digits, quint32& out)
{
    digits = digits.trimmed();
    if (digits.isEmpty() || digits.size() > 8)
        return false;
    quint32 value = 0;
    for (QChar c : digits) {
        const int d = HexDigitValue(c);
        if (d < 0)
            return false;
        value = (value << 4) | quint32(d);
    }
    out = value;
    return true;
}

// "41,00,42,00" (spaces and a trailing comma tolerated) -> bytes.
bool parseHexBytes(QStringView list, QByteArray& out)
{
    out.clear();
    for (QStringView token : list.split(u',')) {
        token = token.trimmed();
        if (token.isEmpty())
            continue;
        if (token.size() > 2)
            return false;
        int value = 0;
        for (QChar c : token) {
            const int d = HexDigitValue(c);
            if (d < 0)
                return false;
            value = value * 16 + d;
        }
        out += char(value);
    }
    return true;
}

QString stringFromUtf16Bytes(const QByteArray& bytes)
{
    QString text;
    text.reserve(bytes.size() / 2);
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
        text += QChar(char16_t(uchar(bytes[i]) | (uchar(bytes[i + 1]) << 8)));
    if (text.endsWith(QChar(u'\0')))
        text.chop(1);   // the terminator REG_SZ data carries
    return text;
}

// Parses the part after '=' of a value line.
bool parseData(const QString& data, RegistryValue& value)
{
    if (data.startsWith(u'"')) {
        qsizetype pos = 0;
        QString text;
        if (!readQuoted(data, pos, text) || !onlySpaceFrom(data, pos))
            return false;
        value.type = RegistryValue::Type::String;
        value.text = text;
        return true;
    }
    if (data.startsWith(QLatin1String("dword:"), Qt::CaseInsensitive)) {
        value.type = RegistryValue::Type::Integer;
        return parseDword(QStringView(data).mid(6), value.number);
    }
    const bool isString = data.startsWith(QLatin1String("hex(1):"), Qt::CaseInsensitive)
        || data.startsWith(QLatin1String("hex(2):"), Qt::CaseInsensitive);
    const bool isDword = data.startsWith(QLatin1String("hex(4):"), Qt::CaseInsensitive);
    if (!isString && !isDword)
        return false;   // binary, multi-string, QWORD, deletion: not kept by this program
    QByteArray bytes;
    if (!parseHexBytes(QStringView(data).mid(7), bytes))
        return false;
    if (isString) {
        value.type = RegistryValue::Type::String;
        value.text = stringFromUtf16Bytes(bytes);
        return true;
    }
    if (bytes.size() != 4)
        return false;
    value.type = RegistryValue::Type::Integer;
    value.number = quint32(uchar(bytes[0])) | quint32(uchar(bytes[1])) << 8
        | quint32(uchar(bytes[2])) << 16 | quint32(uchar(bytes[3])) << 24;
    return true;
}

bool startsLogicalLine(const QString& trimmed)
{
    return trimmed.startsWith(u'[') || trimmed.startsWith(u'"') || trimmed.startsWith(u'@');
}

// The key a section header names, created on the way; nullptr for a header that
// names another root, deletes a key or is too deep.
RegistryKey* keyForHeader(RegistryKey& root, const QString& line, const QString& rootName)
{
    const QString path = line.mid(1, line.size() - 2);
    if (path.startsWith(u'-'))
        return nullptr;
    const QStringList names = path.split(u'\\', Qt::SkipEmptyParts);
    if (names.isEmpty() || CompareText(names.first(), rootName) != 0 || names.size() > MaxRegistryKeyDepth)
        return nullptr;
    RegistryKey* key = &root;
    for (qsizetype i = 1; i < names.size(); ++i) {
        auto& child = key->subKeys[names[i]];
        if (!child)
            child = std::make_unique<RegistryKey>();
        key = child.get();
    }
    return key;
}

// Parses the value line lines[i]; hex data continues on the next lines after a
// trailing backslash, and i is moved past them.
void parseValueLine(RegistryKey& key, const QStringList& lines, qsizetype& i)
{
    const QString line = lines[i].trimmed();
    QString name;
    qsizetype pos = 0;
    if (line.startsWith(u'@'))
        pos = 1;
    else if (!readQuoted(line, pos, name))
        return;
    while (pos < line.size() && line[pos].isSpace())
        ++pos;
    if (pos >= line.size() || line[pos] != u'=')
        return;
    QString data = line.mid(pos + 1).trimmed();
    if (data.startsWith(QLatin1String("hex"), Qt::CaseInsensitive)) {
        while (data.endsWith(u'\\') && i + 1 < lines.size() && !startsLogicalLine(lines[i + 1].trimmed())) {
            data.chop(1);
            data += lines[++i].trimmed();
        }
    }
    RegistryValue value;
    if (parseData(data, value))
        key.values[name] = value;
}

// ---- writing ----------------------------------------------------------------------

QString escaped(const QString& text)
{
    QString out;
    out.reserve(text.size() + 2);
    for (QChar c : text) {
        if (c == u'\\' || c == u'"')
            out += u'\\';
        out += c;
    }
    return out;
}

// A quoted string must stay on its line and come back from the file's bytes as it was.
bool needsHexForm(const QString& text)
{
    for (QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return true;
    }
    return DecodeFileName(EncodeFileName(text)) != text;
}

QString hexForm(const QString& text)
{
    QString out = QStringLiteral("hex(1):");
    int onLine = 0;
    auto addByte = [&](uint byte, bool last) {
        out += QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0'));
        if (last)
            return;
        out += u',';
        if (++onLine == 24) {   // wrapped as regedit does, to keep lines readable
            out += QLatin1String("\\\r\n  ");
            onLine = 0;
        }
    };
    const qsizetype count = text.size() + 1;   // with the terminating NUL
    for (qsizetype i = 0; i < count; ++i) {
        const char16_t u = i < text.size() ? text[i].unicode() : 0;
        addByte(u & 0xFF, false);
        addByte(u >> 8, i + 1 == count);
    }
    return out;
}

QString dataText(const RegistryValue& value)
{
    if (value.type == RegistryValue::Type::Integer)
        return QStringLiteral("dword:%1").arg(value.number, 8, 16, QLatin1Char('0'));
    if (needsHexForm(value.text))
        return hexForm(value.text);
    return u'"' + escaped(value.text) + u'"';
}

void writeKey(QString& out, const RegistryKey& key, const QString& path, bool writeHeader)
{
    if (writeHeader) {
        out += u'[' + path + u']' + kLineEnd;
        for (const auto& [name, value] : key.values) {
            out += (name.isEmpty() ? QStringLiteral("@") : u'"' + escaped(name) + u'"');
            out += u'=' + dataText(value) + kLineEnd;
        }
        out += kLineEnd;
    }
    for (const auto& [name, child] : key.subKeys)
        writeKey(out, *child, path + u'\\' + name, true);
}

} // namespace

RegistryKey ParseHiveText(const QByteArray& bytes, const QString& rootName)
{
    RegistryKey root;
    const QStringList lines = decodeFile(bytes).split(u'\n');
    RegistryKey* current = nullptr;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.startsWith(u'[')) {
            current = line.endsWith(u']') ? keyForHeader(root, line, rootName) : nullptr;
            continue;
        }
        if (current && (line.startsWith(u'"') || line.startsWith(u'@')))
            parseValueLine(*current, lines, i);
    }
    return root;
}

QByteArray WriteHiveText(const RegistryKey& root, const QString& rootName)
{
    QString out = kHeaderLine + kLineEnd + kLineEnd;
    writeKey(out, root, rootName, !root.values.empty());
    return EncodeFileName(out);
}
