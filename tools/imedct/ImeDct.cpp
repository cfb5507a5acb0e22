#include "tools/imedct/ImeDct.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Gbk.h"
#include "platform/rtl/SafeSave.h"

#include <QFile>
#include <QHash>
#include <QList>
#include <QStringList>

namespace qx::tools {

namespace {

struct Entry
{
    QString text;
    QString code;
    QString weight; // empty when the table gives none
};

QList<Entry> readTable(const QString& path)
{
    QList<Entry> out;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw EInOutError(QStringLiteral("Cannot open file \"%1\". %2").arg(path, f.errorString()));
    bool body = false;
    while (!f.atEnd()) {
        QString line = QString::fromUtf8(f.readLine());
        while (line.endsWith(u'\n') || line.endsWith(u'\r'))
            line.chop(1);
        if (!body) {
            body = line == u"...";
            continue;
        }
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QStringList cols = line.split(u'\t');
        if (cols.size() < 2 || cols[0].size() != 1 || cols[1].isEmpty())
            continue;
        out << Entry{cols[0], cols[1], cols.size() > 2 ? cols[2].trimmed() : QString()};
    }
    return out;
}

// A weight as a number; "12.5%" counts as 12.5. -1 when the table gives none.
double weightOf(const QString& w)
{
    if (w.isEmpty())
        return -1;
    bool ok = false;
    const double v = (w.endsWith(u'%') ? w.chopped(1) : w).toDouble(&ok);
    return ok ? v : -1;
}

// The code with the highest weight per character; the first listed wins a tie.
QHash<QChar, QString> mostFrequent(const QList<Entry>& entries)
{
    QHash<QChar, QString> best;
    QHash<QChar, double> bestWeight;
    for (const Entry& e : entries) {
        const QChar c = e.text[0];
        const double w = weightOf(e.weight);
        if (!best.contains(c) || w > bestWeight.value(c)) {
            best.insert(c, e.code);
            bestWeight.insert(c, w);
        }
    }
    return best;
}

QHash<QChar, QString> fullWubi(const QList<Entry>& entries)
{
    QHash<QChar, QString> best;
    for (const Entry& e : entries) {
        if (e.code.startsWith(u'z'))
            continue;
        const QChar c = e.text[0];
        if (!best.contains(c) || e.code.size() > best.value(c).size())
            best.insert(c, e.code);
    }
    return best;
}

QHash<QChar, QString> lastListed(const QList<Entry>& entries)
{
    QHash<QChar, QString> last;
    for (const Entry& e : entries)
        last.insert(e.text[0], e.code);
    return last;
}

char firstLetter(const QString& code, const char* allowed)
{
    if (code.isEmpty())
        return ' ';
    const char c = char(code[0].toUpper().toLatin1());
    for (const char* a = allowed; *a; ++a) {
        if (*a == c)
            return c;
    }
    return ' ';
}

} // namespace

ImeDct buildImeDct(const QString& rimeFolder)
{
    const QString folder = rimeFolder + u'/';
    const QHash<QChar, QString> pinyin = mostFrequent(readTable(folder + "pinyin_simp.dict.yaml"));
    const QHash<QChar, QString> pinyinTraditional = mostFrequent(readTable(folder + "luna_pinyin.dict.yaml"));
    const QHash<QChar, QString> wubiCodes = fullWubi(readTable(folder + "wubi86.dict.yaml"));
    const QHash<QChar, QString> strokes = lastListed(readTable(folder + "stroke.dict.yaml"));

    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    ImeDct out;
    for (int lead = 0xB0; lead <= 0xF7; ++lead) {
        for (int trail = 0xA1; trail <= 0xFE; ++trail) {
            if (lead == 0xD7 && trail >= 0xFA)
                continue; // the five empty cells at the end of row 0xD7
            const char bytes[2] = {char(lead), char(trail)};
            const QString ch = qx::fromGbk(QByteArray(bytes, 2));
            if (ch.size() != 1)
                throw EConvertError(QStringLiteral("no character for %1").arg(lead * 256 + trail, 4, 16));
            const QChar c = ch[0];
            const QString py = pinyin.contains(c) ? pinyin.value(c) : pinyinTraditional.value(c);
            QByteArray line(37, ' ');
            line[0] = bytes[0];
            line[1] = bytes[1];
            line[6] = firstLetter(wubiCodes.value(c), letters);
            line[12] = firstLetter(strokes.value(c), "HSPNZ");
            line[36] = firstLetter(py, letters);
            if (line[6] == ' ' || line[12] == ' ' || line[36] == ' ')
                ++out.gaps;
            out.bytes += line + "\r\n";
            ++out.lines;
        }
    }
    return out;
}

void writeImeDct(const QString& fileName, const QByteArray& bytes)
{
    qx::saveFile(fileName, bytes);
}

} // namespace qx::tools
