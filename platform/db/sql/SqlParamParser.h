// ADO-style parameters in SQL text: ":name" marks a parameter. Names are letters of any
// script, digits and '_' (so ":单号" is a parameter), and must start with a letter or '_', so
// times like 10:20 are not parameters. Literals, quoted names and comments are skipped, and
// "::" stands for one colon. The text handed to SQLite carries "?N" in place of each name, so
// every value is bound, never pasted into the statement.
#pragma once

#include <QString>
#include <QStringList>

namespace qx {

struct ParsedSql
{
    // The statement with ?1, ?2 ... in place of the names; a name used twice gets one number.
    QString sql;
    // The parameter names in order of first use; names[i] is bound as ?(i+1). Names compare
    // without case, and the spelling of the first use is kept.
    QStringList names;
};

ParsedSql parseSqlParameters(const QString& sql);

} // namespace qx
