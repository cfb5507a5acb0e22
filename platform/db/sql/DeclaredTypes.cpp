#include "platform/db/sql/DeclaredTypes.h"

#include <QSet>

namespace qx {

TFieldType fieldTypeOfDeclared(const QString& declared, int& size)
{
    size = 0;
    const QString decl = declared.trimmed().toUpper();
    if (decl.isEmpty())
        return ftUnknown;
    const int paren = int(decl.indexOf(u'('));
    const QString head = (paren < 0 ? decl : decl.left(paren)).simplified();
    const QString args = paren < 0 ? QString() : decl.mid(paren + 1).section(u')', 0, 0);
    // The first word names the kind; the words after it are SQLite's own affinity, which the
    // schema adds so the column stores as it should ("MEMO TEXT", "MONEY REAL"). A few kinds
    // are spelled in two words, and those are taken whole.
    static const QSet<QString> twoWords = {QStringLiteral("VARYING CHARACTER"), QStringLiteral("DOUBLE PRECISION")};
    const QString base = twoWords.contains(head) ? head : head.section(u' ', 0, 0);
    static const QSet<QString> text = {QStringLiteral("TEXT"), QStringLiteral("VARCHAR"), QStringLiteral("CHAR"),
                                       QStringLiteral("NVARCHAR"), QStringLiteral("NCHAR"), QStringLiteral("STRING"),
                                       QStringLiteral("CHARACTER"), QStringLiteral("VARYING CHARACTER")};
    if (text.contains(base)) {
        bool ok = false;
        size = args.section(u',', 0, 0).trimmed().toInt(&ok);
        if (!ok || size <= 0)
            size = 255; // Jet's TEXT without a size holds 255 characters
        return ftString;
    }
    if (base == u"MEMO" || base == u"LONGTEXT" || base == u"NTEXT" || base == u"CLOB")
        return ftMemo;
    if (base == u"INTEGER" || base == u"INT" || base == u"LONG" || base == u"MEDIUMINT")
        return ftInteger;
    if (base == u"SMALLINT" || base == u"SHORT" || base == u"TINYINT" || base == u"BYTE")
        return ftSmallint;
    if (base == u"BIGINT" || base == u"INT64")
        return ftLargeint;
    if (base == u"COUNTER" || base == u"AUTOINCREMENT")
        return ftAutoInc;
    if (base == u"MONEY" || base == u"CURRENCY")
        return ftCurrency;
    if (base == u"DOUBLE" || base == u"FLOAT" || base == u"REAL" || base == u"SINGLE" || base == u"DOUBLE PRECISION")
        return ftFloat;
    if (base == u"DECIMAL" || base == u"NUMERIC")
        return ftBCD;
    if (base == u"DATETIME" || base == u"TIMESTAMP")
        return ftDateTime;
    if (base == u"DATE")
        return ftDate;
    if (base == u"TIME")
        return ftTime;
    if (base == u"YESNO" || base == u"BIT" || base == u"BOOLEAN" || base == u"LOGICAL")
        return ftBoolean;
    if (base == u"BLOB" || base == u"LONGBINARY" || base == u"IMAGE" || base == u"OLEOBJECT" || base == u"BINARY"
        || base == u"VARBINARY")
        return ftBlob;
    return ftUnknown;
}

} // namespace qx
