// Numbers of the numbered bills. A number is the bill kind's two-letter prefix, the day of the
// save as "yymmdd" and a three-digit counter: WX260305001 is the first work order saved on
// 5 March 2026. The counter runs 001, 002, ... in the order of saving, per prefix and day.
//
// A number is allocated inside the save's write transaction (BEGIN IMMEDIATE, so no other
// workstation can write between the look-up and the insert) from the greatest well-formed
// number of the day in the head table; the head's unique BillNo index catches anything that
// still clashes, and the save then allocates again. The day's thousandth bill of one prefix
// is refused (EBillNumbersExhausted): the counter has three digits and must not run into the
// date.
#pragma once

#include "platform/rtl/Exceptions.h"

#include <QDate>
#include <QString>

class TADOConnection;

namespace qx::documents {

// A numbered bill kind: its prefix and the table of its heads.
struct BillKind
{
    QString prefix;
    QString headTable;
};

const BillKind& workOrderBills();  // "WX", t_ReceptionMst
const BillKind& salesBills();      // "XS", t_OutMst
const BillKind& purchaseBills();   // "GJ", t_InMst
const BillKind& stockTakingBills(); // "PD", t_CheckMst

// The text a bill not yet saved carries as its number.
QString newBillText();

// Raised when every counter of a prefix and day is taken.
class EBillNumbersExhausted : public EDatabaseError
{
public:
    using EDatabaseError::EDatabaseError;
};

// prefix + day as "yymmdd".
QString billNumberStem(const QString& prefix, const QDate& day);

// The number that follows greatest among the numbers of prefix on day; the first of the day
// when greatest is empty. greatest must be a well-formed number of that stem. Raises
// EBillNumbersExhausted after the counter 999.
QString nextBillNumber(const QString& prefix, const QDate& day, const QString& greatest);

// Allocates the next number of kind for today (the clock's day, not the bill's). The caller
// has the write transaction open on connection and writes the head under that number before
// it commits. Only well-formed numbers of the day count, so a number typed in another form
// never disturbs the counter.
QString allocateBillNumber(TADOConnection& connection, const BillKind& kind);

} // namespace qx::documents
