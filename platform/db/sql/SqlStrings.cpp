#include "platform/db/sql/SqlStrings.h"

#include <QRegularExpression>

namespace qx {

void SqlStrings::Clear()
{
    m_lines.clear();
    changed();
}

void SqlStrings::Add(const QString& line)
{
    m_lines.append(line);
    changed();
}

QString SqlStrings::Text() const
{
    return m_lines.join(u'\n');
}

void SqlStrings::SetText(const QString& text)
{
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    m_lines = text.isEmpty() ? QStringList() : text.split(lineEnd);
    if (!m_lines.isEmpty() && m_lines.last().isEmpty())
        m_lines.removeLast();
    changed();
}

void SqlStrings::SetLines(const QStringList& lines)
{
    m_lines = lines;
    changed();
}

} // namespace qx
