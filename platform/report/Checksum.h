// CRC-32C (Castagnoli) of a byte range: the check value of the pages in a page file. Uses the
// processor's CRC instruction where there is one, a table otherwise (same result).
#pragma once

#include <QtGlobal>

namespace qx::report {

quint32 crc32c(const char* data, qsizetype size);

} // namespace qx::report
