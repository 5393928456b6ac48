#include "platform/IniFile.h"

#include "platform/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <cerrno>

namespace {

QString decodeLine(QByteArrayView bytes)
{
    // Only the file's first bytes may be its byte-order mark: one at the start of a
    // later line is part of that line.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = utf8(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

bool isComment(const QString& trimmed)
{
    return trimmed.startsWith(QLatin1Char(';')) || trimmed.startsWith(QLatin1Char('#'));
}

// A value is one line of the file: a line break typed into a field must not start a
// line of its own that the next read would take for a key or a section.
QString oneLine(QString value)
{
    value.replace(QLatin1Char('\r'), QLatin1Char(' '));
    value.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return value;
}

} // namespace

IniFile::IniFile(QString path) : m_path(std::move(path))
{
    QFile file(m_path);
    if (!m_path.isEmpty() && file.open(QIODevice::ReadOnly))
        Parse(file.readAll());
}

QString IniFile::DorvnIni()
{
    // The XDG base directory rules: an unset, empty or relative value means ~/.config.
    QString config = QFile::decodeName(qgetenv("XDG_CONFIG_HOME"));
    if (!config.startsWith(QLatin1Char('/')))
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/dorvane/DORVN.INI");
}

void IniFile::Parse(const QByteArray& bytes)
{
    m_preamble.clear();
    m_sections.clear();
    QByteArrayView rest(bytes);
    if (rest.startsWith("\xEF\xBB\xBF"))
        rest = rest.sliced(3);
    std::vector<Line>* lines = &m_preamble;
    while (!rest.isEmpty()) {
        qsizetype end = 0;
        while (end < rest.size() && rest[end] != '\n' && rest[end] != '\r')
            ++end;
        const QString text = decodeLine(rest.first(end));
        qsizetype next = end;
        if (next < rest.size() && rest[next] == '\r')
            ++next;
        if (next < rest.size() && rest[next] == '\n')
            ++next;
        rest = rest.sliced(next);

        const QString trimmed = text.trimmed();
        if (trimmed.startsWith(QLatin1Char('[')) && trimmed.endsWith(QLatin1Char(']'))) {
            m_sections.push_back({trimmed.mid(1, trimmed.size() - 2).trimmed(), {}});
            lines = &m_sections.back().Lines;
            continue;
        }
        const qsizetype equals = text.indexOf(QLatin1Char('='));
        if (isComment(trimmed) || equals <= 0 || text.left(equals).trimmed().isEmpty())
            lines->push_back({QString(), text});
        else
            lines->push_back({text.left(equals).trimmed(), text.mid(equals + 1).trimmed()});
    }
}

QByteArray IniFile::Serialize() const
{
    QString text;
    const auto append = [&text](const std::vector<Line>& lines) {
        for (const Line& line : lines)
            text += (line.Key.isEmpty() ? line.Value : line.Key + QLatin1Char('=') + line.Value) + QLatin1Char('\n');
    };
    append(m_preamble);
    for (const Section& section : m_sections) {
        text += QLatin1Char('[') + section.Name + QStringLiteral("]\n");
        append(section.Lines);
    }
    // A first line that starts with a byte-order mark would lose it to the reader,
    // which takes a leading one as the file's; a second keeps the line as it was.
    if (text.startsWith(QChar(0xFEFF)))
        text.prepend(QChar(0xFEFF));
    return text.toUtf8();
}

QStringList IniFile::Sections() const
{
    QStringList names;
    for (const Section& section : m_sections)
        names << section.Name;
    return names;
}

bool IniFile::HasSection(const QString& section) const
{
    return find(section) != nullptr;
}

const IniFile::Section* IniFile::find(const QString& section) const
{
    for (const Section& s : m_sections)
        if (s.Name.compare(section, Qt::CaseInsensitive) == 0)
            return &s;
    return nullptr;
}

IniFile::Section& IniFile::findOrAdd(const QString& section)
{
    if (const Section* found = find(section))
        return const_cast<Section&>(*found);
    m_sections.push_back({section, {}});
    return m_sections.back();
}

const QString* IniFile::rawValue(const QString& section, const QString& key) const
{
    const Section* s = find(section);
    if (!s)
        return nullptr;
    for (const Line& line : s->Lines)
        if (!line.Key.isEmpty() && line.Key.compare(key, Qt::CaseInsensitive) == 0)
            return &line.Value;
    return nullptr;
}

QString IniFile::ReadString(const QString& section, const QString& key, const QString& fallback) const
{
    const QString* value = rawValue(section, key);
    if (!value)
        return fallback;
    if (value->size() >= 2 && value->startsWith(QLatin1Char('"')) && value->endsWith(QLatin1Char('"')))
        return value->mid(1, value->size() - 2);
    return *value;
}

int IniFile::ReadInteger(const QString& section, const QString& key, int fallback) const
{
    const QString* value = rawValue(section, key);
    bool ok = false;
    const int number = value ? value->toInt(&ok) : 0;
    return ok ? number : fallback;
}

bool IniFile::ReadBool(const QString& section, const QString& key, bool fallback) const
{
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

void IniFile::writeRaw(const QString& section, const QString& key, const QString& value)
{
    Section& s = findOrAdd(section);
    for (Line& line : s.Lines)
        if (!line.Key.isEmpty() && line.Key.compare(key, Qt::CaseInsensitive) == 0) {
            line.Value = value;
            return;
        }
    s.Lines.push_back({key, value});
}

void IniFile::WriteString(const QString& section, const QString& key, const QString& value)
{
    writeRaw(section, key, QLatin1Char('"') + oneLine(value) + QLatin1Char('"'));
}

void IniFile::WriteInteger(const QString& section, const QString& key, int value)
{
    writeRaw(section, key, QString::number(value));
}

void IniFile::WriteBool(const QString& section, const QString& key, bool value)
{
    WriteInteger(section, key, value ? 1 : 0);
}

void IniFile::EraseSection(const QString& section)
{
    std::erase_if(m_sections, [&](const Section& s) { return s.Name.compare(section, Qt::CaseInsensitive) == 0; });
}

int IniFile::Save() const
{
    const QString folder = QFileInfo(m_path).absolutePath();
    if (!QDir().mkpath(folder))
        return EACCES;
    return AtomicFile::Write(m_path, Serialize());
}
