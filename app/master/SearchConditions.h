// The conditions of a picker's search: joined with "and" behind one " Where ", every typed value
// bound as a parameter (never pasted into the statement), LIKE values matched literally (their
// '%' and '_' escaped), numbers checked as numbers. No length limit: a long condition is run
// whole, never cut.
#pragma once

#include <QString>
#include <QVariantMap>

namespace qx::app {

class SearchConditions
{
public:
    enum class Match { Contains, StartsWith };

    // "column like :pN escape '\'" over text matched literally, where Match says.
    QString like(const QString& column, const QString& text, Match match);
    // "column = :pN".
    QString equals(const QString& column, const QVariant& value);
    // ":pN" bound to value, for a condition the caller writes around it.
    QString bind(const QVariant& value);

    // Adds a condition built from the terms above (and the caller's own column names).
    void add(const QString& condition);

    bool isEmpty() const { return m_conditions.isEmpty(); }
    // " Where " + the conditions joined with " and "; empty without a condition.
    QString where() const;
    const QVariantMap& params() const { return m_params; }

private:
    QString m_conditions;
    QVariantMap m_params;
};

} // namespace qx::app
