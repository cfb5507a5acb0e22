#include "usystem/vcl/foundation/uQxFuncs.h"

#include "platform/env/ProgramFolder.h"
#include "platform/ini/IniFile.h"
#include "platform/rtl/Currency.h"
#include "platform/rtl/Gbk.h"
#include "platform/rtl/SysUtils.h"

#include <QByteArrayView>
#include <QFile>

QString ExeFolderPath(const QString& Name)
{
    return qx::programFolder() + Name;
}

QString StripIniComment(const QString& Value)
{
    const qsizetype hash = Value.indexOf(u'#');
    const qsizetype star = Value.indexOf(u'*');
    qsizetype cut = -1;
    if (hash >= 0 && star >= 0)
        cut = std::min(hash, star);
    else
        cut = hash >= 0 ? hash : star;
    return Trim(cut >= 0 ? Value.left(cut) : Value);
}

QVariant ReadIniValue(const QString& FileName, const QString& Section, const QString& Key,
                      const QVariant& Default)
{
    const QString raw = TIniFile(FileName).ReadString(Section, Key, QString());
    // The test is on the raw text: a value that is only a comment is not "missing".
    if (raw.isEmpty())
        return Default;
    const QString text = StripIniComment(raw);
    const QMetaType type = Default.metaType();
    switch (type.id()) {
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UChar:
    case QMetaType::SChar:
    case QMetaType::Char:
        return StrToInt(text);
    case QMetaType::Float:
    case QMetaType::Double:
        return StrToFloat(text);
    case QMetaType::QDate:
    case QMetaType::QDateTime:
        return StrToDateTime(text).toQDateTime();
    case QMetaType::Bool:
        return StrToInt(text) == 1;
    default:
        break;
    }
    if (type == QMetaType::fromType<Currency>())
        return StrToFloat(text);
    if (type == QMetaType::fromType<TDateTime>())
        return QVariant::fromValue(StrToDateTime(text));
    return text;
}

void WriteIniString(const QString& FileName, const QString& Section, const QString& Key,
                    const QString& Value)
{
    TIniFile(FileName).WriteString(Section, Key, Value);
}

void SetupDateTimeFormats()
{
    TFormatSettings& fs = FormatSettings();
    fs.ShortDateFormat = QStringLiteral("YYYY-MM-DD");
    fs.DateSeparator = u'-';
    fs.ShortTimeFormat = QStringLiteral("HH:MM");
    fs.TimeSeparator = u':';
}

namespace {

// Byte columns of a dictionary line, counted from 0.
constexpr qsizetype WbColumn = 6;   // the first letter of the wubi code
constexpr qsizetype WbhColumn = 12; // the first wubi stroke
constexpr qsizetype PyColumn = 36;  // the pinyin initial

QList<QByteArrayView> dictionaryLines(const QByteArray& bytes)
{
    QList<QByteArrayView> lines;
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        qsizetype lf = bytes.indexOf('\n', pos);
        if (lf < 0)
            lf = bytes.size();
        qsizetype end = lf;
        if (end > pos && bytes[end - 1] == '\r')
            --end;
        lines << QByteArrayView(bytes.constData() + pos, end - pos);
        pos = lf + 1;
    }
    return lines;
}

// The letter in a column: a blank, or a line too short to reach it, is no letter.
QString letterAt(QByteArrayView line, qsizetype column)
{
    if (column >= line.size())
        return QString();
    const char c = line[column];
    if (uchar(c) <= ' ' || uchar(c) >= 0x80)
        return QString();
    return QString(QLatin1Char(c));
}

} // namespace

void GetImeCodes(const QString& Name, QString& PY, QString& WBH, QString& WB)
{
    PY.clear();
    WBH.clear();
    WB.clear();
    QFile file(ExeFolderPath(QStringLiteral("Ime.DCT")));
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray dictionary = file.readAll();
    const QList<QByteArrayView> lines = dictionaryLines(dictionary);

    const QByteArray name = qx::toGbk(Name);
    qsizetype i = 0;
    while (i < name.size()) {
        // A single-byte character has no codes and takes one byte; pairing it with the next
        // byte would look up a character that is not in the name.
        if (!qx::isGbkLeadByte(uchar(name[i])) || i + 1 >= name.size()) {
            ++i;
            continue;
        }
        const QByteArrayView character(name.constData() + i, 2);
        for (const QByteArrayView& line : lines) {
            if (line.size() >= 2 && line.first(2) == character) {
                WBH += letterAt(line, WbhColumn);
                PY += letterAt(line, PyColumn);
                WB += letterAt(line, WbColumn);
                break;
            }
        }
        i += 2;
    }
}

QString LocalizeText(const QString& Text)
{
    return Text;
}
