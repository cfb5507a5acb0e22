#include "control/uQxQueryControl.h"

#include "platform/db/DataSet.h"
#include "control/uQxBytesField.h"
#include "control/uQxParser.h"
#include "platform/db/Fields.h"
#include "platform/db/sql/ADOConnection.h"
#include "platform/env/DialogService.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SafeSave.h"
#include "platform/stream/ClassRegistry.h"
#include "platform/stream/ImageReader.h"
#include "usystem/vcl/stream/uQxstream.h"


#include <memory>

namespace {

const QString kNoReportTable = QStringLiteral("请设置报表的数据存储表！");
const QString kReportField = QStringLiteral("ReportDB");

// The classes a stored definition may name: the component, its lists, and the result fields
// that images written together with a result carry.
void registerDefinitionClasses()
{
    static const bool registered = [] {
        qx::registerClass<TQxQueryControl>();
        qx::registerClass<TDataSections>();
        qx::registerClass<TFieldSections>();
        qx::registerClass<TCalcFieldSections>();
        qx::registerClass<TJoinSections>();
        qx::registerClass<TConditionSections>();
        qx::registerClass<TSumFieldSections>();
        qx::registerClass<TConditionSQLSections>();
        qx::registerClass<TGroupSumSections>();
        qx::registerClass<TGroupFieldSections>();
        qx::registerClass<TJCSections>();
        qx::registerClass<TCallSections>();
        qx::registerClass<TStringField>();
        qx::registerClass<TFloatField>();
        qx::registerClass<TCurrencyField>();
        qx::registerClass<TBlobField>();
        qx::registerClass<TBCDField>();
        qx::registerClass<TBooleanField>();
        qx::registerClass<TAutoIncField>();
        qx::registerClass<TBytesField>();
        qx::registerClass<TWideStringField>();
        qx::registerClass<TDateTimeField>();
        qx::registerClass<TMemoField>();
        return true;
    }();
    (void)registered;
}

} // namespace

TQxQueryControl::TQxQueryControl(QObject* Owner)
    : TQxCustomMemTable(Owner)
    , FDataSections(new TDataSections(this))
    , FFieldSections(new TFieldSections(this))
    , FCalcFieldSections(new TCalcFieldSections(this))
    , FJoinSections(new TJoinSections(this))
    , FConditions(new TConditionSections(this))
    , FSumFieldSections(new TSumFieldSections(this))
    , FSQLConditions(new TConditionSQLSections(this))
    , FGroupSumSections(new TGroupSumSections(this))
    , FGroupFieldSections(new TGroupFieldSections(this))
    , FJCSections(new TJCSections(this))
    , FCallSections(new TCallSections(this))
    , FParser(new TQxParser(this))
{
    registerDefinitionClasses();
}

// The lists and the parser are children of the component and go with it.
TQxQueryControl::~TQxQueryControl() = default;

TADOConnection* TQxQueryControl::DataConnection() const { return FDataConnection; }

void TQxQueryControl::SetDataConnection(TADOConnection* Value) { FDataConnection = Value; }

// ---- storage -----------------------------------------------------------------------------

void TQxQueryControl::readDefinition(const std::function<void(TQxStream&)>& read)
{
    TQxStream stream(this);
    stream.setStreamWindow(this);
    stream.OnReadComponent = [this](QObject* Sender, QObject* Component) {
        // The component read only carries its definition over; it goes once that is copied.
        const std::unique_ptr<QObject> copy(Component);
        AssignDefinition(Sender, Component);
    };
    try {
        read(stream);
    } catch (const EReadError&) {
        throw;
    } catch (const EInOutError&) {
        throw;
    } catch (const Exception& e) {
        // A value the component read refused (an image naming the memory table's own state,
        // say): the image does not fit, which is a read error like any other.
        throw EReadError(e.Message());
    }
}

void TQxQueryControl::LoadFromReportData()
{
    ClearDefinition();
    TDataSet* data = FReportData;
    if (!data || !data->Active()) {
        qx::showMessage(kNoReportTable);
        return;
    }
    if (data->FieldByName(kReportField)->IsNull())
        return;
    readDefinition([data](TQxStream& stream) {
        stream.setDataSet(data);
        stream.setFieldName(kReportField);
        stream.ReadFromField();
    });
}

void TQxQueryControl::SaveToReportData()
{
    TDataSet* data = FReportData;
    if (!data || !data->Active()) {
        qx::showMessage(kNoReportTable);
        return;
    }
    const bool editedHere = data->State() != dsEdit && data->State() != dsInsert;
    if (editedHere)
        data->Edit();
    try {
        TQxStream stream(this);
        stream.setStreamWindow(this);
        stream.AddComponent(this);
        stream.setDataSet(data);
        stream.setFieldName(kReportField);
        stream.WriteToField();
        data->Post();
    } catch (...) {
        // The row is not left half written in edit state.
        if (editedHere && qx::isEditing(data))
            data->Cancel();
        throw;
    }
}

void TQxQueryControl::SaveToFile(const QString& FileName)
{
    // The shared safe save: on a full disk or a folder that takes no file the old image stays
    // whole, nothing is left beside it, and the error names the file and the reason.
    qx::saveFile(FileName, [this](QIODevice& file) {
        TQxStream stream(this);
        stream.setStreamWindow(this);
        stream.AddComponent(this);
        stream.WriteToStream(file);
    });
}

void TQxQueryControl::LoadFromFile(const QString& FileName)
{
    ClearDefinition();
    readDefinition([&FileName](TQxStream& stream) {
        stream.setFileName(FileName);
        stream.ReadFromFile();
    });
}

void TQxQueryControl::AssignDefinition(QObject*, QObject* Component)
{
    const auto* source = qobject_cast<const TQxQueryControl*>(Component);
    if (!source || source == this)
        return;
    FFieldSections->Assign(source->FFieldSections);
    FJoinSections->Assign(source->FJoinSections);
    FSumFieldSections->Assign(source->FSumFieldSections);
    FConditions->Assign(source->FConditions);
    FTableNameList = source->FTableNameList;
    FCalcFieldSections->Assign(source->FCalcFieldSections);
    FSQLConditions->Assign(source->FSQLConditions);
    FQueryIndex = source->FQueryIndex;
    FAnalyzerSQL = source->FAnalyzerSQL;
    FGroupFieldSections->Assign(source->FGroupFieldSections);
    FGroupSumSections->Assign(source->FGroupSumSections);
    FDataSections->Assign(source->FDataSections);
    FGSSum = source->FGSSum;
    FJCKeyfields = source->FJCKeyfields;
    FJCField = source->FJCField;
    FJCResultField = source->FJCResultField;
    FJCSum = source->FJCSum;
    FJCType = source->FJCType;
    FJCSections->Assign(source->FJCSections);
    FCallSections->Assign(source->FCallSections);
}

void TQxQueryControl::ClearDefinition()
{
    FDataSections->Clear();
    FFieldSections->Clear();
    FCalcFieldSections->Clear();
    FJoinSections->Clear();
    FConditions->Clear();
    FSumFieldSections->Clear();
    FSQLConditions->Clear();
    FGroupSumSections->Clear();
    FGroupFieldSections->Clear();
    FJCSections->Clear();
    FCallSections->Clear();
    FTableNameList.clear();
    FAnalyzerSQL.clear();
    FJCField.clear();
    FJCResultField.clear();
    FJCKeyfields.clear();
    FQueryIndex = 0;
    FJCSum = false;
}

std::optional<bool> TQxQueryControl::isPropertyStored(const char* name) const
{
    // The memory table's own state (open, filter, order) belongs to a result, not to the
    // definition.
    if (staticMetaObject.indexOfProperty(name) < staticMetaObject.propertyOffset())
        return false;
    return std::nullopt;
}

bool TQxQueryControl::readExtraProperty(const QByteArray&, qx::ImageReader& reader)
{
    reader.skipValue();
    return true;
}

std::optional<QList<QObject*>> TQxQueryControl::streamedChildren() const
{
    // Result fields are made anew by every run; the parser and the lists are not components
    // of the image.
    return QList<QObject*>();
}

// ---- condition checks --------------------------------------------------------------------

bool TQxQueryControl::HasEmptyConditionValue() const
{
    for (int i = 0; i < FConditions->Count(); ++i)
        if (FConditions->Items(i)->FieldValue().isEmpty())
            return true;
    return false;
}

bool TQxQueryControl::NeedsWhereClause() const
{
    for (int i = 0; i < FConditions->Count(); ++i)
        if (!FConditions->Items(i)->FieldValue().isEmpty())
            return true;
    for (int i = 0; i < FJoinSections->Count(); ++i) {
        const TJoinSection* join = FJoinSections->Items(i);
        if (!join->STableName().isEmpty() && !join->DFieldName().isEmpty()
            && !join->SFieldName().isEmpty() && !join->DTableName().isEmpty())
            return true;
    }
    return false;
}

bool TQxQueryControl::NeedsAndBeforeJoins() const
{
    if (FJoinSections->Count() == 0)
        return false;
    for (int i = 0; i < FConditions->Count(); ++i) {
        const TConditionSection* condition = FConditions->Items(i);
        if (!condition->FieldValue().isEmpty() && !condition->OperateChar().isEmpty())
            return true;
    }
    return false;
}

void TQxQueryControl::TranslateConditionWords()
{
    static const QList<std::pair<QString, QString>> operators = {
        {QStringLiteral("大于"), QStringLiteral(">")},     {QStringLiteral("小于"), QStringLiteral("<")},
        {QStringLiteral("小于等于"), QStringLiteral("<=")}, {QStringLiteral("大于等于"), QStringLiteral(">=")},
        {QStringLiteral("等于"), QStringLiteral("=")},     {QStringLiteral("不等于"), QStringLiteral("<>")},
    };
    static const QList<std::pair<QString, QString>> joiners = {
        {QStringLiteral("并且"), QStringLiteral("And")},
        {QStringLiteral("或者"), QStringLiteral("Or")},
        {QStringLiteral("结束"), QStringLiteral(" ")},
    };
    auto translate = [](const QList<std::pair<QString, QString>>& words, const QString& word) {
        for (const auto& [from, to] : words)
            if (word == from)
                return to;
        return word;
    };
    for (int i = 0; i < FConditions->Count(); ++i) {
        TConditionSection* condition = FConditions->Items(i);
        condition->SetOperateChar(translate(operators, condition->OperateChar()));
        condition->SetLogicalChar(translate(joiners, condition->LogicalChar()));
    }
}

// ---- messages of a run -------------------------------------------------------------------

void TQxQueryControl::NoteRunMessage(const QString& Text)
{
    if (!FRunMessages.contains(Text))
        FRunMessages.append(Text);
}

void TQxQueryControl::EndRun()
{
    const QStringList messages = FRunMessages;
    FRunMessages.clear();
    for (const QString& text : messages)
        qx::showMessage(text);
}
