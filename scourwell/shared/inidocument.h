// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>
#include <unordered_map>
#include <vector>

// An INI file held in memory, so that many changes can be made and written in one atomic
// replacement. It keeps the rules of the old profile functions:
// - section and key names match without case; the first section of a name, and the first
//   key of a name within it, is the one read and written;
// - a value is read trimmed of blanks and without one pair of enclosing quotes ('' or ""); a
//   value that would not read back as it is (blanks at an end, enclosing quotes) is written in
//   double quotes, so that it does, and any other value is written plain;
// - an existing key is rewritten in its place, a new key goes after the last key line of its
//   section, a missing section is appended to the file;
// - comments ("#" or ";"), blank lines and lines of no known form are kept byte for byte.
// Lines may end in CRLF, LF or a lone CR; each line keeps its own ending and new lines take
// the file's first one (CRLF for a file that has none). Bytes pass through unchanged: what is
// not valid UTF-8 is held as escapes (see TextFromBytes) and written back as the same bytes.
class IniDocument
{
public:
    // Files larger than this are refused as unreadable rather than held in memory.
    static constexpr qint64 MaxFileSize = 256 * 1024 * 1024;

    // Reads the file. A missing file gives an empty document and true; a file that exists but
    // cannot be read gives an empty document and false, and must then not be saved over.
    bool Load(const QString& path);
    // The document shares the bytes (lines that stay unchanged point into them), so they must
    // own their data: not QByteArray::fromRawData.
    static IniDocument FromBytes(const QByteArray& bytes);
    QByteArray ToBytes() const;
    // Replaces the file atomically; false leaves the old file as it was.
    bool Save(const QString& path) const;

    bool HasSection(const QString& section) const;
    // "" for a missing section or key.
    QString Value(const QString& section, const QString& key) const;
    // The values of several keys of one section, in the order of the keys.
    QStringList Values(const QString& section, const QStringList& keys) const;
    // How a value is written. Exact: it reads back as it is (quoted where needed). Plain: as
    // given, so blanks at its ends are dropped on reading, as the old profile functions did.
    enum class Quoting : quint8
    {
        Exact,
        Plain
    };
    struct Setting
    {
        QString key;
        QString value;
        Quoting quoting = Quoting::Exact;
    };
    // Line breaks in the value would split the line, so each becomes a blank: such a value
    // cannot read back as it is (see ValueRoundTrips).
    void SetValue(const QString& section, const QString& key, const QString& value);
    // SetValue for each setting in turn.
    void SetValues(const QString& section, const QList<Setting>& values);
    // Removes the first key of that name from the section's first; a missing one is no error.
    void RemoveValue(const QString& section, const QString& key);
    // Removes every section of that name with all its lines; a missing one is no error.
    void RemoveSection(const QString& section);

    // Whether a value written Exact reads back identical: it holds no line break, and it is
    // text that bytes decode to.
    static bool ValueRoundTrips(const QString& value);

private:
    // The ending of a line: none (only the file's last line), CRLF, LF or CR.
    enum class End : quint8
    {
        None,
        CrLf,
        Lf,
        Cr
    };
    // A file of many jobs has many lines: a line read from the file points into m_source
    // rather than owning a copy, and its key name stays bytes within it. Offsets fit 32 bits,
    // as a file is at most MaxFileSize.
    struct Line
    {
        QByteArray text;
        qint32 keyFrom = 0;
        qint32 keyLength = 0;
        qint32 equals = -1; // -1 unless this is a key line
        End end = End::None;
        bool keyAscii = true;
        bool IsKey() const { return equals >= 0; }
        QByteArrayView Key() const { return QByteArrayView(text).sliced(keyFrom, keyLength); }
    };
    static constexpr size_t NoSection = size_t(-1);
    struct Section
    {
        Line header;
        std::vector<Line> lines;
        bool removed = false;
        size_t nextOfName = NoSection; // the next section of the same name, rare as it is
    };
    // The sections of one name: the first is the one read and written; the last is where a
    // further one is chained on without walking the chain.
    struct NameEntry
    {
        size_t first;
        size_t last;
    };

    static Line ParseLine(QByteArray text, End end, bool* isHeader, QString* sectionName);
    static QString FoldName(const QString& name);
    const Section* FindSection(const QString& section) const;
    Section* FindSection(const QString& section);
    static QString ValueIn(const Section& section, const QString& key);
    // The place of key's line in section (names match without case), or the end.
    static std::vector<Line>::const_iterator KeyLine(const Section& section, const QString& key);
    void SetIn(Section& section, const Setting& setting) const;
    void AddSection(Section section, const QString& name);
    Line MakeKeyLine(QByteArrayView key, const QString& value, Quoting quoting) const;

    QByteArray m_source; // the bytes read, which unchanged lines point into
    QByteArray m_bom;
    End m_lineEnd = End::CrLf;
    Section m_preamble; // the lines before the first header; its header is unused
    std::vector<Section> m_sections;
    // Folded name -> the live sections of that name. A plain string hash: a load or save
    // of many jobs looks names up hundreds of thousands of times.
    struct NameHash
    {
        size_t operator()(const QString& name) const noexcept;
    };
    std::unordered_map<QString, NameEntry, NameHash> m_index;
};
