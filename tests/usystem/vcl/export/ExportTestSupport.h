// A memory table behind a data grid, as the export dialog hands grids to the writers, and
// reading a written file back.
#pragma once

#include <QFile>

#include "tests/support/GridTable.h"

namespace qxtest {

using ExportGrid = GridTable;

inline QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

inline void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

} // namespace qxtest
