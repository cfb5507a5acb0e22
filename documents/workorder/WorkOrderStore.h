// Writing a work order to the database: the head (t_ReceptionMst), the repair items
// (t_ReceptionDlt) and the parts (t_ReceptionDlt2) replaced as a whole, the device model and
// the main worker added to their pick lists, the contact fields copied into the device, and
// the parts' stock moved, all in one transaction on the connection. The bill's receipts are
// not touched, and neither is the money they booked: a re-save keeps the stored Received and
// DecAmount, which another workstation may have changed since the bill was read.
//
// A bill that was new when the save began (no stored number) gets its number here, inside the
// transaction, and nothing stored is deleted or given back for it; a stored bill is deleted
// and given back under its stored number first. Any failure rolls everything back and leaves
// the memory tables unchanged, so the bill is still new, or still the stored one, afterwards.
#pragma once

#include <QString>

class TADOConnection;
class TDataSet;

namespace qx::documents {

// Whether a work-order save moves stock: the shop's stock flag (StockEnabled) and "是" under
// [参数] 启用库存管理 of INC.ini in the program folder (a missing key counts as "否"). The same
// gate holds for a save and for the delete of a work order.
bool workOrderMovesStock();

// Gives back the stock of the stored parts of work order billNo, inside the caller's
// transaction (the delete of a work order). Nothing when the gate above is closed.
void giveBackWorkOrderStock(TADOConnection& connection, const QString& billNo);

// The memory tables of one work order.
struct WorkOrderRows
{
    const TDataSet& head;  // current record: the head
    const TDataSet& items; // every record: a repair item
    const TDataSet& parts; // every record: a part
};

// Writes the bill and commits; returns the number it was stored under. storedBillNo is the
// number the bill is stored under, empty for a new bill; when that number now belongs to
// another bill (the head's ID differs), the bill is stored as a new one under a new number. The head's BillNo "新单" asks for a
// new number. moveStock: see workOrderMovesStock. Raises (after the rollback) on any failure;
// EUnknownStockPart names a part code without a stock row. No cursor moves.
QString storeWorkOrder(TADOConnection& connection, const WorkOrderRows& bill, const QString& storedBillNo,
                       bool moveStock);

// Adds value to the one-column pick list table (column) when it is not listed; nothing for an
// empty value.
void addLookupValue(TADOConnection& connection, const QString& table, const QString& column, const QString& value);

// Copies LinkMen, Tel, HTel and Mileage of the head into the device of the head's serial
// number (VIN, trimmed), only when exactly one device has it; an empty head value empties the
// device's.
void updateDeviceFromBill(TADOConnection& connection, const TDataSet& head);

} // namespace qx::documents
