#include "platform/ini/IniFile.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Gbk.h"
#include "platform/rtl/SafeSave.h"
#include "platform/rtl/SysUtils.h"

#include <QFile>

namespace {

struct Line
{
    enum Kind { Other, Comment, Section, Key };
    Kind kind = Other;
    qsizetype start = 0;   // byte offset of the line
    qsizetype end = 0;     // byte offset of its line ending
    qsizetype next = 0;    // byte offset of the next line
    QString name;          // section or key name
    QString value;         // the key's value, trimmed and unquoted
    qsizetype valueAt = 0; // byte offset where the value's text starts
};

struct Document
{
    QByteArray bytes;
    QList<Line> lines;
    QByteArray eol = QByteArrayLiteral("\r\n");

    // Index of the first header of section, or -1.
    int findSection(const QString& section) const
    {
        for (int i = 0; i < lines.size(); ++i) {
            if (lines[i].kind == Line::Section
                && lines[i].name.compare(section, Qt::CaseInsensitive) == 0)
                return i;
        }
        return -1;
    }
    // One past the last line of the section whose header is at header.
    int sectionEnd(int header) const
    {
        int i = header + 1;
        while (i < lines.size() && lines[i].kind != Line::Section)
            ++i;
        return i;
    }
    int findKey(int header, const QString& key) const
    {
        const int end = sectionEnd(header);
        for (int i = header + 1; i < end; ++i) {
            if (lines[i].kind == Line::Key && lines[i].name.compare(key, Qt::CaseInsensitive) == 0)
                return i;
        }
        return -1;
    }
};

QString unquote(const QString& v)
{
    if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front())
        return v.mid(1, v.size() - 2);
    return v;
}

Line parseLine(const QByteArray& bytes, qsizetype start, qsizetype end)
{
    Line line;
    line.start = start;
    line.end = end;
    const QByteArray raw = bytes.mid(start, end - start);
    const QString text = qx::fromGbk(raw);
    const QString trimmed = Trim(text);
    if (trimmed.startsWith(u';')) {
        line.kind = Line::Comment;
    } else if (trimmed.startsWith(u'[')) {
        line.kind = Line::Section;
        const qsizetype close = trimmed.indexOf(u']');
        line.name = Trim(close < 0 ? trimmed.mid(1) : trimmed.mid(1, close - 1));
    } else {
        // '=' (0x3D) is never the second byte of a GBK character, so the byte search is safe.
        const qsizetype eq = raw.indexOf('=');
        if (eq >= 0) {
            line.kind = Line::Key;
            line.name = Trim(qx::fromGbk(raw.left(eq)));
            line.value = unquote(Trim(qx::fromGbk(raw.mid(eq + 1))));
            qsizetype v = eq + 1;
            while (v < raw.size() && (raw[v] == ' ' || raw[v] == '\t'))
                ++v;
            line.valueAt = start + v;
        }
    }
    return line;
}

// The byte-order mark an editor may put before a file's first line.
const QByteArray kUtf8Bom = QByteArrayLiteral("\xEF\xBB\xBF");

// The end of the line starting at pos: the offset of its line ending (or of the end of the
// text) and of the line after it. CR LF, LF and a lone CR each end a line.
void lineEnd(const QByteArray& b, qsizetype pos, qsizetype& end, qsizetype& next)
{
    end = pos;
    while (end < b.size() && b[end] != '\n' && b[end] != '\r')
        ++end;
    next = end;
    if (next < b.size() && b[next] == '\r')
        ++next;
    if (next < b.size() && b[next] == '\n')
        ++next;
}

Document parse(QByteArray bytes)
{
    Document doc;
    doc.bytes = std::move(bytes);
    const QByteArray& b = doc.bytes;
    bool eolKnown = false;
    // A mark before the first line belongs to no line: it is kept as it is, never read.
    qsizetype pos = b.startsWith(kUtf8Bom) ? kUtf8Bom.size() : 0;
    while (pos < b.size()) {
        qsizetype end = 0;
        qsizetype next = 0;
        lineEnd(b, pos, end, next);
        if (next > end && !eolKnown) {
            // New lines follow the file's own endings.
            doc.eol = b.mid(end, next - end);
            eolKnown = true;
        }
        Line line = parseLine(b, pos, end);
        line.next = next;
        doc.lines << line;
        pos = next;
    }
    return doc;
}

Document load(const QString& fileName)
{
    QFile f(fileName);
    if (!f.exists() || !f.open(QIODevice::ReadOnly))
        return parse(QByteArray());
    return parse(f.readAll());
}

// Through the safe save: a failed write (a full disk) leaves the file as it was, and a
// read-only file or a missing folder is refused before anything is written.
void save(const QString& fileName, const QByteArray& bytes)
{
    try {
        qx::saveFile(fileName, bytes);
    } catch (const qx::ESaveError& e) {
        throw EIniFileException(QStringLiteral("Unable to write to %1. %2").arg(fileName, e.Reason()));
    }
}

// One line's text for the file: no line break may enter it.
QByteArray lineBytes(const QString& text)
{
    QString t = text;
    t.replace(u'\r', u' ').replace(u'\n', u' ');
    return qx::toGbk(t);
}

// Where a new line goes after `after` (a line index): its start offset, with a line ending
// put before it when that line has none (the last line of a file without a final break).
void insertAfterLine(Document& doc, int after, const QByteArray& text)
{
    const Line& l = doc.lines[after];
    QByteArray insert;
    if (l.next == l.end)
        insert += doc.eol;
    insert += text + doc.eol;
    doc.bytes.insert(l.next, insert);
}

} // namespace

TIniFile::TIniFile(const QString& fileName) : m_fileName(fileName) {}

QString TIniFile::ReadString(const QString& Section, const QString& Ident,
                             const QString& Default) const
{
    const Document doc = load(m_fileName);
    const int header = doc.findSection(Section);
    if (header < 0)
        return Default;
    const int key = doc.findKey(header, Ident);
    return key < 0 ? Default : doc.lines[key].value;
}

int TIniFile::ReadInteger(const QString& Section, const QString& Ident, int Default) const
{
    QString text = ReadString(Section, Ident, QString());
    if (text.size() > 2 && text.startsWith(QStringLiteral("0x"), Qt::CaseInsensitive))
        text = u'$' + text.mid(2);
    return StrToIntDef(text, Default);
}

bool TIniFile::ReadBool(const QString& Section, const QString& Ident, bool Default) const
{
    return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

double TIniFile::ReadFloat(const QString& Section, const QString& Ident, double Default) const
{
    double v = Default;
    const QString text = ReadString(Section, Ident, QString());
    if (!text.isEmpty() && !TryStrToFloat(text, v))
        v = Default;
    return v;
}

TDateTime TIniFile::ReadDate(const QString& Section, const QString& Ident, TDateTime Default) const
{
    TDateTime v = Default;
    const QString text = ReadString(Section, Ident, QString());
    if (!text.isEmpty() && !TryStrToDate(text, v))
        v = Default;
    return v;
}

void TIniFile::WriteString(const QString& Section, const QString& Ident, const QString& Value)
{
    Document doc = load(m_fileName);
    const int header = doc.findSection(Section);
    if (header < 0) {
        QByteArray& b = doc.bytes;
        if (!b.isEmpty() && b != kUtf8Bom && !b.endsWith('\n') && !b.endsWith('\r'))
            b += doc.eol;
        b += '[' + lineBytes(Section) + ']' + doc.eol;
        b += lineBytes(Ident) + '=' + lineBytes(Value) + doc.eol;
    } else if (const int key = doc.findKey(header, Ident); key >= 0) {
        const Line& l = doc.lines[key];
        doc.bytes.replace(l.valueAt, l.end - l.valueAt, lineBytes(Value));
    } else {
        // After the section's last key, so that blank lines and comments before the next
        // section stay where they are.
        int after = header;
        const int end = doc.sectionEnd(header);
        for (int i = header + 1; i < end; ++i) {
            if (doc.lines[i].kind == Line::Key)
                after = i;
        }
        insertAfterLine(doc, after, lineBytes(Ident) + '=' + lineBytes(Value));
    }
    save(m_fileName, doc.bytes);
}

void TIniFile::WriteInteger(const QString& Section, const QString& Ident, int Value)
{
    WriteString(Section, Ident, QString::number(Value));
}

void TIniFile::WriteBool(const QString& Section, const QString& Ident, bool Value)
{
    WriteString(Section, Ident, Value ? QStringLiteral("1") : QStringLiteral("0"));
}

void TIniFile::ReadSection(const QString& Section, QStringList& Strings) const
{
    Strings.clear();
    const Document doc = load(m_fileName);
    const int header = doc.findSection(Section);
    if (header < 0)
        return;
    const int end = doc.sectionEnd(header);
    for (int i = header + 1; i < end; ++i) {
        const Line& l = doc.lines[i];
        if (l.kind == Line::Key && !Strings.contains(l.name, Qt::CaseInsensitive))
            Strings << l.name;
    }
}

void TIniFile::ReadSections(QStringList& Strings) const
{
    Strings.clear();
    const Document doc = load(m_fileName);
    for (const Line& l : doc.lines) {
        if (l.kind == Line::Section && !Strings.contains(l.name, Qt::CaseInsensitive))
            Strings << l.name;
    }
}

void TIniFile::ReadSectionValues(const QString& Section, QStringList& Strings) const
{
    Strings.clear();
    const Document doc = load(m_fileName);
    const int header = doc.findSection(Section);
    if (header < 0)
        return;
    const int end = doc.sectionEnd(header);
    QStringList seen;
    for (int i = header + 1; i < end; ++i) {
        const Line& l = doc.lines[i];
        if (l.kind == Line::Key && !seen.contains(l.name, Qt::CaseInsensitive)) {
            seen << l.name;
            Strings << l.name + u'=' + l.value;
        }
    }
}

bool TIniFile::SectionExists(const QString& Section) const
{
    QStringList keys;
    ReadSection(Section, keys);
    return !keys.isEmpty();
}

bool TIniFile::ValueExists(const QString& Section, const QString& Ident) const
{
    QStringList keys;
    ReadSection(Section, keys);
    return keys.contains(Ident, Qt::CaseInsensitive);
}

void TIniFile::EraseSection(const QString& Section)
{
    Document doc = load(m_fileName);
    const int header = doc.findSection(Section);
    if (header < 0)
        return;
    const int end = doc.sectionEnd(header);
    const qsizetype from = doc.lines[header].start;
    const qsizetype to = end < doc.lines.size() ? doc.lines[end].start : doc.bytes.size();
    doc.bytes.remove(from, to - from);
    save(m_fileName, doc.bytes);
}

void TIniFile::DeleteKey(const QString& Section, const QString& Ident)
{
    Document doc = load(m_fileName);
    const int header = doc.findSection(Section);
    if (header < 0)
        return;
    const int key = doc.findKey(header, Ident);
    if (key < 0)
        return;
    const Line& l = doc.lines[key];
    doc.bytes.remove(l.start, l.next - l.start);
    save(m_fileName, doc.bytes);
}

void TIniFile::UpdateFile() {}
