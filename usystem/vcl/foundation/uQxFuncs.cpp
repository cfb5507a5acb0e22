#include "usystem/vcl/foundation/uQxFuncs.h"

#include "platform/env/ProgramFolder.h"
#include "platform/ini/IniFile.h"
#include "platform/rtl/Currency.h"
#include "platform/rtl/SysUtils.h"
#include "usystem/vcl/foundation/ImeDictionary.h"

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

void GetImeCodes(const QString& Name, QString& PY, QString& WBH, QString& WB)
{
    PY.clear();
    WBH.clear();
    WB.clear();
    ImeDictionary dictionary;
    if (!dictionary.load(ExeFolderPath(QStringLiteral("Ime.DCT"))))
        return;
    dictionary.codesOf(Name, PY, WBH, WB);
}

QString LocalizeText(const QString& Text)
{
    return Text;
}
