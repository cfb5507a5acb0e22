// Field definitions: the structure of a dataset's table (name, type, size, required), from
// which its default fields are made.
#pragma once

#include "platform/db/DB.h"

#include <QString>

#include <vector>

class QObject;

class TFieldDef
{
public:
    TFieldDef() = default;
    TFieldDef(const QString& name, TFieldType type, int size = 0, bool required = false)
        : Name(name), DataType(type), Size(size), Required(required)
    {}

    // Makes the field this definition describes, owned by owner, for dataSet.
    TField* CreateField(QObject* owner, TDataSet* dataSet) const;

    QString Name;
    TFieldType DataType = ftUnknown;
    int Size = 0;
    bool Required = false;
    int Precision = 0;
};

class TFieldDefs
{
public:
    int Count() const { return int(m_defs.size()); }
    const TFieldDef& Items(int index) const { return m_defs.at(std::size_t(index)); }
    TFieldDef& Items(int index) { return m_defs.at(std::size_t(index)); }
    const TFieldDef& operator[](int index) const { return Items(index); }
    // Adds a definition; a name already present (without case) raises "Duplicate field name 'X'".
    TFieldDef& Add(const QString& name, TFieldType type, int size = 0, bool required = false);
    void Clear() { m_defs.clear(); }
    int IndexOf(const QString& name) const; // without case; -1 when missing
    const TFieldDef* Find(const QString& name) const;
    void Assign(const TFieldDefs& other) { m_defs = other.m_defs; }
    void Delete(int index) { m_defs.erase(m_defs.begin() + index); }
    std::vector<TFieldDef>::const_iterator begin() const { return m_defs.begin(); }
    std::vector<TFieldDef>::const_iterator end() const { return m_defs.end(); }

private:
    std::vector<TFieldDef> m_defs;
};
