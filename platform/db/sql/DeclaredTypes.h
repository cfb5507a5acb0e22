// The field kind of a column's declared type. The schema writes the Jet types (TEXT(n), MEMO,
// INTEGER, MONEY, DOUBLE, DECIMAL, DATETIME, YESNO, BLOB...), followed where needed by SQLite's
// own affinity word ("MEMO TEXT", "MONEY REAL"); the common SQL spellings are understood too.
#pragma once

#include "platform/db/DB.h"

#include <QString>

namespace qx {

// ftUnknown for an empty or unknown declaration; size gets a string's characters (255 when
// the declaration gives none), 0 otherwise.
TFieldType fieldTypeOfDeclared(const QString& declared, int& size);

} // namespace qx
