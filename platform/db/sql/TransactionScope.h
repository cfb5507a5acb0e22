// One unit of work on a connection: begun when the scope starts, rolled back when the scope
// ends without commit() (an exception on the way out included). Inside an open transaction it
// nests as the connection's savepoint, so an outer unit stays whole. A closed connection is
// opened first.
#pragma once

#include "platform/db/sql/ADOConnection.h"

namespace qx {

class TransactionScope
{
public:
    explicit TransactionScope(TADOConnection& connection)
        : m_connection(connection), m_level(begin(connection))
    {}
    ~TransactionScope()
    {
        if (m_committed || m_connection.TransactionLevel() < m_level)
            return;
        try {
            m_connection.RollbackTrans();
        } catch (...) {
            // The error that ended the unit is the one the operator is told.
        }
    }
    TransactionScope(const TransactionScope&) = delete;
    TransactionScope& operator=(const TransactionScope&) = delete;

    void commit()
    {
        m_connection.CommitTrans();
        m_committed = true;
    }

private:
    static int begin(TADOConnection& connection)
    {
        if (!connection.Connected())
            connection.Open();
        return connection.BeginTrans();
    }

    TADOConnection& m_connection;
    int m_level;
    bool m_committed = false;
};

} // namespace qx
