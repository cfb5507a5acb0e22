// TQxDataSetToDBF: a dataset copied into a dBASE table.
#include "usystem/vcl/export/uQxdbTrans.h"

#include "platform/office/DbfDataSet.h"
#include "usystem/vcl/export/ExportSupport.h"

TQxDataSetToDBF::TQxDataSetToDBF(QObject* Owner) : QObject(Owner) {}

void TQxDataSetToDBF::SaveToFile(const QString& FileName)
{
    if (!FDataSet)
        DatabaseError(QStringLiteral("Missing DataSet property"));
    qx::ControlsGuard quiet(FDataSet);
    // A dBASE table's own extension when the name has none.
    QString fileName = FileName;
    if (!qx::hasFileExtension(fileName))
        fileName += QLatin1String(".dbf");
    qx::saveDataSetAsDbf(*FDataSet, fileName);
}
