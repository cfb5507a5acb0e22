#include "platform/db/sql/ADOCommand.h"

#include "platform/db/sql/SqlParamParser.h"

TADOCommand::TADOCommand(QObject* parent) : QObject(parent) {}

void TADOCommand::setCommandText(const QString& text)
{
    m_commandText = text;
    m_parameters.Rebuild(qx::parseSqlParameters(text).names);
}

int TADOCommand::Execute()
{
    if (!m_connection)
        throw EDatabaseError(QStringLiteral("%1: Missing Connection or ConnectionString")
                                 .arg(objectName().isEmpty() ? QStringLiteral("TADOCommand") : objectName()));
    m_rowsAffected = -1;
    m_rowsAffected = m_connection->Execute(m_commandText, m_parameters);
    return m_rowsAffected;
}
