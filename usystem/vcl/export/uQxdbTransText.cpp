// TQxDatasetToText: the grid's records as quoted, delimited GBK text.
#include "usystem/vcl/export/uQxdbTrans.h"

#include "platform/office/SaveFile.h"
#include "platform/rtl/Gbk.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"
#include "usystem/vcl/export/ExportSupport.h"

namespace {

// The bytes a blob or memo cell sends to the side file: a memo's text as GBK, like every text
// the file holds; a blob's bytes as they are.
QByteArray blobBytes(const TField& field)
{
    if (field.StorageKind() == qx::RecordStore::Kind::Text)
        return qx::toGbk(field.AsString());
    return field.AsBytes();
}

} // namespace

TQxDatasetToText::TQxDatasetToText(QObject* Owner) : QObject(Owner) {}

void TQxDatasetToText::ExportGrid(TQxCustomDBGrid* Grid, const QString& FileName)
{
    if (!Grid)
        throw TQxDBToTextError(QStringLiteral("网格参数不存在"));
    TDataSet* dataSet = qx::gridDataSet(*Grid);
    if (!dataSet || !dataSet->Active())
        throw TQxDBToTextError(QStringLiteral("Dataset is not active"));

    const std::vector<qx::ExportColumn> columns = qx::exportColumns(*Grid);
    // Each line is JoinQuoted of the record's values, appended straight to the text.
    QString text;
    QByteArray side;
    {
        // The grid is not redrawn for every record passed; it shows the last one afterwards.
        qx::ControlsGuard quiet(dataSet);
        dataSet->First();
        while (!dataSet->Eof()) {
            bool first = true;
            for (const qx::ExportColumn& c : columns) {
                if (!first)
                    text += FDelimiter;
                first = false;
                if (!c.field) {
                    qx::appendQuoted(text, QStringView(), u'"');
                } else if (IsBlobFieldType(c.field->DataType())) {
                    const QByteArray bytes = blobBytes(*c.field);
                    side += bytes;
                    qx::appendQuoted(text, QString::number(bytes.size()), u'"');
                } else {
                    qx::appendQuoted(text, c.field->AsString(), u'"');
                }
            }
            text += QLatin1String("\r\n");
            dataSet->Next();
        }
    }

    QString fileName = FileName;
    if (!qx::hasFileExtension(fileName))
        fileName += QLatin1String(".txt");
    qx::saveFileBytes(fileName, qx::toGbk(text));
    if (!side.isEmpty())
        qx::saveFileBytes(ReplaceFileExt(fileName, QStringLiteral("mem")), side);
}
