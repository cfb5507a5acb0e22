#include "platform/db/FieldDefs.h"

#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"

TField* TFieldDef::CreateField(QObject* owner, TDataSet* dataSet) const
{
    TField* f = CreateFieldOfType(DataType, owner);
    if (!f)
        return nullptr;
    f->SetFieldName(Name);
    if (IsStringFieldType(DataType) && DataType != ftMemo && DataType != ftFmtMemo)
        f->SetSize(Size > 0 ? Size : 20);
    else if (Size > 0)
        f->SetSize(Size);
    f->SetRequired(Required);
    if (dataSet)
        dataSet->Fields()->Add(f);
    return f;
}

void TFieldDefs::checkOwnerClosed() const
{
    if (m_owner && m_owner->Active())
        DatabaseError(QStringLiteral("Cannot perform this operation on an open dataset"));
}

void TFieldDefs::Clear()
{
    checkOwnerClosed();
    m_defs.clear();
}

void TFieldDefs::Assign(const TFieldDefs& other)
{
    if (&other == this)
        return;
    checkOwnerClosed();
    m_defs = other.m_defs;
}

void TFieldDefs::Delete(int index)
{
    checkOwnerClosed();
    if (index < 0 || index >= Count())
        DatabaseError(QStringLiteral("List index out of bounds (%1)").arg(index));
    m_defs.erase(m_defs.begin() + index);
}

TFieldDef& TFieldDefs::Add(const QString& name, TFieldType type, int size, bool required)
{
    checkOwnerClosed();
    if (name.trimmed().isEmpty())
        DatabaseError(QStringLiteral("Field name missing"));
    if (IndexOf(name) >= 0)
        DatabaseError(QStringLiteral("Duplicate field name '%1'").arg(name));
    m_defs.emplace_back(name, type, size, required);
    return m_defs.back();
}

int TFieldDefs::IndexOf(const QString& name) const
{
    for (std::size_t i = 0; i < m_defs.size(); ++i)
        if (m_defs[i].Name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

const TFieldDef* TFieldDefs::Find(const QString& name) const
{
    const int i = IndexOf(name);
    return i < 0 ? nullptr : &m_defs[std::size_t(i)];
}
