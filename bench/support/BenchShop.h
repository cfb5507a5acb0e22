// What the benchmarks of the application's forms share: a shop database of their own with the
// data module connected to it, and the peer's way of reading a statement's whole result.
#pragma once

#include "app/data/dmData.h"
#include "app/schema/TempDatabase.h"
#include "platform/env/ProgramFolder.h"

#include <string>
#include <vector>

#include <sqlite3.h>

namespace qxbench {

// A new, empty shop database in a folder of its own, the program folder pointing at it and the
// data module connected, as the program stands after its start.
class ShopDatabase
{
public:
    ShopDatabase()
    {
        qx::setProgramFolder(m_database.programFolder());
        if (m_module.DataModuleCreate() != TdmdataUnit::orConnected)
            qFatal("the database did not open");
    }
    ShopDatabase(const ShopDatabase&) = delete;
    ShopDatabase& operator=(const ShopDatabase&) = delete;

    TADOConnection& connection() { return *m_module.ADOConnection; }

private:
    qx::app::TempDatabase m_database;
    TdmdataUnit m_module;
};

// Steps a prepared statement to its end, reading every column as text into cells (cleared
// first); returns the rows.
inline int stepAllCells(sqlite3_stmt* stmt, std::vector<std::string>& cells)
{
    int rows = 0;
    cells.clear();
    const int columns = sqlite3_column_count(stmt);
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        ++rows;
        for (int c = 0; c < columns; ++c) {
            switch (sqlite3_column_type(stmt, c)) {
            case SQLITE_INTEGER: cells.push_back(std::to_string(sqlite3_column_int64(stmt, c))); break;
            case SQLITE_FLOAT: cells.push_back(std::to_string(sqlite3_column_double(stmt, c))); break;
            case SQLITE_NULL: cells.emplace_back(); break;
            default:
                cells.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(stmt, c)),
                                   std::size_t(sqlite3_column_bytes(stmt, c)));
            }
        }
    }
    return rows;
}

} // namespace qxbench
