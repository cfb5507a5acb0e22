// The work order the save worker writes: a head, three repair items and four parts of the
// stock file (P01..P04), with quantities that change from save to save.
#pragma once

#include "platform/db/QxMemTable.h"

#include <QString>

class TADOConnection;

namespace qx::documents::test {

// The part codes the worker's bills use; the tests stock them.
inline const char* const kWorkerParts[] = {"P01", "P02", "P03", "P04"};
constexpr int kWorkerItems = 3;

class WorkerBill
{
public:
    explicit WorkerBill(TADOConnection& connection);

    // Fills the tables for save number i: "新单" as the number when stored is empty.
    void fill(int i, const QString& stored);
    // Writes the bill with its stock; returns the number.
    QString save(const QString& stored);

private:
    TADOConnection& m_connection;
    TQxMemTable m_head;
    TQxMemTable m_items;
    TQxMemTable m_parts;
};

} // namespace qx::documents::test
