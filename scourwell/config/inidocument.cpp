#include "config/inidocument.h"

#include "config/atomicfile.h"

#include <QFile>
#include <QFileInfo>

namespace {

const QByteArray CrLf = QByteArrayLiteral("\r\n");
const QByteArray Lf = QByteArrayLiteral("\n");
const QByteArray Cr = QByteArrayLiteral("\r");
const QByteArray Utf8Bom = QByteArrayLiteral("\xEF\xBB\xBF");

QString ValueOf(const QByteArray& text, qsizetype equals)
{
    QByteArray value = text.mid(equals + 1).trimmed();
    const qsizetype n = value.size();
    if (n >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.mid(1, n - 2);
    return QString::fromUtf8(value);
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
    const QByteArray bytes = file.read(MaxFileSize + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() > MaxFileSize)
        return false;
    *this = FromBytes(bytes);
    return true;
}

IniDocument IniDocument::FromBytes(const QByteArray& bytes)
{
    IniDocument doc;
    qsizetype pos = 0;
    if (bytes.startsWith(Utf8Bom)) {
        doc.m_bom = Utf8Bom;
        pos = Utf8Bom.size();
    }
    bool endSeen = false;
    std::vector<Line>* lines = &doc.m_preamble.lines;
    const char* data = bytes.constData();
    const qsizetype size = bytes.size();
    while (pos < size) {
        qsizetype stop = pos;
        while (stop < size && data[stop] != '\n' && data[stop] != '\r')
            ++stop;
        QByteArray end;
        if (stop < size)
            end = data[stop] == '\n' ? Lf : (stop + 1 < size && data[stop + 1] == '\n' ? CrLf : Cr);
        if (!endSeen && !end.isEmpty()) {
            doc.m_lineEnd = end;
            endSeen = true;
        }
        bool isHeader = false;
        QString name;
        Line line = ParseLine(bytes.mid(pos, stop - pos), end, &isHeader, &name);
        pos = stop + end.size();
        if (isHeader) {
            doc.AddSection(Section{std::move(line), {}, false}, name);
            lines = &doc.m_sections.back().lines;
        } else {
            lines->push_back(std::move(line));
        }
    }
    return doc;
}

IniDocument::Line IniDocument::ParseLine(QByteArray text, QByteArray end, bool* isHeader,
                                         QString* sectionName)
{
    Line line{std::move(text), std::move(end), QString(), -1};
    const QByteArray trimmed = line.text.trimmed();
    if (trimmed.startsWith('[')) {
        const qsizetype close = trimmed.lastIndexOf(']');
        if (close > 0) {
            *isHeader = true;
            *sectionName = QString::fromUtf8(trimmed.mid(1, close - 1).trimmed());
            return line;
        }
    }
    if (trimmed.isEmpty() || trimmed.front() == '#' || trimmed.front() == ';')
        return line;
    const qsizetype equals = line.text.indexOf('=');
    if (equals < 0)
        return line;
    const QByteArray key = line.text.left(equals).trimmed();
    if (key.isEmpty())
        return line;
    line.key = QString::fromUtf8(key);
    line.equals = equals;
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
    bool endMissing = false;
    forEachLine([&](const Line& l) {
        if (endMissing)
            out += m_lineEnd;
        out += l.text;
        out += l.end;
        endMissing = l.end.isEmpty();
    });
    return out;
}

bool IniDocument::Save(const QString& path) const
{
    return WriteFileAtomically(path, ToBytes());
}

const IniDocument::Section* IniDocument::FindSection(const QString& section) const
{
    const auto it = m_index.constFind(FoldName(section));
    return it == m_index.cend() ? nullptr : &m_sections[it->front()];
}

IniDocument::Section* IniDocument::FindSection(const QString& section)
{
    return const_cast<Section*>(std::as_const(*this).FindSection(section));
}

bool IniDocument::HasSection(const QString& section) const
{
    return FindSection(section) != nullptr;
}

QString IniDocument::Value(const QString& section, const QString& key) const
{
    const Section* s = FindSection(section);
    if (!s)
        return {};
    for (const Line& l : s->lines) {
        if (!l.key.isNull() && l.key.compare(key, Qt::CaseInsensitive) == 0)
            return ValueOf(l.text, l.equals);
    }
    return {};
}

void IniDocument::SetValue(const QString& section, const QString& key, const QString& value)
{
    const QString flat = QString(value)
                             .replace(QLatin1Char('\r'), QLatin1Char(' '))
                             .replace(QLatin1Char('\n'), QLatin1Char(' '));
    Section* s = FindSection(section);
    if (!s) {
        Section added{Line{'[' + section.toUtf8() + ']', m_lineEnd, QString(), -1}, {}, false};
        added.lines.push_back(MakeKeyLine(key.toUtf8(), flat));
        AddSection(std::move(added), section);
        return;
    }
    size_t insertAt = 0;
    for (size_t i = 0; i < s->lines.size(); ++i) {
        Line& l = s->lines[i];
        if (l.key.isNull())
            continue;
        if (l.key.compare(key, Qt::CaseInsensitive) == 0) {
            // The key keeps the spelling it has in the file.
            Line replaced = MakeKeyLine(l.text.left(l.equals).trimmed(), flat);
            replaced.end = l.end;
            l = std::move(replaced);
            return;
        }
        insertAt = i + 1;
    }
    s->lines.insert(s->lines.begin() + static_cast<std::ptrdiff_t>(insertAt),
                    MakeKeyLine(key.toUtf8(), flat));
}

void IniDocument::RemoveSection(const QString& section)
{
    const auto it = m_index.find(FoldName(section));
    if (it == m_index.end())
        return;
    for (size_t index : *it) {
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
    m_index[FoldName(name)].push_back(m_sections.size() - 1);
}

IniDocument::Line IniDocument::MakeKeyLine(const QByteArray& key, const QString& value) const
{
    return Line{key + '=' + value.toUtf8(), m_lineEnd, QString::fromUtf8(key), key.size()};
}
