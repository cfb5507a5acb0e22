// The print templates a new database starts with. They ship in resources/templates (see its
// README.md) and are compiled in: index.txt lists, one per line, the document class, the
// template's name and its file, and each becomes one "标准式" row of tRctReport.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

struct sqlite3;

namespace qx::app {

struct ShippedTemplate
{
    QString reportClass;
    QString reportName;
    QString fileName;
    QByteArray data;
};

// The templates of the index, in its order. Raises EDatabaseError for a damaged index line or
// a file the index names that is not compiled in.
QList<ShippedTemplate> shippedTemplates();

// Inserts one "标准式" row per shipped template, numbered on within its class after the rows
// already there. Raises EDatabaseError when a row cannot be written.
void insertShippedTemplates(sqlite3* db);

} // namespace qx::app
