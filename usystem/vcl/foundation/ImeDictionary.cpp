#include "usystem/vcl/foundation/ImeDictionary.h"

#include "platform/rtl/Gbk.h"

#include <QFile>

namespace {

// Byte columns of a dictionary line, counted from 0.
constexpr qsizetype WbColumn = 6;   // the first letter of the wubi code
constexpr qsizetype WbhColumn = 12; // the first wubi stroke
constexpr qsizetype PyColumn = 36;  // the pinyin initial

// The letter in a column: a blank, a byte outside ASCII, or a line too short to reach the
// column is no letter.
char letterAt(QByteArrayView line, qsizetype column)
{
    if (column >= line.size())
        return 0;
    const auto c = uchar(line[column]);
    if (c <= ' ' || c >= 0x80)
        return 0;
    return char(c);
}

void appendLetter(QString& codes, char letter)
{
    if (letter)
        codes += QLatin1Char(letter);
}

} // namespace

ImeDictionary ImeDictionary::fromBytes(QByteArrayView bytes)
{
    ImeDictionary dictionary;
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        qsizetype lf = bytes.indexOf('\n', pos);
        if (lf < 0)
            lf = bytes.size();
        qsizetype end = lf;
        if (end > pos && bytes[end - 1] == '\r')
            --end;
        const QByteArrayView line = bytes.sliced(pos, end - pos);
        pos = lf + 1;
        // Only a line that begins with a two-byte character can name one.
        if (line.size() < 2 || !qx::isGbkLeadByte(uchar(line[0])))
            continue;
        const auto key = quint16((uchar(line[0]) << 8) | uchar(line[1]));
        if (dictionary.m_letters.contains(key))
            continue; // the first line of a character counts
        dictionary.m_letters.insert(
            key, Letters{letterAt(line, PyColumn), letterAt(line, WbhColumn), letterAt(line, WbColumn)});
    }
    return dictionary;
}

bool ImeDictionary::load(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    *this = fromBytes(bytes);
    return true;
}

void ImeDictionary::codesOf(const QString& Name, QString& PY, QString& WBH, QString& WB) const
{
    PY.clear();
    WBH.clear();
    WB.clear();
    if (m_letters.isEmpty())
        return;
    const QByteArray name = qx::toGbk(Name);
    qsizetype i = 0;
    while (i < name.size()) {
        // A single-byte character has no codes and takes one byte; pairing it with the next
        // byte would look up a character that is not in the name.
        if (!qx::isGbkLeadByte(uchar(name[i])) || i + 1 >= name.size()) {
            ++i;
            continue;
        }
        const auto key = quint16((uchar(name[i]) << 8) | uchar(name[i + 1]));
        const auto found = m_letters.constFind(key);
        if (found != m_letters.constEnd()) {
            appendLetter(PY, found->py);
            appendLetter(WBH, found->wbh);
            appendLetter(WB, found->wb);
        }
        i += 2;
    }
}
