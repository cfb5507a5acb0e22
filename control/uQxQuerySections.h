// The lists a stored report definition (TQxQueryControl) is made of: chosen fields,
// conditions, parameters, calculated fields, joins, total items, group keys and group sums,
// cross columns, calls of other reports and column display settings. Each item publishes its
// values in the order they are stored; values an item keeps only while a result is computed
// (accumulators, the last group value) are plain members, never stored and never copied.
#pragma once

#include "platform/rtl/Currency.h"
#include "platform/stream/Persistent.h"

#include <QString>

#include <optional>

class TQxQueryControl;

namespace qx {

// Base of the items of a definition. An image written by another version may carry item
// values this one does not know: they are read over and dropped.
class QuerySection : public CollectionItem
{
    Q_OBJECT
public:
    explicit QuerySection(Collection* collection);
    ~QuerySection() override;

    // Copies the published values of an item of the same class.
    virtual void Assign(const QuerySection* Source);

    bool readExtraProperty(const QByteArray& name, ImageReader& reader) override;
};

// Base of the lists of a definition: the query component that owns them.
class QuerySectionList : public Collection
{
    Q_OBJECT
public:
    using Collection::Collection;
    TQxQueryControl* Owner() const;
};

// The typed face of one list: Items, Add, Assign and the look-ups by name, which compare
// upper-cased text and give the first matching index or -1.
template <class Item>
class QuerySections : public QuerySectionList
{
public:
    explicit QuerySections(QObject* Owner)
        : QuerySectionList([](Collection* c) -> CollectionItem* { return new Item(c); }, Owner)
    {}

    int Count() const { return count(); }
    Item* Items(int Index) const { return static_cast<Item*>(item(Index)); }
    Item* operator[](int Index) const { return Items(Index); }
    Item* Add() { return static_cast<Item*>(add()); }
    void Clear() { clear(); }

    // Replaces the items by copies of Source's (nothing for a null Source or itself).
    void Assign(const QuerySections* Source)
    {
        if (!Source || Source == this)
            return;
        beginUpdate();
        clear();
        for (int i = 0; i < Source->Count(); ++i)
            Add()->Assign(Source->Items(i));
        endUpdate();
    }

    // The first item whose FieldName equals Name, or -1 (lists whose items have one).
    int IndexOf(const QString& Name) const
    {
        const QString wanted = Name.toUpper();
        for (int i = 0; i < Count(); ++i)
            if (Items(i)->FieldName().toUpper() == wanted)
                return i;
        return -1;
    }
};

} // namespace qx

// A field chosen in the table wizard.
class TFieldSection : public qx::QuerySection
{
    Q_OBJECT
    Q_PROPERTY(QString FieldName READ FieldName WRITE SetFieldName)
    Q_PROPERTY(QString CFieldName READ CFieldName WRITE SetCFieldName)
    Q_PROPERTY(QString TableName READ TableName WRITE SetTableName)
    Q_PROPERTY(QString CTableName READ CTableName WRITE SetCTableName)
    Q_PROPERTY(QString FieldType READ FieldType WRITE SetFieldType)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)

public:
    using qx::QuerySection::QuerySection;

    // The column's name in the database and its caption from the data dictionary.
    QString FieldName() const { return FFieldName; }
    void SetFieldName(const QString& Value) { FFieldName = Value; }
    QString CFieldName() const { return FCFieldName; }
    void SetCFieldName(const QString& Value) { FCFieldName = Value; }
    // The real table name and the table's Chinese name.
    QString TableName() const { return FTableName; }
    void SetTableName(const QString& Value) { FTableName = Value; }
    QString CTableName() const { return FCTableName; }
    void SetCTableName(const QString& Value) { FCTableName = Value; }
    // The dictionary's type word ("Char", "Int", "money"...).
    QString FieldType() const { return FFieldType; }
    void SetFieldType(const QString& Value) { FFieldType = Value; }
    // The column is selected, shown and sorted on.
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value) { FVisible = Value; }

private:
    QString FFieldName;
    QString FCFieldName;
    QString FTableName;
    QString FCTableName;
    QString FFieldType;
    bool FVisible = false;
};

// A condition of a wizard query.
class TConditionSection : public qx::QuerySection
{
    Q_OBJECT
    Q_PROPERTY(QString FieldName READ FieldName WRITE SetFieldName)
    Q_PROPERTY(QString TableName READ TableName WRITE SetTableName)
    Q_PROPERTY(QString OperateChar READ OperateChar WRITE SetOperateChar)
    Q_PROPERTY(QString LogicalChar READ LogicalChar WRITE SetLogicalChar)
    Q_PROPERTY(QString FieldValue READ FieldValue WRITE SetFieldValue)
    Q_PROPERTY(QString InputType READ InputType WRITE SetInputType)

public:
    using qx::QuerySection::QuerySection;

    // The field's caption and its table's Chinese name.
    QString FieldName() const { return FFieldName; }
    void SetFieldName(const QString& Value) { FFieldName = Value; }
    QString TableName() const { return FTableName; }
    void SetTableName(const QString& Value) { FTableName = Value; }
    // The comparison word ("等于", "包含字符"...) and how the condition joins the next one
    // ("并且", "或者", "结束").
    QString OperateChar() const { return FOperateChar; }
    void SetOperateChar(const QString& Value) { FOperateChar = Value; }
    QString LogicalChar() const { return FLogicalChar; }
    void SetLogicalChar(const QString& Value) { FLogicalChar = Value; }
    // The value as entered.
    QString FieldValue() const { return FFieldValue; }
    void SetFieldValue(const QString& Value) { FFieldValue = Value; }
    QString InputType() const { return FInputType; }
    void SetInputType(const QString& Value) { FInputType = Value; }

private:
    QString FFieldName;
    QString FTableName;
    QString FOperateChar;
    QString FLogicalChar;
    QString FFieldValue;
    QString FInputType;
};

// A parameter of an SQL-mode query.
class TConditionSQLSection : public qx::QuerySection
{
    Q_OBJECT
    Q_PROPERTY(QString FieldName READ FieldName WRITE SetFieldName)
    Q_PROPERTY(QString CFieldName READ CFieldName WRITE SetCFieldName)
    Q_PROPERTY(QString FieldType READ FieldType WRITE SetFieldType)
    Q_PROPERTY(QString FieldValue READ FieldValue WRITE SetFieldValue)
    Q_PROPERTY(QString ParName READ ParName WRITE SetParName)
    Q_PROPERTY(QString InputType READ InputType WRITE SetInputType)

public:
    using qx::QuerySection::QuerySection;

    // The placeholder as found in the statement (a two-character marker, then the name).
    QString FieldName() const { return FFieldName; }
    void SetFieldName(const QString& Value) { FFieldName = Value; }
    QString CFieldName() const { return FCFieldName; }
    void SetCFieldName(const QString& Value) { FCFieldName = Value; }
    // "DateTime", "Char", "VarChar", "Int", "Money", "Float" or "Bit".
    QString FieldType() const { return FFieldType; }
    void SetFieldType(const QString& Value) { FFieldType = Value; }
    QString FieldValue() const { return FFieldValue; }
    void SetFieldValue(const QString& Value) { FFieldValue = Value; }
    // The SQL fragment put in place of the placeholder when a value is given.
    QString ParName() const { return FParName; }
    void SetParName(const QString& Value) { FParName = Value; }
    QString InputType() const { return FInputType; }
    void SetInputType(const QString& Value) { FInputType = Value; }

private:
    QString FFieldName;
    QString FCFieldName;
    QString FFieldType;
    QString FFieldValue;
    QString FParName;
    QString FInputType;
};

// A calculated result column (a money column) and its formula.
class TCalcFieldSection : public qx::QuerySection
{
    Q_OBJECT
    Q_PROPERTY(QString FieldName READ FieldName WRITE SetFieldName)
    Q_PROPERTY(QString Expression READ Expression WRITE SetExpression)

public:
    using qx::QuerySection::QuerySection;

    QString FieldName() const { return FFieldName; }
    void SetFieldName(const QString& Value) { FFieldName = Value; }
    QString Expression() const { return FExpression; }
    void SetExpression(const QString& Value) { FExpression = Value; }

private:
    QString FFieldName;
    QString FExpression;
};

// A join between two chosen tables, by Chinese table names and field captions.
class TJoinSection : public qx::QuerySection
{
    Q_OBJECT
    Q_PROPERTY(QString STableName READ STableName WRITE SetSTableName)
    Q_PROPERTY(QString SFieldName READ SFieldName WRITE SetSFieldName)
    Q_PROPERTY(QString DTableName READ DTableName WRITE SetDTableName)
    Q_PROPERTY(QString DFieldName READ DFieldName WRITE SetDFieldName)
    Q_PROPERTY(QString LogicChar READ LogicChar WRITE SetLogicChar)

public:
    using qx::QuerySection::QuerySection;

    QString STableName() const { return FSTableName; }
    void SetSTableName(const QString& Value) { FSTableName = Value; }
    QString SFieldName() const { return FSFieldName; }
    void SetSFieldName(const QString& Value) { FSFieldName = Value; }
    QString DTableName() const { return FDTableName; }
    void SetDTableName(const QString& Value) { FDTableName = Value; }
    QString DFieldName() const { return FDFieldName; }
    void SetDFieldName(const QString& Value) { FDFieldName = Value; }
    // "等于", "大于", "小于", "不等于", "左连" or "右连".
    QString LogicChar() const { return FLogicChar; }
    void SetLogicChar(const QString& Value) { FLogicChar = Value; }

private:
    QString FSTableName;
    QString FSFieldName;
    QString FDTableName;
    QString FDFieldName;
    QString FLogicChar;
};

// An item of the totals row.
class TSumFieldSection : public qx::QuerySection
{
    Q_OBJECT
    Q_PROPERTY(QString FieldName READ FieldName WRITE SetFieldName)
    Q_PROPERTY(QString TableName READ TableName WRITE SetTableName)
    Q_PROPERTY(QString FieldValue READ FieldValue WRITE SetFieldValue)

public:
    using qx::QuerySection::QuerySection;

    // Wizard query: the field caption or a calculated field's name; SQL query: the column.
    QString FieldName() const { return FFieldName; }
    void SetFieldName(const QString& Value) { FFieldName = Value; }
    // Wizard query: the table's Chinese name, or "计算" for a calculated field.
    QString TableName() const { return FTableName; }
    void SetTableName(const QString& Value) { FTableName = Value; }
    // The aggregate word: "合计", "平均值", "记录数", "最大值" or "最小值".
    QString FieldValue() const { return FFieldValue; }
    void SetFieldValue(const QString& Value) { FFieldValue = Value; }

    // While totals are computed: the aggregate so far and how many detail values went in.
    Currency Accumulator;
    int Count = 0;
    void ResetTotal()
    {
        Accumulator = Currency();
        Count = 0;
    }

private:
    QString FFieldName;
    QString FTableName;
    QString FFieldValue;
};

// A group key of an SQL-mode result.
class TGroupFieldSection : public qx::QuerySection
{
    Q_OBJECT
    Q_PROPERTY(QString FieldName READ FieldName WRITE SetFieldName)
    Q_PROPERTY(QString CFieldName READ CFieldName WRITE SetCFieldName)
    Q_PROPERTY(QString disFieldName READ disFieldName WRITE SetdisFieldName)
    Q_PROPERTY(QString CdisFieldName READ CdisFieldName WRITE SetCdisFieldName)
    Q_PROPERTY(QString PreFix READ PreFix WRITE SetPreFix)
    Q_PROPERTY(int FieldLen READ FieldLen WRITE SetFieldLen)

public:
    using qx::QuerySection::QuerySection;

    // The column whose change of value starts a group, and the name as typed.
    QString FieldName() const { return FFieldName; }
    void SetFieldName(const QString& Value) { FFieldName = Value; }
    QString CFieldName() const { return FCFieldName; }
    void SetCFieldName(const QString& Value) { FCFieldName = Value; }
    // The column that receives the group heading, and the name as typed.
    QString disFieldName() const { return FdisFieldName; }
    void SetdisFieldName(const QString& Value) { FdisFieldName = Value; }
    QString CdisFieldName() const { return FCdisFieldName; }
    void SetCdisFieldName(const QString& Value) { FCdisFieldName = Value; }
    // Text written before the group value in the heading.
    QString PreFix() const { return FPreFix; }
    void SetPreFix(const QString& Value) { FPreFix = Value; }
    // Smallest size of the heading column.
    int FieldLen() const { return FFieldLen; }
    void SetFieldLen(int Value) { FFieldLen = Value; }

    // While groups are inserted: the key's value in the last row seen; none before the first
    // row, so that a first row with an empty key still starts a group.
    std::optional<QString> LastValue;

private:
    QString FFieldName;
    QString FCFieldName;
    QString FdisFieldName;
    QString FCdisFieldName;
    QString FPreFix;
    int FFieldLen = 0;
};

// A column summed into the group subtotals.
class TGroupSumSection : public qx::QuerySection
{
    Q_OBJECT
    Q_PROPERTY(QString FieldName READ FieldName WRITE SetFieldName)
    Q_PROPERTY(QString LogicSQL READ LogicSQL WRITE SetLogicSQL)
    Q_PROPERTY(QString SumType READ SumType WRITE SetSumType)

public:
    using qx::QuerySection::QuerySection;

    QString FieldName() const { return FFieldName; }
    void SetFieldName(const QString& Value) { FFieldName = Value; }
    QString LogicSQL() const { return FLogicSQL; }
    void SetLogicSQL(const QString& Value) { FLogicSQL = Value; }
    // Kept in the image but not used: group subtotals are always sums.
    QString SumType() const { return FSumType; }
    void SetSumType(const QString& Value) { FSumType = Value; }

    // Copies everything but SumType, which a loaded definition never takes over.
    void Assign(const qx::QuerySection* Source) override;

    // While groups are inserted: the subtotal of the current group.
    Currency Accumulator;

private:
    QString FFieldName;
    QString FLogicSQL;
    QString FSumType;
};

// A custom cross column.
class TJCSection : public qx::QuerySection
{
    Q_OBJECT
    Q_PROPERTY(QString JCName READ JCName WRITE SetJCName)
    Q_PROPERTY(QString JCCondition READ JCCondition WRITE SetJCCondition)
    Q_PROPERTY(QString JCResult READ JCResult WRITE SetJCResult)

public:
    using qx::QuerySection::QuerySection;

    QString JCName() const { return FJCName; }
    void SetJCName(const QString& Value) { FJCName = Value; }
    QString JCCondition() const { return FJCCondition; }
    void SetJCCondition(const QString& Value) { FJCCondition = Value; }
    QString JCResult() const { return FJCResult; }
    void SetJCResult(const QString& Value) { FJCResult = Value; }

private:
    QString FJCName;
    QString FJCCondition;
    QString FJCResult;
};

// A report that a result row can open.
class TCallSection : public qx::QuerySection
{
    Q_OBJECT
    Q_PROPERTY(QString CallName READ CallName WRITE SetCallName)
    Q_PROPERTY(QString CallType READ CallType WRITE SetCallType)
    Q_PROPERTY(QString SCondition READ SCondition WRITE SetSCondition)
    Q_PROPERTY(QString DCondition READ DCondition WRITE SetDCondition)

public:
    using qx::QuerySection::QuerySection;

    QString CallName() const { return FCallName; }
    void SetCallName(const QString& Value) { FCallName = Value; }
    QString CallType() const { return FCallType; }
    void SetCallType(const QString& Value) { FCallType = Value; }
    // The column of this result whose value is handed over, and the condition of the called
    // report that receives it.
    QString SCondition() const { return FSCondition; }
    void SetSCondition(const QString& Value) { FSCondition = Value; }
    QString DCondition() const { return FDCondition; }
    void SetDCondition(const QString& Value) { FDCondition = Value; }

private:
    QString FCallName;
    QString FCallType;
    QString FSCondition;
    QString FDCondition;
};

// Display settings of one result column.
class TDataSection : public qx::QuerySection
{
    Q_OBJECT
    Q_PROPERTY(QString FieldName READ FieldName WRITE SetFieldName)
    Q_PROPERTY(int TitleLen READ TitleLen WRITE SetTitleLen)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(bool IsMoney READ IsMoney WRITE SetIsMoney)

public:
    using qx::QuerySection::QuerySection;

    QString FieldName() const { return FFieldName; }
    void SetFieldName(const QString& Value) { FFieldName = Value; }
    int TitleLen() const { return FTitleLen; }
    void SetTitleLen(int Value) { FTitleLen = Value; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value) { FVisible = Value; }
    bool IsMoney() const { return FIsMoney; }
    void SetIsMoney(bool Value) { FIsMoney = Value; }

private:
    QString FFieldName;
    int FTitleLen = 0;
    bool FVisible = false;
    bool FIsMoney = false;
};

// ---- the lists ---------------------------------------------------------------------------

class TFieldSections : public qx::QuerySections<TFieldSection>
{
    Q_OBJECT
public:
    explicit TFieldSections(QObject* Owner = nullptr) : QuerySections(Owner) {}
    // The first chosen field with this table's Chinese name and this caption, or -1.
    int IndexOfCaption(const QString& CTableName, const QString& CFieldName) const;
};

class TConditionSections : public qx::QuerySections<TConditionSection>
{
    Q_OBJECT
public:
    explicit TConditionSections(QObject* Owner = nullptr) : QuerySections(Owner) {}
};

class TConditionSQLSections : public qx::QuerySections<TConditionSQLSection>
{
    Q_OBJECT
public:
    explicit TConditionSQLSections(QObject* Owner = nullptr) : QuerySections(Owner) {}
};

class TCalcFieldSections : public qx::QuerySections<TCalcFieldSection>
{
    Q_OBJECT
public:
    explicit TCalcFieldSections(QObject* Owner = nullptr) : QuerySections(Owner) {}
};

class TJoinSections : public qx::QuerySections<TJoinSection>
{
    Q_OBJECT
public:
    explicit TJoinSections(QObject* Owner = nullptr) : QuerySections(Owner) {}
};

class TSumFieldSections : public qx::QuerySections<TSumFieldSection>
{
    Q_OBJECT
public:
    explicit TSumFieldSections(QObject* Owner = nullptr) : QuerySections(Owner) {}
};

class TGroupFieldSections : public qx::QuerySections<TGroupFieldSection>
{
    Q_OBJECT
public:
    explicit TGroupFieldSections(QObject* Owner = nullptr) : QuerySections(Owner) {}
};

class TGroupSumSections : public qx::QuerySections<TGroupSumSection>
{
    Q_OBJECT
public:
    explicit TGroupSumSections(QObject* Owner = nullptr) : QuerySections(Owner) {}
};

class TJCSections : public qx::QuerySections<TJCSection>
{
    Q_OBJECT
public:
    explicit TJCSections(QObject* Owner = nullptr) : QuerySections(Owner) {}
};

class TCallSections : public qx::QuerySections<TCallSection>
{
    Q_OBJECT
public:
    explicit TCallSections(QObject* Owner = nullptr) : QuerySections(Owner) {}
};

class TDataSections : public qx::QuerySections<TDataSection>
{
    Q_OBJECT
public:
    explicit TDataSections(QObject* Owner = nullptr) : QuerySections(Owner) {}
};
