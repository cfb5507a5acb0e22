#include "usystem/vcl/export/uQxDBGridRoutines.h"

#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"
#include "platform/env/DialogService.h"
#include "platform/office/DesktopOpen.h"
#include "platform/office/DocxWriter.h"
#include "platform/office/ExportFileName.h"
#include "platform/rtl/Exceptions.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"
#include "usystem/vcl/export/ExportSupport.h"
#include "usystem/vcl/export/uQxTranOut.h"

#include <QDebug>

namespace {

QString wordCellText(const TField* field)
{
    if (!field)
        return QString();
    if (field->DataType() == ftBoolean)
        return field->IsNull() ? QString() : field->AsBoolean() ? QStringLiteral("是") : QStringLiteral("否");
    return field->AsString();
}

TQxColumn* findColumn(TQxCustomDBGrid* grid, const QString& text, QString (*key)(TQxColumn*))
{
    if (!grid)
        return nullptr;
    TQxDBGridColumns* columns = grid->Columns();
    for (int i = 0; i < columns->Count(); ++i) {
        TQxColumn* column = columns->Items(i);
        if (key(column).compare(text, Qt::CaseInsensitive) == 0)
            return column;
    }
    return nullptr;
}

} // namespace

bool ExportGridToWord(TQxCustomDBGrid* Grid, const QString& Title, const QString& SubTitle,
                      TQxCustomDBGrid* DataGrid)
{
    if (!DataGrid)
        throw Exception(QStringLiteral("网格参数不存在"));
    const std::vector<qx::ExportColumn> columns = qx::exportColumns(*DataGrid);
    bool done = false;
    try {
        qx::DocxWriter doc;
        if (!Title.isEmpty())
            doc.addParagraph(Title);
        if (!columns.empty()) {
            doc.beginTable(int(columns.size()));
            QStringList cells;
            for (const qx::ExportColumn& c : columns)
                cells << c.column->Title()->Caption();
            doc.addRow(cells);
            TDataSet* dataSet = qx::gridDataSet(*DataGrid);
            if (dataSet && dataSet->Active()) {
                dataSet->First();
                while (!dataSet->Eof()) {
                    cells.clear();
                    for (const qx::ExportColumn& c : columns)
                        cells << wordCellText(c.field);
                    doc.addRow(cells);
                    dataSet->Next();
                }
            }
            doc.endTable();
        }
        doc.addParagraph(QString());
        if (!SubTitle.isEmpty())
            doc.addParagraph(SubTitle);
        const QWidget* owner = (Grid ? Grid : DataGrid)->window();
        qx::ClaimedExportFile file(owner ? owner->windowTitle() : QString(), QStringLiteral("docx"));
        doc.save(file.name());
        file.keep();
        done = qx::openWithDesktop(file.name());
        if (!done)
            qWarning() << "The desktop could not open" << file.name();
    } catch (const Exception& e) {
        qWarning() << "Word-processor export failed:" << e.Message();
    }
    if (!done)
        qx::showMessage(QStringLiteral("WORD没有正确安装！"), DataGrid);
    return done;
}

void PrintGrid(TQxDBGrid* Grid, TQxDBGrid* IgnoredGrid, const QString& Title1, const QString& Title2,
               const QString& PageFootExpr, bool Preview)
{
    Q_UNUSED(IgnoredGrid);
    PrintDBGrid(Grid, Title1, Title2, PageFootExpr, Preview);
}

TQxColumn* ColumnByCaption(TQxCustomDBGrid* Grid, const QString& Caption)
{
    return findColumn(Grid, Caption, [](TQxColumn* c) { return c->Title()->Caption(); });
}
