// TADOCommand: runs a statement that returns no rows (INSERT, UPDATE, DELETE, DDL) on its
// connection, with ":name" parameters that are always bound.
#pragma once

#include "platform/db/sql/ADOConnection.h"
#include "platform/db/sql/ADOParameters.h"

#include <QObject>
#include <QPointer>

class TADOCommand : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString CommandText READ CommandText WRITE setCommandText)
    Q_PROPERTY(TADOConnection* Connection READ Connection WRITE setConnection)

public:
    explicit TADOCommand(QObject* parent = nullptr);

    QString CommandText() const { return m_commandText; }
    // Re-reads the parameter names of the text; parameters that keep their name keep their
    // type and value.
    void setCommandText(const QString& text);
    TADOConnection* Connection() const { return m_connection; }
    void setConnection(TADOConnection* connection) { m_connection = connection; }

    TParameters& Parameters() { return m_parameters; }
    const TParameters& Parameters() const { return m_parameters; }

    // Runs the text and returns the rows changed; raises EDatabaseError without a connection.
    int Execute();
    int RowsAffected() const { return m_rowsAffected; }

private:
    QString m_commandText;
    QPointer<TADOConnection> m_connection;
    TParameters m_parameters;
    int m_rowsAffected = -1;
};
