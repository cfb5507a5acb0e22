#include "usystem/vcl/export/uQxdbTrans.h"

#include "usystem/vcl/export/ExportSupport.h"

QString QuoteText(const QString& S, QChar Quote)
{
    QString result;
    result.reserve(S.size() + 2);
    qx::appendQuoted(result, S, Quote);
    return result;
}

QString JoinQuoted(const QStringList& List, QChar Delimiter, QChar Quote)
{
    QString result;
    for (qsizetype i = 0; i < List.size(); ++i) {
        if (i > 0)
            result += Delimiter;
        qx::appendQuoted(result, List[i], Quote);
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
