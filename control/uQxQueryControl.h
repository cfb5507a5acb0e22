// TQxQueryControl: one stored report of the report centre. It holds the definition of a query
// (tables, fields, conditions, joins, calculated fields, totals, groups, cross-table settings,
// calls of other reports, column display settings) and, being a memory table, the rows of its
// result after a run.
//
// A definition is stored as one component image (TQxStream) in the blob ReportDB of the current
// row of the report table, or in a template file (.QXE). The image holds the component's name
// and the published properties below in their order: Integers and Booleans always, texts and
// the table list only when not empty, the lists always, ReportData as the dataset's name. The
// memory table's own properties and its fields are never written. Reading takes images that
// carry more: result field objects are read and dropped with the component read, and values
// this version does not know are read over.
#pragma once

#include "control/uQxQuerySections.h"
#include "platform/db/QxMemTable.h"
#include "platform/rtl/Currency.h"
#include "platform/stream/Persistent.h"

#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class TADOConnection;
class TQxParser;
class TQxStream;

class TQxQueryControl : public TQxCustomMemTable, public qx::Streamable
{
    Q_OBJECT
    Q_PROPERTY(TDataSections* DataSections READ DataSections WRITE SetDataSections)
    Q_PROPERTY(TFieldSections* FieldSections READ FieldSections WRITE SetFieldSections)
    Q_PROPERTY(TCalcFieldSections* CalcFieldSections READ CalcFieldSections WRITE SetCalcFieldSections)
    Q_PROPERTY(TJoinSections* JoinSections READ JoinSections WRITE SetJoinSections)
    Q_PROPERTY(TConditionSections* Conditions READ Conditions WRITE SetConditions)
    Q_PROPERTY(QStringList TableNameList READ TableNameList WRITE SetTableNameList)
    Q_PROPERTY(TSumFieldSections* SumFieldSections READ SumFieldSections WRITE SetSumFieldSections)
    Q_PROPERTY(TDataSet* ReportData READ ReportData WRITE SetReportData)
    Q_PROPERTY(int QueryIndex READ QueryIndex WRITE SetQueryIndex)
    Q_PROPERTY(TConditionSQLSections* SQLConditions READ SQLConditions WRITE SetSQLConditions)
    Q_PROPERTY(QString AnalyzerSQL READ AnalyzerSQL WRITE SetAnalyzerSQL)
    Q_PROPERTY(QString JCKeyfields READ JCKeyfields WRITE SetJCKeyfields)
    Q_PROPERTY(QString JCField READ JCField WRITE SetJCField)
    Q_PROPERTY(QString JCResultField READ JCResultField WRITE SetJCResultField)
    Q_PROPERTY(bool JCSum READ JCSum WRITE SetJCSum)
    Q_PROPERTY(int JCType READ JCType WRITE SetJCType)
    Q_PROPERTY(TGroupSumSections* GroupSumSections READ GroupSumSections WRITE SetGroupSumSections)
    Q_PROPERTY(TGroupFieldSections* GroupFieldSections READ GroupFieldSections WRITE SetGroupFieldSections)
    Q_PROPERTY(bool GSSum READ GSSum WRITE SetGSSum)
    Q_PROPERTY(TJCSections* JCSections READ JCSections WRITE SetJCSections)
    Q_PROPERTY(TCallSections* CallSections READ CallSections WRITE SetCallSections)

public:
    // Registers, once per run, the classes a stored definition may name.
    explicit TQxQueryControl(QObject* Owner = nullptr);
    ~TQxQueryControl() override;

    // ---- the definition ----------------------------------------------------------------
    // Display settings per result column.
    TDataSections* DataSections() const { return FDataSections; }
    void SetDataSections(TDataSections* Value) { FDataSections->Assign(Value); }
    // The fields chosen in the table wizard.
    TFieldSections* FieldSections() const { return FFieldSections; }
    void SetFieldSections(TFieldSections* Value) { FFieldSections->Assign(Value); }
    TCalcFieldSections* CalcFieldSections() const { return FCalcFieldSections; }
    void SetCalcFieldSections(TCalcFieldSections* Value) { FCalcFieldSections->Assign(Value); }
    TJoinSections* JoinSections() const { return FJoinSections; }
    void SetJoinSections(TJoinSections* Value) { FJoinSections->Assign(Value); }
    // The conditions of a wizard query.
    TConditionSections* Conditions() const { return FConditions; }
    void SetConditions(TConditionSections* Value) { FConditions->Assign(Value); }
    // Chinese names of the tables chosen in the wizard; a wizard query needs at least one.
    QStringList TableNameList() const { return FTableNameList; }
    void SetTableNameList(const QStringList& Value) { FTableNameList = Value; }
    // The items of the totals row.
    TSumFieldSections* SumFieldSections() const { return FSumFieldSections; }
    void SetSumFieldSections(TSumFieldSections* Value) { FSumFieldSections->Assign(Value); }
    // The open report-table dataset whose current row holds the definition; not owned.
    TDataSet* ReportData() const { return FReportData; }
    void SetReportData(TDataSet* Value) { FReportData = Value; }
    // 0 table wizard, 1 SQL statement.
    int QueryIndex() const { return FQueryIndex; }
    void SetQueryIndex(int Value) { FQueryIndex = Value; }
    // The parameters of an SQL-mode query.
    TConditionSQLSections* SQLConditions() const { return FSQLConditions; }
    void SetSQLConditions(TConditionSQLSections* Value) { FSQLConditions->Assign(Value); }
    // The statement of an SQL-mode query, with its parameter placeholders.
    QString AnalyzerSQL() const { return FAnalyzerSQL; }
    void SetAnalyzerSQL(const QString& Value) { FAnalyzerSQL = Value; }
    // Cross table: key columns, cross field, value expression, totals, kind (0 none,
    // 1 automatic cross columns, 2 custom cross columns from JCSections).
    QString JCKeyfields() const { return FJCKeyfields; }
    void SetJCKeyfields(const QString& Value) { FJCKeyfields = Value; }
    QString JCField() const { return FJCField; }
    void SetJCField(const QString& Value) { FJCField = Value; }
    QString JCResultField() const { return FJCResultField; }
    void SetJCResultField(const QString& Value) { FJCResultField = Value; }
    bool JCSum() const { return FJCSum; }
    void SetJCSum(bool Value) { FJCSum = Value; }
    int JCType() const { return FJCType; }
    void SetJCType(int Value) { FJCType = Value; }
    // Columns summed into group subtotals, and the group keys of an SQL-mode result.
    TGroupSumSections* GroupSumSections() const { return FGroupSumSections; }
    void SetGroupSumSections(TGroupSumSections* Value) { FGroupSumSections->Assign(Value); }
    TGroupFieldSections* GroupFieldSections() const { return FGroupFieldSections; }
    void SetGroupFieldSections(TGroupFieldSections* Value) { FGroupFieldSections->Assign(Value); }
    // Insert subtotal rows per group.
    bool GSSum() const { return FGSSum; }
    void SetGSSum(bool Value) { FGSSum = Value; }
    TJCSections* JCSections() const { return FJCSections; }
    void SetJCSections(TJCSections* Value) { FJCSections->Assign(Value); }
    // Reports that a result row can open.
    TCallSections* CallSections() const { return FCallSections; }
    void SetCallSections(TCallSections* Value) { FCallSections->Assign(Value); }

    // ---- run-time members, never stored -----------------------------------------------
    // The connection result queries run on; not owned.
    TADOConnection* DataConnection() const;
    void SetDataConnection(TADOConnection* Value);
    // The last SELECT statement built for a wizard query.
    QString SQLText() const { return FSQLText; }
    void SetSQLText(const QString& Value) { FSQLText = Value; }
    // A readable list of the conditions in force, printed with the result.
    QString ConditionText() const { return FConditionText; }
    void SetConditionText(const QString& Value) { FConditionText = Value; }
    // The formula parser of the calculated fields (owned).
    TQxParser* Parser() const { return FParser; }

    // ---- storage -----------------------------------------------------------------------
    // Clears the definition, then reads the image in ReportDB of ReportData's current row. A
    // null ReportDB leaves the definition empty; without an open ReportData it shows
    // "请设置报表的数据存储表！". A damaged image raises EReadError.
    void LoadFromReportData();
    // Writes the image of this component over the whole ReportDB of ReportData's current row
    // (starting an edit when the row is not being edited; an empty dataset gets a new row) and
    // posts it. Without an open ReportData it shows "请设置报表的数据存储表！".
    void SaveToReportData();
    // Writes the image into the file, replacing it whole only once the new one is complete.
    void SaveToFile(const QString& FileName);
    // Clears the definition, then reads the image in the file; a missing file reads nothing.
    void LoadFromFile(const QString& FileName);
    // The read event of a load: copies the definition of a component read from an image
    // (everything but ReportData; items without their run-time totals). Components of other
    // classes are passed over.
    void AssignDefinition(QObject* Stream, QObject* Component);
    // Empties the lists and the table list, the statement and the cross-table texts, sets
    // QueryIndex 0 and JCSum false. GSSum and JCType keep their values.
    void ClearDefinition();

    // ---- condition checks ---------------------------------------------------------------
    // Some condition has an empty value.
    bool HasEmptyConditionValue() const;
    // Some condition has a value, or some join names both tables and both fields.
    bool NeedsWhereClause() const;
    // There is a join and some condition has both a value and an operator.
    bool NeedsAndBeforeJoins() const;
    // Rewrites the comparison and joining words of every condition into SQL ("大于" to ">",
    // "并且" to "And", "结束" to one blank); other words stay.
    void TranslateConditionWords();

    // ---- calculated fields and totals ---------------------------------------------------
    // The result column a formula reference "[table.field]" reads (the text between the
    // brackets): a chosen field by its table's Chinese name and its caption, or with the table
    // part "计算" the calculated field of that name. Null when the reference names nothing, or
    // a field without a column in the result (an invisible chosen field is not selected).
    TField* ResolveFieldRef(const QString& Reference) const;
    // The formula with every reference replaced by its value on the current row, computed by
    // the parser. Gives 0 for a division by a referenced zero and for any formula the parser
    // refuses. An unresolved reference gives 0 and notes "计算字段与数据字典不同步请重设计算字段!"
    // for the run (shown once by EndRun).
    double EvaluateExpression(const QString& Formula);
    // One step of an aggregate: "合计" and "平均值" add, "最小值" and "最大值" keep the smaller
    // or larger value, "记录数" gives 0; other words leave the accumulator as it is.
    static Currency AggregateStep(const QString& Kind, Currency Accumulator, Currency Value);
    // Puts every total item to its start before a pass over the rows.
    void ResetTotals();
    // Adds the current row into the total items of a wizard result (columns found by caption
    // or calculated field) or of an SQL result (columns named by the items). Only detail rows
    // count (VandrelID 0 or null); "最小值" and "最大值" start from the first detail value.
    void AccumulateSums();
    void AccumulateSumsByName();
    // Appends the totals row (VandrelID 4): a text column gets the aggregate word, a numeric
    // one the total; "平均值" and "记录数" count the detail rows only. Nothing is appended
    // without total items or over an empty result; "最小值" and "最大值" stay empty when no
    // detail value went in.
    void AppendTotalRow();
    // The column that receives "小计:" in subtotal rows: the display column typed for the first
    // group key whose display column is no key column. Empty when there is none, when the
    // result is closed, or when the result has no such column; subtotal rows then carry no
    // caption.
    QString SubtotalCaptionField() const;

    // ---- messages of a run --------------------------------------------------------------
    // A run computes many rows; a problem found on each of them is told once, at the end.
    // BeginRun forgets what earlier runs noted; EndRun shows each noted text once.
    void BeginRun() { FRunMessages.clear(); }
    void NoteRunMessage(const QString& Text);
    QStringList RunMessages() const { return FRunMessages; }
    void EndRun();

    // ---- streaming ----------------------------------------------------------------------
    std::optional<bool> isPropertyStored(const char* name) const override;
    bool readExtraProperty(const QByteArray& name, qx::ImageReader& reader) override;
    std::optional<QList<QObject*>> streamedChildren() const override;

private:
    // Reads an image through the stream, copying each definition read and freeing the
    // component right after; any failure of the read ends in EReadError.
    void readDefinition(const std::function<void(TQxStream&)>& read);
    // The column a total item adds up, or null.
    TField* totalColumn(const TSumFieldSection* Item) const;
    // The current row is a detail row: no VandrelID column, or 0 or null in it.
    bool isDetailRow() const;
    void accumulate(bool ByName);
    // Fills the totals row being appended; Details is the number of detail rows.
    void writeTotals(int Details);

    TDataSections* FDataSections;
    TFieldSections* FFieldSections;
    TCalcFieldSections* FCalcFieldSections;
    TJoinSections* FJoinSections;
    TConditionSections* FConditions;
    QStringList FTableNameList;
    TSumFieldSections* FSumFieldSections;
    QPointer<TDataSet> FReportData;
    int FQueryIndex = 0;
    TConditionSQLSections* FSQLConditions;
    QString FAnalyzerSQL;
    QString FJCKeyfields;
    QString FJCField;
    QString FJCResultField;
    bool FJCSum = false;
    int FJCType = 0;
    TGroupSumSections* FGroupSumSections;
    TGroupFieldSections* FGroupFieldSections;
    bool FGSSum = false;
    TJCSections* FJCSections;
    TCallSections* FCallSections;

    QPointer<TADOConnection> FDataConnection;
    QString FSQLText;
    QString FConditionText;
    TQxParser* FParser;
    QStringList FRunMessages;
};
