// TQxRctStr: a document structure. It is a memory table that carries, besides its rows, the
// definition of a document: one field definition per column (TMstSection: caption, source
// table, picker code, default, flags, width) and the search conditions of its record picker
// (TFindsection). The library's data controls look at the structure behind a control to
// choose its picker, and the form look pass reads its definitions.
//
// A structure is kept whole, definitions included, as a component-stream image in the blob
// RctData of table tRctStr (key RctCode). Its rows never go into the image: they come from its
// select statement (Prepare) and go back to its table with SaveMaster.
//
// Everything that touches the database runs on the library data module (uDMDataBase.h): its
// structure query, its scratch query and its business connection. Without the module those
// operations raise EDatabaseError with a message saying so.
#pragma once

#include "platform/db/QxMemTable.h"
#include "platform/stream/Persistent.h"

#include <QString>
#include <QVariantMap>

#include <functional>

class TADOQuery;
class TQxCustomDBGrid;
class TQxRctStr;

// The handlers a structure gives every one of its fields (Prepare).
using TQxGetTextEvent = std::function<void(TField* Sender, QString& Text, bool DisplayText)>;
using TQxSetTextEvent = std::function<void(TField* Sender, const QString& Text)>;

// ---- field definition --------------------------------------------------------------------

class TMstSection : public qx::CollectionItem
{
    Q_OBJECT
    Q_CLASSINFO("QxDefaults", "IsReadOnly=false;CanNull=true;Visible=false;displaySize=0")
    Q_PROPERTY(QString FieldName READ FieldName WRITE SetFieldName)
    Q_PROPERTY(QString CFieldName READ CFieldName WRITE SetCFieldName)
    Q_PROPERTY(QString TableName READ TableName WRITE SetTableName)
    Q_PROPERTY(QString LookUp READ LookUp WRITE SetLookUp)
    Q_PROPERTY(QString DefaultValue READ DefaultValue WRITE SetDefaultValue)
    Q_PROPERTY(bool IsReadOnly READ IsReadOnly WRITE SetIsReadOnly)
    Q_PROPERTY(bool CanNull READ CanNull WRITE SetCanNull)
    Q_PROPERTY(QString MaxValue READ MaxValue WRITE SetMaxValue)
    Q_PROPERTY(QString MinValue READ MinValue WRITE SetMinValue)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(QString LookupKey READ LookupKey WRITE SetLookupKey)
    Q_PROPERTY(QString ActionType READ ActionType WRITE SetActionType)
    Q_PROPERTY(int displaySize READ displaySize WRITE SetDisplaySize)
    Q_PROPERTY(QString RightField READ RightField WRITE SetRightField)
    Q_PROPERTY(QString DBControl READ DBControl WRITE SetDBControl)

public:
    explicit TMstSection(qx::Collection* Collection);
    ~TMstSection() override;

    // The dataset field: a plain name, or "<source expression> as <alias>".
    QString FieldName() const { return FFieldName; }
    void SetFieldName(const QString& value) { FFieldName = value; }
    QString CFieldName() const { return FCFieldName; }
    void SetCFieldName(const QString& value) { FCFieldName = value; }
    // The source table, optionally followed by a bracketed source column: "tMaterial[ItemCode]".
    QString TableName() const { return FTableName; }
    void SetTableName(const QString& value) { FTableName = value; }
    QString LookUp() const { return FLookUp; }
    void SetLookUp(const QString& value) { FLookUp = value; }
    QString DefaultValue() const { return FDefaultValue; }
    void SetDefaultValue(const QString& value) { FDefaultValue = value; }
    bool IsReadOnly() const { return FIsReadOnly; }
    void SetIsReadOnly(bool value) { FIsReadOnly = value; }
    bool CanNull() const { return FCanNull; }
    void SetCanNull(bool value) { FCanNull = value; }
    QString MaxValue() const { return FMaxValue; }
    void SetMaxValue(const QString& value) { FMaxValue = value; }
    QString MinValue() const { return FMinValue; }
    void SetMinValue(const QString& value) { FMinValue = value; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool value) { FVisible = value; }
    // The field whose entry fills this one by lookup, optionally with the column to fetch:
    // "ItemCode[ItemName]".
    QString LookupKey() const { return FLookupKey; }
    void SetLookupKey(const QString& value) { FLookupKey = value; }
    // The picker code of the field ("BPYWB", "BGetDate", or a structure code).
    QString ActionType() const { return FActionType; }
    void SetActionType(const QString& value) { FActionType = value; }
    int displaySize() const { return FdisplaySize; }
    void SetDisplaySize(int value) { FdisplaySize = value; }
    QString RightField() const { return FRightField; }
    void SetRightField(const QString& value) { FRightField = value; }
    QString DBControl() const { return FDBControl; }
    void SetDBControl(const QString& value) { FDBControl = value; }

    // The dataset field's name: the alias of the " as " form, else the whole FieldName.
    QString DataFieldName() const;
    // The column the structure's SQL reads for the field: the source expression of the
    // " as " form, else the bracketed column of TableName, else the whole FieldName.
    QString SourceField() const;
    // The table part of TableName (before '[').
    QString SourceTable() const;

    // Copies every published value of another definition. Raises EConvertError for an
    // object of another class.
    void Assign(const QObject* Source);

private:
    QString FFieldName;
    QString FCFieldName;
    QString FTableName;
    QString FLookUp;
    QString FDefaultValue;
    bool FIsReadOnly = false;
    bool FCanNull = true;
    QString FMaxValue;
    QString FMinValue;
    bool FVisible = false;
    QString FLookupKey;
    QString FActionType;
    int FdisplaySize = 0;
    QString FRightField;
    QString FDBControl;
};

class TMstSections : public qx::Collection
{
    Q_OBJECT

public:
    explicit TMstSections(QObject* Owner = nullptr);
    ~TMstSections() override;

    int Count() const { return count(); }
    TMstSection* Items(int Index) const { return static_cast<TMstSection*>(item(Index)); }
    TMstSection* operator[](int Index) const { return Items(Index); }
    TMstSection* Add() { return static_cast<TMstSection*>(add()); }
    void Clear() { clear(); }
    // Replaces every definition by a copy of Source's (nothing for a null Source).
    void Assign(const TMstSections* Source);
    // The first definition whose dataset field name equals Name without regard to case, or -1.
    int IndexOfField(const QString& Name) const;
    // Swaps the definitions at two positions.
    void Exchange(int Index1, int Index2);
};

// ---- search condition --------------------------------------------------------------------

class TFindsection : public qx::CollectionItem
{
    Q_OBJECT
    Q_PROPERTY(QString FieldName READ FieldName WRITE SetFieldName)
    Q_PROPERTY(QString CFieldName READ CFieldName WRITE SetCFieldName)
    Q_PROPERTY(QString TableName READ TableName WRITE SetTableName)
    Q_PROPERTY(QString OperateChar READ OperateChar WRITE SetOperateChar)
    Q_PROPERTY(QString logicChar READ logicChar WRITE SetLogicChar)
    Q_PROPERTY(QString FieldValue READ FieldValue WRITE SetFieldValue)
    Q_PROPERTY(QString FieldType READ FieldType WRITE SetFieldType)
    Q_PROPERTY(QString InPutType READ InPutType WRITE SetInPutType)

public:
    explicit TFindsection(qx::Collection* Collection);
    ~TFindsection() override;

    QString FieldName() const { return FFieldName; }
    void SetFieldName(const QString& value) { FFieldName = value; }
    QString CFieldName() const { return FCFieldName; }
    void SetCFieldName(const QString& value) { FCFieldName = value; }
    QString TableName() const { return FTableName; }
    void SetTableName(const QString& value) { FTableName = value; }
    // The comparison, a word such as "等于" or "包含于".
    QString OperateChar() const { return FOperateChar; }
    void SetOperateChar(const QString& value) { FOperateChar = value; }
    QString logicChar() const { return FlogicChar; }
    void SetLogicChar(const QString& value) { FlogicChar = value; }
    QString FieldValue() const { return FFieldValue; }
    void SetFieldValue(const QString& value) { FFieldValue = value; }
    // "Datetime", "Varchar", "Char", "Boolean" and the like.
    QString FieldType() const { return FFieldType; }
    void SetFieldType(const QString& value) { FFieldType = value; }
    // The picker code for the value.
    QString InPutType() const { return FInPutType; }
    void SetInPutType(const QString& value) { FInPutType = value; }

    // Copies every published value of another condition. Raises EConvertError for an object
    // of another class.
    void Assign(const QObject* Source);

private:
    QString FFieldName;
    QString FCFieldName;
    QString FTableName;
    QString FOperateChar;
    QString FlogicChar;
    QString FFieldValue;
    QString FFieldType;
    QString FInPutType;
};

class TFindsections : public qx::Collection
{
    Q_OBJECT

public:
    explicit TFindsections(QObject* Owner = nullptr);
    ~TFindsections() override;

    int Count() const { return count(); }
    TFindsection* Items(int Index) const { return static_cast<TFindsection*>(item(Index)); }
    TFindsection* operator[](int Index) const { return Items(Index); }
    TFindsection* Add() { return static_cast<TFindsection*>(add()); }
    void Clear() { clear(); }
    // Replaces every condition by a copy of Source's (nothing for a null Source).
    void Assign(const TFindsections* Source);
};

// ---- the structure -----------------------------------------------------------------------

// The SQL dialect of the library's structures: 0 (Access, in force) reads SQLMstSQL, 1 (the
// second dialect) reads GenMstSQL.
extern int RctStrSqlDialect;

class TQxRctStr : public TQxMemTable, public qx::Streamable
{
    Q_OBJECT
    Q_PROPERTY(TMstSections* MstSections READ MstSections WRITE SetMstSections)
    Q_PROPERTY(TFindsections* FindSections READ FindSections WRITE SetFindSections)
    Q_PROPERTY(QString MstTableName READ MstTableName WRITE SetMstTableName)
    Q_PROPERTY(QString MstCondition READ MstCondition WRITE SetMstCondition)
    Q_PROPERTY(QString GenCondition READ GenCondition WRITE SetGenCondition)
    Q_PROPERTY(QString MstSQL READ MstSQL WRITE SetMstSQL)
    Q_PROPERTY(QString SQLMstSQL READ SQLMstSQL WRITE SetSQLMstSQL)
    Q_PROPERTY(QString GenMstSQL READ GenMstSQL WRITE SetGenMstSQL)
    Q_PROPERTY(QString ItemField READ ItemField WRITE SetItemField)
    Q_PROPERTY(QString ConditionRemark READ ConditionRemark WRITE SetConditionRemark)

public:
    // Registers, once per run, the classes a stored structure may name.
    explicit TQxRctStr(QObject* Owner = nullptr);
    ~TQxRctStr() override;

    // Given to every field of the structure by Prepare.
    TQxGetTextEvent OnQxGetText;
    TQxSetTextEvent OnQxSetText;

    TMstSections* MstSections() const { return FMstSections; }
    void SetMstSections(TMstSections* value) { FMstSections->Assign(value); }
    TFindsections* FindSections() const { return FFindSections; }
    void SetFindSections(TFindsections* value) { FFindSections->Assign(value); }
    QString MstTableName() const { return FMstTableName; }
    void SetMstTableName(const QString& value) { FMstTableName = value; }
    QString MstCondition() const { return FMstCondition; }
    void SetMstCondition(const QString& value) { FMstCondition = value; }
    QString GenCondition() const { return FGenCondition; }
    void SetGenCondition(const QString& value) { FGenCondition = value; }
    // The statement of the dialect in force. A value written here is kept apart and never
    // read: SQLMstSQL and GenMstSQL are the statements.
    QString MstSQL() const;
    void SetMstSQL(const QString& value) { FMstSQL = value; }
    QString SQLMstSQL() const { return FSQLMstSQL; }
    void SetSQLMstSQL(const QString& value) { FSQLMstSQL = value; }
    QString GenMstSQL() const { return FGenMstSQL; }
    void SetGenMstSQL(const QString& value) { FGenMstSQL = value; }
    // The line-number field; empty when the document has none.
    QString ItemField() const { return FItemField; }
    void SetItemField(const QString& value) { FItemField = value; }
    QString ConditionRemark() const { return FConditionRemark; }
    void SetConditionRemark(const QString& value) { FConditionRemark = value; }

    // The code last given to LoadByCode.
    QString RctCode() const { return FRctCode; }

    // Empties the definitions, the conditions, MstTableName, MstCondition, GenCondition and
    // the statements; ItemField and ConditionRemark keep their values.
    void Clear();
    // Loads the structure stored under Code in tRctStr (a missing row or an empty image
    // leaves it cleared) and remembers Code.
    void LoadByCode(const QString& Code);
    // Clears the structure and reads the image in RctData of DataSet's current row; true when
    // a structure was read.
    bool LoadFromDataSet(TDataSet* DataSet);
    // The memory table's copy of rows, under its own signature.
    void LoadFromDataSet(TDataSet* Source, TMemTableCopyOptions Options, int Limit = -1)
    {
        TQxMemTable::LoadFromDataSet(Source, Options, Limit);
    }
    // Copies definitions, conditions, table name, conditions texts and statements of Source;
    // ItemField is not copied.
    void CopyFrom(const TQxRctStr* Source);
    // Stores the structure into the existing row of Code in tRctStr; a missing row is not
    // created.
    void SaveByCode(const QString& Code);
    // Writes the structure as the only component of an image into RctData of DataSet's
    // current row and posts the row.
    void SaveToDataSet(TDataSet* DataSet);

    // Loads Code, then opens Query on an empty result with the structure's columns.
    void OpenStructure(const QString& Code, TADOQuery* Query);
    // Gives the structure the columns of its statement (through the scratch query), and with
    // WithItemIndex orders its rows by the line number ItemIndex.
    void Prepare(const QString& Code, bool WithItemIndex);
    // Opens Query on the structure's statement, limited by Top (" Top 20 ", may be empty) and
    // restricted by Where (may be empty): put first into the statement's own WHERE, each side
    // in parentheses, or added as its WHERE. Values that users typed belong in Params (bound
    // to ":name" parameters of Where), never pasted into Where.
    void OpenWhere(const QString& Where, TADOQuery* Query, const QString& Top,
                   const QVariantMap& Params = {});
    // Writes the structure's rows to MstTableName in one transaction on the business
    // connection (nested in one already open). EditOnly writes the current row over the row
    // Where selects (or adds it); otherwise the rows Where selects are deleted and every row
    // of the structure is added. False, with everything rolled back, when the save failed:
    // SaveMasterError() tells why.
    bool SaveMaster(const QString& Where, bool EditOnly, const QVariantMap& Params = {});
    // The message of the last failed SaveMaster (empty after a successful one).
    QString SaveMasterError() const { return FSaveMasterError; }
    // Replaces Grid's columns by one per visible definition of Source (null: this structure).
    void BuildGridColumns(TQxCustomDBGrid* Grid, const TQxRctStr* Source = nullptr);
    // The set-text handler a form gives its structure: stores Text and fills the fields whose
    // LookupKey names Field from Field's source table.
    void LookupFieldText(TField* Field, const QString& Text);

    std::optional<bool> isPropertyStored(const char* name) const override;
    std::optional<QList<QObject*>> streamedChildren() const override;

protected:
    void DoAfterOpen() override;

private:
    // The structure fills defaults and line numbers of a new row around the form's
    // AfterInsert, and renumbers the lines before its AfterDelete.
    void DoAfterInsert() override;
    void DoAfterDelete() override;
    void FillDefaults();
    void Renumber();

    TMstSections* FMstSections = nullptr;
    TFindsections* FFindSections = nullptr;
    QString FMstTableName;
    QString FMstCondition;
    QString FGenCondition;
    QString FMstSQL;
    QString FSQLMstSQL;
    QString FGenMstSQL;
    QString FItemField;
    QString FConditionRemark;
    QString FRctCode;
    QString FSaveMasterError;
};

namespace qx {

// The part-name picker of the parts dialogs. Their unit installs it; the lookup cascade opens
// it for a part, customer or supplier code that matches nothing. Empty: nothing opens.
extern std::function<void(const QString& Name, const QString& Model, TField* Field)>
    selectItemByName;

} // namespace qx
