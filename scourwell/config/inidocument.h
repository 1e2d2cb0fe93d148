#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <vector>

// An INI file held in memory, so that many changes can be made and written in one atomic
// replacement. It keeps the rules of the old profile functions:
// - section and key names match without case; the first section of a name, and the first
//   key of a name within it, is the one read and written;
// - a value is read trimmed of blanks and without one pair of enclosing quotes ('' or "");
// - an existing key is rewritten in its place, a new key goes after the last key line of its
//   section, a missing section is appended to the file;
// - comments ("#" or ";"), blank lines and lines of no known form are kept byte for byte.
// Lines may end in CRLF, LF or a lone CR; each line keeps its own ending and new lines take
// the file's first one (CRLF for a file that has none). Bytes pass through as UTF-8.
class IniDocument
{
public:
    // Files larger than this are refused as unreadable rather than held in memory.
    static constexpr qint64 MaxFileSize = 256 * 1024 * 1024;

    // Reads the file. A missing file gives an empty document and true; a file that exists but
    // cannot be read gives an empty document and false, and must then not be saved over.
    bool Load(const QString& path);
    static IniDocument FromBytes(const QByteArray& bytes);
    QByteArray ToBytes() const;
    // Replaces the file atomically; false leaves the old file as it was.
    bool Save(const QString& path) const;

    bool HasSection(const QString& section) const;
    // "" for a missing section or key.
    QString Value(const QString& section, const QString& key) const;
    // Line breaks in the value would split the line, so each becomes a blank.
    void SetValue(const QString& section, const QString& key, const QString& value);
    // Removes every section of that name with all its lines; a missing one is no error.
    void RemoveSection(const QString& section);

private:
    struct Line
    {
        QByteArray text;
        QByteArray end;
        QString key; // null unless this is a key line
        qsizetype equals = -1;
    };
    struct Section
    {
        Line header;
        std::vector<Line> lines;
        bool removed = false;
    };

    static Line ParseLine(QByteArray text, QByteArray end, bool* isHeader, QString* sectionName);
    static QString FoldName(const QString& name) { return name.trimmed().toCaseFolded(); }
    const Section* FindSection(const QString& section) const;
    Section* FindSection(const QString& section);
    void AddSection(Section section, const QString& name);
    Line MakeKeyLine(const QByteArray& key, const QString& value) const;

    QByteArray m_bom;
    QByteArray m_lineEnd = "\r\n";
    Section m_preamble; // the lines before the first header; its header is unused
    std::vector<Section> m_sections;
    QHash<QString, std::vector<size_t>> m_index; // folded name -> live sections, in file order
};
