// SPDX-License-Identifier: GPL-3.0-or-later
#include "shared/inidocument.h"

#include "shared/atomicfile.h"
#include "shared/bytetext.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <string_view>

namespace {

const QByteArray Utf8Bom = QByteArrayLiteral("\xEF\xBB\xBF");

// What the reader makes of the bytes after "=": trimmed, and one pair of enclosing quotes gone.
QByteArrayView StoredValue(QByteArrayView raw)
{
    QByteArrayView value = raw.trimmed();
    const qsizetype n = value.size();
    if (n >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.sliced(1, n - 2);
    return value;
}

QString ValueOf(const QByteArray& text, qsizetype equals)
{
    return TextFromBytes(StoredValue(QByteArrayView(text).sliced(equals + 1)));
}

bool IsAscii(QByteArrayView bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<uchar>(c) < 0x80; });
}

bool IsAscii(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

char16_t AsciiLower(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

// Names compare without case. Nearly every name is ASCII, which needs no decoding.
bool NamesMatch(QByteArrayView stored, bool storedAscii, QStringView wanted, bool wantedAscii)
{
    if (storedAscii && wantedAscii) {
        return stored.size() == wanted.size() &&
               std::equal(stored.begin(), stored.end(), wanted.begin(), [](char a, QChar b) {
                   return AsciiLower(static_cast<char16_t>(a)) == AsciiLower(b.unicode());
               });
    }
    return TextFromBytes(stored).compare(wanted, Qt::CaseInsensitive) == 0;
}

} // namespace

bool IniDocument::Load(const QString& path)
{
    *this = IniDocument();
    const QFileInfo info(path);
    if (!info.exists())
        return true;
    // A folder, pipe or device is not a settings file; reading a pipe could block for ever.
    if (!info.isFile() || info.size() > MaxFileSize)
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    *this = FromBytes(bytes);
    return true;
}

IniDocument IniDocument::FromBytes(const QByteArray& bytes)
{
    IniDocument doc;
    doc.m_source = bytes;
    qsizetype pos = 0;
    if (bytes.startsWith(Utf8Bom)) {
        doc.m_bom = Utf8Bom;
        pos = Utf8Bom.size();
    }
    bool endSeen = false;
    std::vector<Line>* lines = &doc.m_preamble.lines;
    const char* data = doc.m_source.constData();
    const qsizetype size = bytes.size();
    while (pos < size) {
        qsizetype stop = pos;
        while (stop < size && data[stop] != '\n' && data[stop] != '\r')
            ++stop;
        End end = End::None;
        if (stop < size)
            end = data[stop] == '\n' ? End::Lf
                                     : (stop + 1 < size && data[stop + 1] == '\n' ? End::CrLf : End::Cr);
        if (!endSeen && end != End::None) {
            doc.m_lineEnd = end;
            endSeen = true;
        }
        bool isHeader = false;
        QString name;
        Line line = ParseLine(QByteArray::fromRawData(data + pos, stop - pos), end, &isHeader, &name);
        pos = stop + (end == End::CrLf ? 2 : end == End::None ? 0 : 1);
        if (isHeader) {
            // Sections of one file tend to be alike: room for as many lines as the last one had.
            const size_t expected = lines->size();
            doc.AddSection(Section{std::move(line), {}}, name);
            lines = &doc.m_sections.back().lines;
            lines->reserve(expected);
        } else {
            lines->push_back(std::move(line));
        }
    }
    return doc;
}

IniDocument::Line IniDocument::ParseLine(QByteArray text, End end, bool* isHeader, QString* sectionName)
{
    Line line{std::move(text)};
    line.end = end;
    const QByteArrayView trimmed = QByteArrayView(line.text).trimmed();
    if (trimmed.startsWith('[')) {
        const qsizetype close = trimmed.lastIndexOf(']');
        if (close > 0) {
            *isHeader = true;
            *sectionName = TextFromBytes(trimmed.sliced(1, close - 1).trimmed());
            return line;
        }
    }
    if (trimmed.isEmpty() || trimmed.front() == '#' || trimmed.front() == ';')
        return line;
    const qsizetype equals = line.text.indexOf('=');
    if (equals < 0)
        return line;
    const QByteArrayView before = QByteArrayView(line.text).first(equals);
    const QByteArrayView key = before.trimmed();
    if (key.isEmpty())
        return line;
    line.keyFrom = static_cast<qint32>(key.data() - before.data());
    line.keyLength = static_cast<qint32>(key.size());
    line.equals = static_cast<qint32>(equals);
    line.keyAscii = IsAscii(key);
    return line;
}

QByteArray IniDocument::ToBytes() const
{
    qsizetype estimate = m_bom.size();
    const auto measure = [&estimate](const Line& l) { estimate += l.text.size() + 2; };
    const auto forEachLine = [this](const auto& visit) {
        for (const Line& l : m_preamble.lines)
            visit(l);
        for (const Section& s : m_sections) {
            if (s.removed)
                continue;
            visit(s.header);
            for (const Line& l : s.lines)
                visit(l);
        }
    };
    forEachLine(measure);

    QByteArray out;
    out.reserve(estimate);
    out += m_bom;
    // Only the file's last line may lack an ending; one that no longer is last gets one.
    const auto endBytes = [](End end) -> QByteArrayView {
        switch (end) {
        case End::CrLf:
            return "\r\n";
        case End::Lf:
            return "\n";
        case End::Cr:
            return "\r";
        case End::None:
            break;
        }
        return {};
    };
    bool endMissing = false;
    forEachLine([&](const Line& l) {
        if (endMissing)
            out += endBytes(m_lineEnd);
        out += l.text;
        out += endBytes(l.end);
        endMissing = l.end == End::None;
    });
    return out;
}

bool IniDocument::Save(const QString& path) const
{
    return WriteFileAtomically(path, ToBytes());
}

size_t IniDocument::NameHash::operator()(const QString& name) const noexcept
{
    const std::string_view bytes(reinterpret_cast<const char*>(name.constData()),
                                 static_cast<size_t>(name.size()) * sizeof(QChar));
    return std::hash<std::string_view>{}(bytes);
}

QString IniDocument::FoldName(const QString& name)
{
    const QString trimmed = name.trimmed();
    const bool folded = std::all_of(trimmed.begin(), trimmed.end(), [](QChar c) {
        return c.unicode() < 0x80 && (c.unicode() < u'A' || c.unicode() > u'Z');
    });
    if (folded)
        return trimmed;
    // Case folding would turn the lone surrogates that stand for bytes of no UTF-8 into
    // U+FFFD, and so make names of different bytes one: only the text between them is folded.
    QString result;
    result.reserve(trimmed.size());
    qsizetype from = 0;
    for (qsizetype i = 0; i < trimmed.size(); ++i) {
        const QChar c = trimmed[i];
        if (c.isLowSurrogate() && (i == 0 || !trimmed[i - 1].isHighSurrogate())) {
            result += QStringView(trimmed).sliced(from, i - from).toString().toCaseFolded();
            result += c;
            from = i + 1;
        }
    }
    return result + QStringView(trimmed).sliced(from).toString().toCaseFolded();
}

const IniDocument::Section* IniDocument::FindSection(const QString& section) const
{
    const auto it = m_index.find(FoldName(section));
    return it == m_index.end() ? nullptr : &m_sections[it->second.first];
}

IniDocument::Section* IniDocument::FindSection(const QString& section)
{
    return const_cast<Section*>(std::as_const(*this).FindSection(section));
}

bool IniDocument::HasSection(const QString& section) const
{
    return FindSection(section) != nullptr;
}

std::vector<IniDocument::Line>::const_iterator IniDocument::KeyLine(const Section& section,
                                                                    const QString& key)
{
    const bool wantedAscii = IsAscii(QStringView(key));
    return std::find_if(section.lines.begin(), section.lines.end(), [&](const Line& l) {
        return l.IsKey() && NamesMatch(l.Key(), l.keyAscii, key, wantedAscii);
    });
}

QString IniDocument::ValueIn(const Section& section, const QString& key)
{
    const auto line = KeyLine(section, key);
    return line == section.lines.end() ? QString() : ValueOf(line->text, line->equals);
}

QString IniDocument::Value(const QString& section, const QString& key) const
{
    const Section* s = FindSection(section);
    return s ? ValueIn(*s, key) : QString();
}

QStringList IniDocument::Values(const QString& section, const QStringList& keys) const
{
    const Section* s = FindSection(section);
    QStringList values;
    values.reserve(keys.size());
    for (const QString& key : keys)
        values.append(s ? ValueIn(*s, key) : QString());
    return values;
}

void IniDocument::SetValue(const QString& section, const QString& key, const QString& value)
{
    SetValues(section, {{key, value}});
}

void IniDocument::SetValues(const QString& section, const QList<Setting>& values)
{
    if (values.isEmpty())
        return;
    Section* s = FindSection(section);
    if (!s) {
        Line header{'[' + BytesFromText(section) + ']'};
        header.end = m_lineEnd;
        AddSection(Section{std::move(header), {}}, section);
        s = &m_sections.back();
        s->lines.reserve(static_cast<size_t>(values.size()));
    }
    for (const Setting& setting : values)
        SetIn(*s, setting);
}

void IniDocument::SetIn(Section& section, const Setting& setting) const
{
    const QString& key = setting.key;
    const bool wantedAscii = IsAscii(QStringView(key));
    size_t insertAt = 0;
    for (size_t i = 0; i < section.lines.size(); ++i) {
        Line& l = section.lines[i];
        if (!l.IsKey())
            continue;
        if (NamesMatch(l.Key(), l.keyAscii, key, wantedAscii)) {
            // The key keeps the spelling it has in the file.
            Line replaced = MakeKeyLine(l.Key(), setting.value, setting.quoting);
            replaced.end = l.end;
            l = std::move(replaced);
            return;
        }
        insertAt = i + 1;
    }
    section.lines.insert(section.lines.begin() + static_cast<std::ptrdiff_t>(insertAt),
                         MakeKeyLine(BytesFromText(key), setting.value, setting.quoting));
}

void IniDocument::RemoveValue(const QString& section, const QString& key)
{
    Section* s = FindSection(section);
    if (!s)
        return;
    const auto line = KeyLine(*s, key);
    if (line != s->lines.end())
        s->lines.erase(line);
}

void IniDocument::RemoveSection(const QString& section)
{
    const auto it = m_index.find(FoldName(section));
    if (it == m_index.end())
        return;
    for (size_t index = it->second.first; index != NoSection; index = m_sections[index].nextOfName) {
        Section& s = m_sections[index];
        s.removed = true;
        s.lines = {};
        s.header = {};
    }
    m_index.erase(it);
}

void IniDocument::AddSection(Section section, const QString& name)
{
    m_sections.push_back(std::move(section));
    const size_t added = m_sections.size() - 1;
    const auto [it, isFirst] = m_index.try_emplace(FoldName(name), NameEntry{added, added});
    if (isFirst)
        return;
    m_sections[it->second.last].nextOfName = added;
    it->second.last = added;
}

bool IniDocument::ValueRoundTrips(const QString& value)
{
    return !value.contains(QLatin1Char('\r')) && !value.contains(QLatin1Char('\n')) && SurvivesBytes(value);
}

IniDocument::Line IniDocument::MakeKeyLine(QByteArrayView key, const QString& value, Quoting quoting) const
{
    // A line break would split the line: each becomes a blank.
    QByteArray bytes = BytesFromText(value);
    bytes.replace('\r', ' ').replace('\n', ' ');
    const bool quoted = quoting == Quoting::Exact && StoredValue(bytes).size() != bytes.size();
    QByteArray text;
    text.reserve(key.size() + bytes.size() + 3);
    text.append(key).append('=');
    if (quoted)
        text.append('"').append(bytes).append('"');
    else
        text.append(bytes);
    const auto keyLength = static_cast<qint32>(key.size());
    return Line{std::move(text), 0, keyLength, keyLength, m_lineEnd, IsAscii(key)};
}
