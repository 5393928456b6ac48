// Desktop entries (see DesktopEntry.h). The Exec line is never handed to a shell: it
// is split and unquoted here, so a character a shell would act on must be quoted
// in the entry, and one that is not makes the whole line refused.
#include "platform/DesktopEntry.h"

#include <QFile>

namespace {

const QString kReservedOutsideQuotes = QStringLiteral("\t\n\"'\\><~|&;$*?#()`");
const QString kEscapedInsideQuotes = QStringLiteral("\"`$\\");
const QString kDeprecatedCodes = QStringLiteral("dDnNvm");

void addKey(QHash<QString, QString>& group, const QString& line)
{
    const qsizetype equals = line.indexOf(u'=');
    if (equals <= 0)
        return;
    const QString key = line.left(equals).trimmed();
    if (!key.isEmpty() && !group.contains(key))
        group.insert(key, line.mid(equals + 1).trimmed());
}

// The value escapes of string keys: \s \n \t \r \\. Other backslashes stay, for the
// quoting rules of Exec to read.
QString unescapeValue(const QString& raw)
{
    QString out;
    out.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar next = i + 1 < raw.size() ? raw[i + 1] : QChar();
        const qsizetype known = QStringLiteral("sntr\\").indexOf(next);
        if (raw[i] != u'\\' || known < 0) {
            out += raw[i];
            continue;
        }
        out += QStringLiteral(" \n\t\r\\")[known];
        ++i;
    }
    return out;
}

// The user's language as "lang_COUNTRY@MODIFIER" variants, most specific first.
QStringList localeSuffixes()
{
    QString locale;
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        locale = qEnvironmentVariable(variable);
        if (!locale.isEmpty())
            break;
    }
    const qsizetype at = locale.indexOf(u'@');
    const QString modifier = at >= 0 ? locale.mid(at) : QString();
    QString base = at >= 0 ? locale.left(at) : locale;
    base = base.left(base.indexOf(u'.') >= 0 ? base.indexOf(u'.') : base.size());
    const QString lang = base.left(base.indexOf(u'_') >= 0 ? base.indexOf(u'_') : base.size());
    if (lang.isEmpty() || lang == QLatin1String("C") || lang == QLatin1String("POSIX"))
        return {};
    QStringList suffixes{base + modifier, base, lang + modifier, lang};
    suffixes.removeDuplicates();
    return suffixes;
}

QString localized(const QHash<QString, QString>& group, const QString& key)
{
    for (const QString& suffix : localeSuffixes()) {
        const QString value = group.value(key + u'[' + suffix + u']');
        if (!value.isEmpty())
            return value;
    }
    return group.value(key);
}

bool isTrue(const QString& value) { return value.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0; }

// Splits Exec into unquoted words. Empty, with *error, on a quoting mistake.
QStringList splitCommandLine(const QString& line, QString* error)
{
    QStringList words;
    qsizetype i = 0;
    const auto fail = [error](const QString& text) {
        *error = text;
        return QStringList();
    };
    while (true) {
        while (i < line.size() && line[i] == u' ')
            ++i;
        if (i == line.size())
            return words;
        QString word;
        if (line[i] == u'"') {
            const qsizetype opened = i++;
            while (i < line.size() && line[i] != u'"') {
                if (line[i] == u'\\') {
                    if (i + 1 == line.size() || !kEscapedInsideQuotes.contains(line[i + 1]))
                        return fail(DesktopEntry::tr("the backslash at position %1 escapes nothing that may be escaped")
                                        .arg(i + 1));
                    ++i;
                }
                word += line[i++];
            }
            if (i == line.size())
                return fail(DesktopEntry::tr("the quotation mark at position %1 is never closed").arg(opened + 1));
            if (++i < line.size() && line[i] != u' ')
                return fail(DesktopEntry::tr("the quoted argument ending at position %1 is not a whole argument").arg(i));
        } else {
            for (; i < line.size() && line[i] != u' '; ++i) {
                if (kReservedOutsideQuotes.contains(line[i]))
                    return fail(DesktopEntry::tr("the character \"%1\" at position %2 must be quoted")
                                    .arg(line[i]).arg(i + 1));
                word += line[i];
            }
        }
        words << word;
    }
}

class ExecExpander {
public:
    ExecExpander(const DesktopEntry& entry, const QStringList& files)
        : m_entry(entry)
        , m_files(files)
    {
    }

    QStringList expand(const QStringList& words, QString* error)
    {
        for (const QString& word : words) {
            if (!expandWord(word)) {
                *error = m_error;
                return {};
            }
        }
        // Checked before files are appended, so that a file never becomes the program.
        if (m_arguments.isEmpty()) {
            *error = DesktopEntry::tr("it names no program");
            return {};
        }
        if (!m_sawFileCode)
            m_arguments << m_files;
        return m_arguments;
    }

private:
    bool expandWord(const QString& word)
    {
        if (word == QLatin1String("%F") || word == QLatin1String("%U")) {
            if (!takeFileCode())
                return false;
            m_arguments << m_files;
            return true;
        }
        if (word == QLatin1String("%i")) {
            if (!m_entry.Icon.isEmpty())
                m_arguments << QStringLiteral("--icon") << m_entry.Icon;
            return true;
        }
        QString expanded;
        bool onlyCodes = true;   // a word that was nothing but codes expanding to nothing goes
        for (qsizetype i = 0; i < word.size(); ++i) {
            if (word[i] != u'%') {
                expanded += word[i];
                onlyCodes = false;
                continue;
            }
            if (++i == word.size())
                return refuse(DesktopEntry::tr("a lone \"%\" ends an argument; a percent sign is written \"%%\""));
            if (!appendCode(word[i], expanded))
                return false;
        }
        if (!expanded.isEmpty() || !onlyCodes || word.isEmpty())
            m_arguments << expanded;
        return true;
    }

    bool appendCode(QChar code, QString& expanded)
    {
        switch (code.unicode()) {
        case u'%':
            expanded += u'%';
            return true;
        case u'f':
        case u'u':
            if (!takeFileCode())
                return false;
            expanded += m_files.value(0);
            return true;
        case u'c':
            expanded += m_entry.Name;
            return true;
        case u'k':
            expanded += m_entry.FilePath;
            return true;
        case u'F':
        case u'U':
        case u'i':
            return refuse(DesktopEntry::tr("the field code %%1 must be an argument of its own").arg(code));
        default:
            if (kDeprecatedCodes.contains(code))
                return true;
            return refuse(DesktopEntry::tr("%%1 is no known field code").arg(code));
        }
    }

    bool takeFileCode()
    {
        if (m_sawFileCode)
            return refuse(DesktopEntry::tr("it has more than one file field code"));
        m_sawFileCode = true;
        return true;
    }

    bool refuse(const QString& text)
    {
        m_error = text;
        return false;
    }

    const DesktopEntry& m_entry;
    const QStringList& m_files;
    QStringList m_arguments;
    QString m_error;
    bool m_sawFileCode = false;
};

} // namespace

KeyFileGroups ReadKeyFile(const QString& path)
{
    KeyFileGroups groups;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return groups;
    QHash<QString, QString>* group = nullptr;
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (const QByteArray& bytes : lines) {
        const QString line = QString::fromUtf8(bytes).trimmed();
        if (line.startsWith(u'[') && line.endsWith(u']'))
            group = &groups[line.mid(1, line.size() - 2)];
        else if (group && !line.startsWith(u'#'))
            addKey(*group, line);
    }
    return groups;
}

std::optional<DesktopEntry> DesktopEntry::Load(const QString& file)
{
    const KeyFileGroups groups = ReadKeyFile(file);
    const auto found = groups.constFind(QStringLiteral("Desktop Entry"));
    if (found == groups.cend())
        return std::nullopt;
    const QHash<QString, QString>& keys = *found;
    DesktopEntry entry;
    entry.FilePath = file;
    entry.Type = unescapeValue(keys.value(QStringLiteral("Type")));
    entry.Name = unescapeValue(localized(keys, QStringLiteral("Name")));
    entry.Exec = unescapeValue(keys.value(QStringLiteral("Exec")));
    entry.TryExec = unescapeValue(keys.value(QStringLiteral("TryExec")));
    entry.Icon = unescapeValue(localized(keys, QStringLiteral("Icon")));
    entry.Terminal = isTrue(keys.value(QStringLiteral("Terminal")));
    entry.Hidden = isTrue(keys.value(QStringLiteral("Hidden")));
    entry.NoDisplay = isTrue(keys.value(QStringLiteral("NoDisplay")));
    return entry;
}

QStringList DesktopEntry::Arguments(const QStringList& files, QString* error) const
{
    QString ignored;
    QString& why = error ? *error : ignored;
    why.clear();
    const QStringList words = splitCommandLine(Exec, &why);
    if (!why.isEmpty())
        return {};
    return ExecExpander(*this, files).expand(words, &why);
}
