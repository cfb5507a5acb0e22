#include "usystem/vcl/export/uQxdbTrans.h"

// The texts are written as GBK, whose second bytes start at 0x40: an ASCII quote byte in the
// file only ever comes from a quote character, so doubling characters doubles the bytes.
QString QuoteText(const QString& S, QChar Quote)
{
    QString result;
    result.reserve(S.size() + 2);
    result += Quote;
    for (QChar c : S) {
        result += c;
        if (c == Quote)
            result += c;
    }
    result += Quote;
    return result;
}

QString JoinQuoted(const QStringList& List, QChar Delimiter, QChar Quote)
{
    QString result;
    for (qsizetype i = 0; i < List.size(); ++i) {
        if (i > 0)
            result += Delimiter;
        result += QuoteText(List[i], Quote);
    }
    return result;
}

QString RemoveFileExt(const QString& Path)
{
    const qsizetype dot = Path.lastIndexOf(u'.');
    return dot < 0 ? Path : Path.left(dot);
}

QString ReplaceFileExt(const QString& Path, const QString& Ext)
{
    return RemoveFileExt(Path) + u'.' + Ext;
}
