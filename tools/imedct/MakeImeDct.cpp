// Writes Ime.DCT, the input-code dictionary of the program folder: one line for each of the
// 6763 hanzi of GB2312 (rows 0xB0-0xF7) in GBK with CR LF, the codes in fixed byte columns:
//   1-2  the character        7  first letter of its wubi code
//   13   its first stroke     37 the initial of its pinyin
// Letters are upper case; the finders compare codes with LIKE, which ignores case.
//
// Sources, Debian's Rime tables (UTF-8, "text<TAB>code[<TAB>weight]" after the "..." line):
//   pinyin_simp.dict.yaml  readings with frequencies of simplified text: the most frequent wins
//   luna_pinyin.dict.yaml  for characters the first lacks; its frequencies describe traditional
//                          text, so there a weighted reading beats one without a weight
//   wubi86.dict.yaml       the full code (the longest; short codes of frequent characters and
//                          the 'z' wildcard codes do not start with the first root)
//   stroke.dict.yaml       h s p n z strokes; its later, mainland-order entries win over the
//                          earlier Taiwan-order ones
//
// Usage: makeimedct <rime-data folder> <output file>
#include "platform/rtl/Gbk.h"

#include <QFile>
#include <QHash>
#include <QSaveFile>
#include <QString>
#include <QStringList>

#include <cstdio>

namespace {

struct Entry
{
    QString text;
    QString code;
    QString weight; // empty when the table gives none
};

bool readTable(const QString& path, QList<Entry>& out)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "makeimedct: cannot read %s\n", qPrintable(path));
        return false;
    }
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
    return true;
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

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: makeimedct <rime-data folder> <output file>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]) + u'/';
    QList<Entry> simp, luna, wubi, stroke;
    if (!readTable(folder + "pinyin_simp.dict.yaml", simp)
        || !readTable(folder + "luna_pinyin.dict.yaml", luna)
        || !readTable(folder + "wubi86.dict.yaml", wubi)
        || !readTable(folder + "stroke.dict.yaml", stroke))
        return 1;
    const QHash<QChar, QString> pinyin = mostFrequent(simp);
    const QHash<QChar, QString> pinyinTraditional = mostFrequent(luna);
    const QHash<QChar, QString> wubiCodes = fullWubi(wubi);
    const QHash<QChar, QString> strokes = lastListed(stroke);

    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    QByteArray out;
    int lines = 0;
    int gaps = 0;
    for (int lead = 0xB0; lead <= 0xF7; ++lead) {
        for (int trail = 0xA1; trail <= 0xFE; ++trail) {
            if (lead == 0xD7 && trail >= 0xFA)
                continue; // the five empty cells at the end of row 0xD7
            const char bytes[2] = {char(lead), char(trail)};
            const QString ch = qx::fromGbk(QByteArray(bytes, 2));
            if (ch.size() != 1) {
                std::fprintf(stderr, "makeimedct: no character for %02X%02X\n", lead, trail);
                return 1;
            }
            const QChar c = ch[0];
            const QString py = pinyin.contains(c) ? pinyin.value(c) : pinyinTraditional.value(c);
            QByteArray line(37, ' ');
            line[0] = bytes[0];
            line[1] = bytes[1];
            line[6] = firstLetter(wubiCodes.value(c), letters);
            line[12] = firstLetter(strokes.value(c), "HSPNZ");
            line[36] = firstLetter(py, letters);
            if (line[6] == ' ' || line[12] == ' ' || line[36] == ' ')
                ++gaps;
            out += line + "\r\n";
            ++lines;
        }
    }
    if (gaps > 0)
        std::fprintf(stderr, "makeimedct: %d characters lack a code\n", gaps);

    QSaveFile file(QString::fromLocal8Bit(argv[2]));
    if (!file.open(QIODevice::WriteOnly) || file.write(out) != out.size() || !file.commit()) {
        std::fprintf(stderr, "makeimedct: cannot write %s\n", argv[2]);
        return 1;
    }
    std::printf("makeimedct: %d characters\n", lines);
    return 0;
}
