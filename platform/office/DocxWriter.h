// A word-processor file (.docx): WordprocessingML parts in a zip archive (ZipWriter), holding
// paragraphs and tables in the order they are added, on A4 pages. Each table cell holds one
// value; line breaks inside a value are line breaks inside its cell, so they never spill into
// the next cell.
//
//     qx::DocxWriter doc;
//     doc.addParagraph(u"标题");
//     doc.beginTable(2);
//     doc.addRow({"名称", "数量"});
//     doc.endTable();
//     doc.save(fileName);
#pragma once

#include "platform/rtl/Exceptions.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace qx {

class DocxWriter
{
public:
    DocxWriter();

    // A paragraph of text; an empty text gives an empty paragraph.
    void addParagraph(QStringView text);

    // A table of columns of equal width across the page's text, ruled with thin lines.
    void beginTable(int columns);
    // One row: cells[i] goes into column i; missing cells are empty, cells beyond the table's
    // columns raise Exception.
    void addRow(const QStringList& cells);
    void endTable();

    // The file's bytes; the document is complete (an open table is ended first).
    QByteArray finish();
    // finish(), then saved to fileName through the exports' save routine.
    void save(const QString& fileName);

private:
    void appendText(QStringView text);

    QByteArray m_body; // UTF-8 of the body's content so far
    int m_columns = 0; // of the open table; 0 outside a table
};

} // namespace qx
