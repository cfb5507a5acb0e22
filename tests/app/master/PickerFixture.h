// What the picker tests share: a bill's line table whose new lines carry the bill's number and
// settlement word, the values of one column of a picker's list, and the layout file of a grid.
#pragma once

#include "MasterFixture.h"

#include "platform/env/ProgramFolder.h"

#include <QDir>
#include <QFileInfo>

namespace qx::app::test {

// The part lines of a work order, as its editor keeps them in memory.
class PartLines : public HubTable
{
public:
    PartLines()
        : HubTable({{"ID", ftInteger}, {"BillNo", ftString}, {"ItemCode", ftString}, {"ItemName", ftString},
                    {"Qty", ftInteger}, {"Price", ftCurrency}, {"UnitCode", ftString},
                    {"Amount", ftCurrency}, {"CostPrice", ftCurrency}, {"PayType", ftString}})
    {
        OnNewRecord = [](TDataSet* DataSet) {
            DataSet->FieldByName(QStringLiteral("BillNo"))->SetAsString(QStringLiteral("新单"));
            DataSet->FieldByName(QStringLiteral("PayType"))->SetAsString(QStringLiteral("客付"));
        };
    }
};

// The values of a column over every row of a dataset, in order.
inline QStringList columnValues(TDataSet* dataSet, const QString& field)
{
    QStringList values;
    dataSet->ForEachRecord([&] {
        values << dataSet->FieldByName(field)->AsString();
        return true;
    });
    return values;
}

// The names of the fields the hub was called for, in order.
inline QStringList hubFields(const QStringList& calls)
{
    QStringList names;
    for (const QString& call : calls)
        names << call.section(u'=', 0, 0);
    return names;
}

inline QString layoutFile(const QString& name)
{
    return QDir(programFolder()).filePath(name);
}

} // namespace qx::app::test
