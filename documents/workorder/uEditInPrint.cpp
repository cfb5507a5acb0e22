// Printing a work order: the print fields of the head, the items and parts side by side, and
// the report templates of "维修结算单".
#include "documents/workorder/uEditIn.h"

#include "app/data/dmData.h"
#include "platform/db/QxMemTable.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"

namespace qx::documents::reception {

// length characters of text from the 1-based position from; empty beyond the text.
QString printPart(const QString& text, int from, int length)
{
    return text.mid(from - 1, length);
}

} // namespace qx::documents::reception

void TFrmReceptionRct::FillPrintFields()
{
    using qx::documents::reception::printPart;
    EnsureEditing(tblHead);
    const QString manual = tblHead->FieldByName(QStringLiteral("ReBillNo"))->AsString().trimmed();
    const TField* inTime = tblHead->FieldByName(QStringLiteral("INtime"));
    const QString day = inTime->IsNull() ? QString() : dmdataUnit->DateOrMonthText(1, inTime->AsDateTime()).trimmed();
    const struct
    {
        const char* field;
        const QString& text;
        int from;
        int length; // the field's width
    } parts[] = {{"B1", manual, 4, 1}, {"B2", manual, 6, 2}, {"B3", manual, 9, 2}, {"B4", manual, 12, 3},
                 {"D1", day, 4, 1},    {"D2", day, 6, 2},    {"D3", day, 9, 2}};
    for (const auto& p : parts)
        tblHead->FieldByName(QLatin1String(p.field))->SetAsString(printPart(p.text, p.from, p.length));
}

void TFrmReceptionRct::BtnPrintClick(QObject*)
{
    if (!dmdataUnit->CheckRight(Caption(), BtnPrint->Caption(), true))
        return;
    FillPrintFields();
    if (!dmdataUnit->MergeSideBySide(tblDetail1, TblDetail2, TblPrintDetail))
        return;
    PrintWithTemplates();
}

void TFrmReceptionRct::PrintWithTemplates()
{
    // The templates see the head as Mstdataset and the merged lines, the items and the parts
    // as DltDataset1 to DltDataset3.
    PrintWithDialog(Caption(), tblHead, TblPrintDetail, tblDetail1, TblDetail2);
}
