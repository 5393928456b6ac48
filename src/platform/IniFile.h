// A settings file of "[Section]" headers and "Key=Value" lines, as DORVN.INI keeps the
// named sets of the tools. Sections and keys are found without regard to case, as INI
// users expect, and keep their order. Text values are written in double quotes and read
// back without them, so leading or trailing blanks survive. The whole file is read at
// construction and replaced in one step by Save(); comments and lines this class does
// not understand are kept as they were. UI thread only, like the settings.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

class IniFile {
public:
    // Reads `path`; a missing or unreadable file reads as empty.
    explicit IniFile(QString path);

    // The program's DORVN.INI: $XDG_CONFIG_HOME/dorvane/DORVN.INI.
    static QString DorvnIni();

    // Parses file bytes: lines end at LF, CR LF or CR; a line that is not UTF-8 is read
    // as Latin-1; a UTF-8 byte-order mark is skipped.
    void Parse(const QByteArray& bytes);
    QByteArray Serialize() const;

    QStringList Sections() const;
    bool HasSection(const QString& section) const;
    QString ReadString(const QString& section, const QString& key, const QString& fallback = {}) const;
    int ReadInteger(const QString& section, const QString& key, int fallback) const;
    bool ReadBool(const QString& section, const QString& key, bool fallback) const;
    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int value);
    void WriteBool(const QString& section, const QString& key, bool value);
    // Removes every section of that name.
    void EraseSection(const QString& section);

    // Writes the file atomically, creating its folder; 0 or the errno of the failure.
    int Save() const;
    const QString& Path() const { return m_path; }

private:
    struct Line {
        QString Key;      // empty for a comment or a line kept as read
        QString Value;    // as written after '=', or the whole kept line
    };
    struct Section {
        QString Name;
        std::vector<Line> Lines;
    };

    const Section* find(const QString& section) const;
    Section& findOrAdd(const QString& section);
    const QString* rawValue(const QString& section, const QString& key) const;
    void writeRaw(const QString& section, const QString& key, const QString& value);

    QString m_path;
    std::vector<Line> m_preamble;     // lines before the first section
    std::vector<Section> m_sections;
};
