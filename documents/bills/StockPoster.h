// Moves the stock of a bill's parts: first it gives back what the stored version of the bill
// took, then it takes what the lines on screen take, all inside the bill's transaction. Stock
// moves in whole numbers: a quantity is rounded to the nearest integer, halves to even, before
// it is added or taken. The cost price of a stock row is never touched.
//
// A part code with no row in the stock file stops the posting with EUnknownStockPart, whose
// message names the code: a posting never makes a stock row the look-ups cannot find.
#pragma once

#include "platform/rtl/Exceptions.h"

#include <QString>

class TADOConnection;
class TDataSet;

namespace qx::documents {

class EUnknownStockPart : public EDatabaseError
{
public:
    explicit EUnknownStockPart(const QString& code);
    const QString& code() const { return m_code; }

private:
    QString m_code;
};

// The whole number a line's quantity moves: nearest integer, halves to even.
qint64 stockQuantity(double quantity);

class StockPoster
{
public:
    explicit StockPoster(TADOConnection& connection) : m_connection(connection) {}

    // Adds delta to the Qty of code's stock row.
    void move(const QString& code, qint64 delta);
    // Gives back the quantities of the stored lines of billNo in lineTable (ItemCode, Qty).
    void giveBack(const QString& lineTable, const QString& billNo);
    // Takes the quantities of every record of lines (fields ItemCode and Qty). The cursor of
    // lines stays where it is.
    void take(const TDataSet& lines);

private:
    TADOConnection& m_connection;
};

} // namespace qx::documents
