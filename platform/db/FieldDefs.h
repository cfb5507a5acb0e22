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
    // Definitions of a dataset change only while it is closed (owner may be null).
    explicit TFieldDefs(TDataSet* owner = nullptr) : m_owner(owner) {}
    // A copy is a plain list: it belongs to no dataset.
    TFieldDefs(const TFieldDefs& other) : m_defs(other.m_defs) {}
    TFieldDefs& operator=(const TFieldDefs& other)
    {
        Assign(other);
        return *this;
    }

    int Count() const { return int(m_defs.size()); }
    const TFieldDef& Items(int index) const { return m_defs.at(std::size_t(index)); }
    TFieldDef& Items(int index) { return m_defs.at(std::size_t(index)); }
    const TFieldDef& operator[](int index) const { return Items(index); }
    // Adds a definition; a name already present (without case) raises "Duplicate field name 'X'".
    TFieldDef& Add(const QString& name, TFieldType type, int size = 0, bool required = false);
    void Clear();
    int IndexOf(const QString& name) const; // without case; -1 when missing
    const TFieldDef* Find(const QString& name) const;
    void Assign(const TFieldDefs& other);
    void Delete(int index);
    std::vector<TFieldDef>::const_iterator begin() const { return m_defs.begin(); }
    std::vector<TFieldDef>::const_iterator end() const { return m_defs.end(); }

private:
    void checkOwnerClosed() const;
    TDataSet* m_owner = nullptr;
    std::vector<TFieldDef> m_defs;
};
