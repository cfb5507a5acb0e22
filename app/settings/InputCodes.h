// The input codes of parts and repair items: PY (pinyin initials), WBH (stroke letters) and
// WB (wubi letters) of t_Stock and tServiceItem, computed from the item's name with the
// input-code dictionary. The pickers search by them.
#pragma once

class ImeDictionary;
class TADOQuery;

namespace qx::app {

// The largest number of rows of each table one run looks at.
inline constexpr int kInputCodeRowLimit = 100000;

// Walks the first kInputCodeRowLimit rows of t_Stock (by ID) and of tServiceItem through
// Query (a scratch query on the shop's connection) and gives every row whose name is not
// empty and whose PY is null or empty the codes of its name. Rows that have a pinyin code
// keep their codes. Everything is written in one transaction: a database error rolls the
// whole walk back and goes on to the caller, and those rows are tried again next time. Query
// is closed afterwards. Returns the number of rows written.
int fillInputCodes(TADOQuery& Query, const ImeDictionary& Dictionary);

} // namespace qx::app
