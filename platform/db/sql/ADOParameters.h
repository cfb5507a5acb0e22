// The parameters of a command or query, by the names the SQL text gives them (":name").
// Values are always bound to the statement, never pasted into its text.
#pragma once

#include "platform/db/DB.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

class TParameter
{
public:
    explicit TParameter(const QString& name) : m_name(name) {}

    QString Name() const { return m_name; }
    TFieldType DataType() const { return m_dataType; }
    void setDataType(TFieldType type) { m_dataType = type; }
    QVariant Value() const { return m_value; }
    // A value set while DataType is ftUnknown also gives the type (an int gives ftInteger, a
    // Currency ftCurrency, a TDateTime ftDateTime...).
    void setValue(const QVariant& value);
    bool IsNull() const { return !m_value.isValid() || m_value.isNull(); }
    void Clear() { m_value = QVariant(); }

    // The value converted for the database by DataType: Booleans 0/1, dates as text, money and
    // BCD as numbers, blobs as bytes; Currency and TDateTime values (what the fields' AsCurrency
    // and AsDateTime give) convert like any other. A value that does not convert raises
    // EDatabaseError; none is cut (an amount with a fraction is no integer).
    QVariant boundValue() const;

private:
    QString m_name;
    TFieldType m_dataType = ftUnknown;
    QVariant m_value;
};

class TParameters
{
public:
    TParameters() = default;
    TParameters(const TParameters&) = delete;
    TParameters& operator=(const TParameters&) = delete;

    int Count() const { return int(m_items.size()); }
    TParameter& operator[](int index) { return *m_items.at(std::size_t(index)); }
    const TParameter& operator[](int index) const { return *m_items.at(std::size_t(index)); }
    TParameter* Items(int index) { return m_items.at(std::size_t(index)).get(); }

    // Without case; nullptr when there is none.
    TParameter* FindParam(const QString& name) const;
    // Raises EDatabaseError "Parameter 'X' not found" when there is none.
    TParameter& ParamByName(const QString& name) const;
    TParameter& AddParameter(const QString& name);
    void Clear() { m_items.clear(); }

    // Makes the list the given names in order. A parameter whose name stays keeps its type and
    // value, so a query can take new SQL and keep what was set.
    void Rebuild(const QStringList& names);

    // Binds parameter i as ?(i+1) of stmt, for the indexes the statement uses.
    void BindTo(sqlite3* db, sqlite3_stmt* stmt) const;

private:
    std::vector<std::unique_ptr<TParameter>> m_items;
};
