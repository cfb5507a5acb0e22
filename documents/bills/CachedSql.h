// Runs a statement of the program's own text with positional values (?1, ?2, ...) through the
// connection's statement cache, so the saves that run the same few statements for every line
// prepare each of them once per connection.
#pragma once

#include <QString>
#include <QVariantList>

class TADOConnection;

namespace qx::documents {

// Runs sql (one statement, no rows wanted) with values bound in order; returns the rows it
// changed. Raises EDatabaseError on failure.
int runCached(TADOConnection& connection, const QString& sql, const QVariantList& values);

} // namespace qx::documents
