#include "usystem/vcl/rctstr/uQxRctStr.h"

#include "platform/db/DataSet.h"
#include "platform/db/DataSource.h"
#include "platform/db/Fields.h"
#include "platform/db/sql/ADOQuery.h"
#include "platform/db/sql/JetSqlRewriter.h"
#include "platform/db/sql/SqlLexer.h"
#include "platform/env/Clock.h"
#include "platform/env/DialogService.h"
#include "platform/rtl/Exceptions.h"
#include "platform/stream/ClassRegistry.h"
#include "platform/ui/Fonts.h"
#include "platform/env/MissingBinding.h"
#include "usystem/vcl/ado/uDMDataBase.h"
#include "usystem/vcl/ado/uQxADODB.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"
#include "usystem/vcl/ado/QxBusinessTrans.h"
#include "usystem/vcl/stream/uQxstream.h"

#include <QPointer>
#include <QWidget>

#include <memory>
#include <vector>

int RctStrSqlDialect = 0;

namespace qx {
std::function<void(const QString& Name, const QString& Model, TField* Field)> selectItemByName;
}

namespace {

const QString kAs = QStringLiteral(" as ");

// The library data module every database step of a structure runs on.
TdmDatabase* libraryModule()
{
    if (!dmDatabase)
        throw EDatabaseError(QStringLiteral("没有库数据模块，无法使用单据结构"));
    return dmDatabase;
}

// The classes an image of a structure may name. Images written by older versions carry
// persistent fields, so their classes must be known to the reader even though this version
// stores no fields.
// Makes a definition list a copy of another of its kind, item by item.
template <class List>
void assignItems(List& target, const List* source)
{
    if (!source || source == &target)
        return;
    target.beginUpdate();
    target.clear();
    for (int i = 0; i < source->Count(); ++i)
        target.Add()->Assign(source->Items(i));
    target.endUpdate();
}

void registerStructureClasses()
{
    static const bool registered = [] {
        qx::registerClass<TQxRctStr>();
        qx::registerClass<TMstSections>();
        qx::registerClass<TStringField>();
        qx::registerClass<TWideStringField>();
        qx::registerClass<TFloatField>();
        qx::registerClass<TBCDField>();
        qx::registerClass<TBooleanField>();
        qx::registerClass<TAutoIncField>();
        qx::registerClass<TBlobField>();
        qx::registerClass<TDateTimeField>();
        qx::registerClass<TGraphicField>();
        qx::registerClass<TMemoField>();
        qx::registerClass<TCurrencyField>();
        return true;
    }();
    (void)registered;
}

bool isNumericField(const TField* field)
{
    switch (field->DataType()) {
    case ftSmallint: case ftInteger: case ftWord: case ftAutoInc: case ftLargeint:
    case ftFloat: case ftCurrency: case ftBCD:
        return true;
    default:
        return false;
    }
}

bool isDateTimeField(const TField* field)
{
    return field->DataType() == ftDateTime || field->DataType() == ftDate;
}

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Binds the caller's values to the ":name" parameters of a query's statement.
void bindParams(TADOQuery* query, const QVariantMap& params)
{
    for (auto it = params.cbegin(); it != params.cend(); ++it)
        query->ParamByName(it.key())->setValue(it.value());
}

// Copies the values of the structure's current row into the fields of the same name of the
// query's row being edited.
void copyRow(TDataSet* from, TDataSet* to)
{
    for (TField* source : *from->Fields()) {
        if (source->FieldKind() != fkData)
            continue;
        TField* target = to->FindField(source->FieldName());
        if (target && target->FieldKind() == fkData)
            target->SetValue(source->Value());
    }
}

// Adds a condition to a statement. With a WHERE of its own (the statement's, not one inside a
// literal or a sub-select) the new condition comes first, joined with "and"; each side keeps
// its own parentheses, so that an "or" on either side cannot reach over to the other. Without
// one a WHERE is added, ahead of any GROUP BY, HAVING, ORDER BY or UNION, where SQL wants it.
QString addCondition(const QString& sql, const QString& condition)
{
    const QList<qx::SqlToken> tokens = qx::tokenizeSql(sql);
    int depth = 0;
    int clauseStart = -1;
    int tail = int(sql.size());
    for (const qx::SqlToken& token : tokens) {
        if (token.kind == qx::SqlToken::Symbol) {
            const QChar c = sql.at(token.pos);
            depth += c == u'(' ? 1 : c == u')' ? -1 : 0;
            continue;
        }
        if (depth != 0 || token.kind != qx::SqlToken::Word)
            continue;
        const QString word = token.text(sql).toString().toUpper();
        if (clauseStart < 0 && word == QLatin1String("WHERE")) {
            clauseStart = token.pos + token.len;
        } else if (word == QLatin1String("GROUP") || word == QLatin1String("HAVING")
                   || word == QLatin1String("ORDER") || word == QLatin1String("UNION")) {
            tail = token.pos;
            break;
        }
    }
    const QString rest = sql.mid(tail);
    const QString end = rest.isEmpty() ? QString() : QLatin1Char(' ') + rest;
    if (clauseStart < 0)
        return QStringView(sql).left(tail).trimmed().toString() + QStringLiteral(" Where ") + condition
               + end;
    const QString own = QStringView(sql).mid(clauseStart, tail - clauseStart).trimmed().toString();
    return sql.left(clauseStart) + QStringLiteral(" (") + condition.trimmed() + QStringLiteral(") and (")
           + own + QLatin1Char(')') + end;
}

} // namespace

// ---- field definition --------------------------------------------------------------------

TMstSection::TMstSection(qx::Collection* Collection)
    : qx::CollectionItem(Collection)
{}

TMstSection::~TMstSection() = default;

QString TMstSection::DataFieldName() const
{
    const int p = FFieldName.indexOf(kAs, 0, Qt::CaseInsensitive);
    return p >= 0 ? FFieldName.mid(p + kAs.size()).trimmed() : FFieldName;
}

QString TMstSection::SourceField() const
{
    const int p = FFieldName.indexOf(kAs, 0, Qt::CaseInsensitive);
    if (p >= 0)
        return FFieldName.left(p).trimmed();
    const int open = FTableName.indexOf(u'[');
    if (open >= 0) {
        const int close = FTableName.indexOf(u']', open + 1);
        return FTableName.mid(open + 1, close < 0 ? -1 : close - open - 1).trimmed();
    }
    return FFieldName;
}

QString TMstSection::SourceTable() const
{
    const int open = FTableName.indexOf(u'[');
    return (open >= 0 ? FTableName.left(open) : FTableName).trimmed();
}

void TMstSection::Assign(const QObject* Source)
{
    const auto* source = qobject_cast<const TMstSection*>(Source);
    if (!source)
        throw EConvertError(QStringLiteral("Cannot assign a %1 to a TMstSection")
                                .arg(Source ? QString::fromLatin1(Source->metaObject()->className())
                                            : QStringLiteral("nil")));
    FFieldName = source->FFieldName;
    FCFieldName = source->FCFieldName;
    FTableName = source->FTableName;
    FLookUp = source->FLookUp;
    FDefaultValue = source->FDefaultValue;
    FIsReadOnly = source->FIsReadOnly;
    FCanNull = source->FCanNull;
    FMaxValue = source->FMaxValue;
    FMinValue = source->FMinValue;
    FVisible = source->FVisible;
    FLookupKey = source->FLookupKey;
    FActionType = source->FActionType;
    FdisplaySize = source->FdisplaySize;
    FRightField = source->FRightField;
    FDBControl = source->FDBControl;
}

TMstSections::TMstSections(QObject* Owner)
    : qx::Collection([](qx::Collection* c) -> qx::CollectionItem* { return new TMstSection(c); },
                     Owner)
{}

TMstSections::~TMstSections() = default;

void TMstSections::Assign(const TMstSections* Source)
{
    assignItems(*this, Source);
}

int TMstSections::IndexOfField(const QString& Name) const
{
    const QString wanted = Name.toUpper();
    for (int i = 0; i < Count(); ++i)
        if (Items(i)->DataFieldName().toUpper() == wanted)
            return i;
    return -1;
}

void TMstSections::Exchange(int Index1, int Index2)
{
    if (Index1 == Index2)
        return;
    const int low = qMin(Index1, Index2);
    const int high = qMax(Index1, Index2);
    TMstSection* first = Items(low);
    TMstSection* second = Items(high);
    // Moving the later one forward shifts the earlier one by one place; then it goes back.
    second->setIndex(low);
    first->setIndex(high);
}

// ---- search condition --------------------------------------------------------------------

TFindsection::TFindsection(qx::Collection* Collection)
    : qx::CollectionItem(Collection)
{}

TFindsection::~TFindsection() = default;

void TFindsection::Assign(const QObject* Source)
{
    const auto* source = qobject_cast<const TFindsection*>(Source);
    if (!source)
        throw EConvertError(QStringLiteral("Cannot assign a %1 to a TFindsection")
                                .arg(Source ? QString::fromLatin1(Source->metaObject()->className())
                                            : QStringLiteral("nil")));
    FFieldName = source->FFieldName;
    FCFieldName = source->FCFieldName;
    FTableName = source->FTableName;
    FOperateChar = source->FOperateChar;
    FlogicChar = source->FlogicChar;
    FFieldValue = source->FFieldValue;
    FFieldType = source->FFieldType;
    FInPutType = source->FInPutType;
}

TFindsections::TFindsections(QObject* Owner)
    : qx::Collection([](qx::Collection* c) -> qx::CollectionItem* { return new TFindsection(c); },
                     Owner)
{}

TFindsections::~TFindsections() = default;

void TFindsections::Assign(const TFindsections* Source)
{
    assignItems(*this, Source);
}

// ---- the structure -----------------------------------------------------------------------

TQxRctStr::TQxRctStr(QObject* Owner)
    : TQxMemTable(Owner)
{
    registerStructureClasses();
    FMstSections = new TMstSections(this);
    FFindSections = new TFindsections(this);
}

TQxRctStr::~TQxRctStr() = default;

QString TQxRctStr::MstSQL() const
{
    return RctStrSqlDialect == 1 ? FGenMstSQL : FSQLMstSQL;
}

void TQxRctStr::Clear()
{
    FMstSections->Clear();
    FFindSections->Clear();
    FMstTableName.clear();
    FMstCondition.clear();
    FGenCondition.clear();
    FMstSQL.clear();
    FGenMstSQL.clear();
    // The statement in force goes too: a structure reused for a code that has no row must not
    // go on running the statement of the one loaded before.
    FSQLMstSQL.clear();
}

void TQxRctStr::LoadByCode(const QString& Code)
{
    TQxADOQuery* query = libraryModule()->qryStruct;
    query->Close();
    query->SQL().SetText(QStringLiteral("select * from tRctStr where RctCode=:RctCode"));
    query->ParamByName(QStringLiteral("RctCode"))->setValue(Code);
    query->Open();
    LoadFromDataSet(query);
    FRctCode = Code;
}

bool TQxRctStr::LoadFromDataSet(TDataSet* DataSet)
{
    Clear();
    if (!DataSet || !DataSet->Active() || DataSet->IsEmpty())
        return false;
    if (DataSet->FieldByName(QStringLiteral("RctData"))->IsNull())
        return false;

    // The stream is owned by the structure, so whatever the image creates belongs to it and
    // is freed below, also when the image turns out to be damaged.
    std::vector<QPointer<QObject>> read;
    auto freeRead = [&read] {
        for (QPointer<QObject>& component : read)
            delete component.data();
        read.clear();
    };
    {
        TQxStream stream(this);
        stream.setStreamWindow(this);
        stream.setDataSet(DataSet);
        stream.setFieldName(QStringLiteral("RctData"));
        stream.OnReadComponent = [&read](QObject*, QObject* component) {
            read.emplace_back(component);
        };
        try {
            stream.ReadFromField();
        } catch (...) {
            freeRead();
            throw;
        }
    }
    bool found = false;
    for (const QPointer<QObject>& component : read) {
        if (auto* structure = qobject_cast<TQxRctStr*>(component.data())) {
            CopyFrom(structure);
            found = true;
            break;
        }
    }
    freeRead();
    return found;
}

void TQxRctStr::CopyFrom(const TQxRctStr* Source)
{
    if (!Source || Source == this)
        return;
    FMstSections->Assign(Source->MstSections());
    FFindSections->Assign(Source->FindSections());
    FMstTableName = Source->FMstTableName;
    FMstCondition = Source->FMstCondition;
    FGenCondition = Source->FGenCondition;
    SetMstSQL(Source->MstSQL());
    FGenMstSQL = Source->FGenMstSQL;
    FSQLMstSQL = Source->FSQLMstSQL;
    FConditionRemark = Source->FConditionRemark;
}

void TQxRctStr::SaveByCode(const QString& Code)
{
    TQxADOQuery* query = libraryModule()->qryStruct;
    query->Close();
    query->SQL().SetText(QStringLiteral("select * from tRctStr where RctCode=:RctCode"));
    query->ParamByName(QStringLiteral("RctCode"))->setValue(Code);
    query->Open();
    if (!query->IsEmpty())
        SaveToDataSet(query);
}

void TQxRctStr::SaveToDataSet(TDataSet* DataSet)
{
    if (!DataSet)
        return;
    const bool editedHere = DataSet->State() != dsEdit && DataSet->State() != dsInsert;
    if (editedHere)
        DataSet->Edit();
    try {
        TQxStream stream;
        stream.AddComponent(this);
        stream.setDataSet(DataSet);
        stream.setFieldName(QStringLiteral("RctData"));
        stream.WriteToField();
        DataSet->Post();
    } catch (...) {
        // The row is not left half written in edit state.
        if (editedHere && qx::isEditing(DataSet))
            DataSet->Cancel();
        throw;
    }
}

void TQxRctStr::OpenStructure(const QString& Code, TADOQuery* Query)
{
    if (!Query)
        return;
    // Whatever the query held before is not this structure's layout.
    Query->Close();
    LoadByCode(Code);
    QString sql = MstSQL();
    if (sql.isEmpty())
        return;
    if (RctStrSqlDialect != 1) {
        sql.insert(6, QStringLiteral(" Top 0 "));
        Query->SQL().SetText(qx::rewriteJetSql(sql));
        Query->Open();
        return;
    }
    // The second dialect has no row limit: a condition on the key that no row meets gives the
    // empty result.
    QString key;
    if (FMstSections->IndexOfField(QStringLiteral("BillNo")) >= 0) {
        key = QStringLiteral("BillNo");
    } else {
        Query->SQL().SetText(qx::rewriteJetSql(sql));
        Query->Open();
        for (TField* field : *Query->Fields()) {
            if (field->DataType() == ftString || field->DataType() == ftWideString) {
                key = field->FieldName();
                break;
            }
        }
    }
    if (!key.isEmpty())
        sql = addCondition(sql, key + QStringLiteral("='zz90zz2121zzzzzzzz'"));
    Query->Close();
    Query->SQL().SetText(qx::rewriteJetSql(sql));
    Query->Open();
}

void TQxRctStr::Prepare(const QString& Code, bool WithItemIndex)
{
    if (Code.isEmpty())
        qx::showMessage(QStringLiteral("RctStr 不能为空"));
    TQxADOQuery* scratch = libraryModule()->qryTemp;
    OpenStructure(Code, scratch);
    if (!scratch->Active()) {
        qx::showMessage(scratch->SQL().Text());
        return;
    }
    Close();
    for (const QString& name : IndexNames())
        DeleteIndex(name);
    CopyStructure(scratch);
    if (WithItemIndex) {
        AddIndex(QStringLiteral("Itemidx"), QStringLiteral("ItemIndex"));
        CreateTable();
        SetIndexName(QStringLiteral("ItemIdx"));
    } else {
        CreateTable();
    }
    Open();
    // Named only once the table holds the column: a statement without it must not leave new
    // rows looking for a line number they cannot have.
    if (WithItemIndex)
        FItemField = QStringLiteral("itemindex");
    for (int i = 0; i < FieldCount(); ++i) {
        TField* field = Fields()->Fields(i);
        // Fields and definitions pair up by position; fields past the last definition keep
        // their own names as labels.
        if (i < FMstSections->Count()) {
            const TMstSection* definition = FMstSections->Items(i);
            field->SetDisplayLabel(definition->CFieldName());
            field->SetRequired(!definition->CanNull());
        }
        field->OnSetText = OnQxSetText;
        field->OnGetText = OnQxGetText;
    }
}

void TQxRctStr::OpenWhere(const QString& Where, TADOQuery* Query, const QString& Top,
                          const QVariantMap& Params)
{
    if (!Query)
        return;
    QString sql = MstSQL();
    if (!Top.isEmpty())
        sql = sql.left(6) + QLatin1Char(' ') + Top + QLatin1Char(' ') + sql.mid(6);
    if (!Where.isEmpty())
        sql = addCondition(sql, Where);
    Query->Close();
    Query->SQL().SetText(qx::rewriteJetSql(sql));
    bindParams(Query, Params);
    Query->Open();
}

bool TQxRctStr::SaveMaster(const QString& Where, bool EditOnly, const QVariantMap& Params)
{
    TdmDatabase* module = libraryModule();
    CheckBrowseMode();
    FSaveMasterError.clear();
    // Nests in a transaction the caller has open: the caller's unit of work stays whole.
    StartBusinessTrans();
    TQxADOQuery* scratch = module->qryTemp;
    try {
        if (!EditOnly && !Where.isEmpty())
            module->conBusiness->Execute(
                qx::rewriteJetSql(QStringLiteral("delete from ") + FMstTableName
                                  + QStringLiteral(" Where ") + Where),
                Params);
        scratch->Close();
        scratch->SQL().SetText(qx::rewriteJetSql(
            Where.isEmpty()
                ? QStringLiteral("Select Top 0 * From ") + FMstTableName
                : QStringLiteral("Select Top 1  * From ") + FMstTableName + QStringLiteral(" Where ")
                      + Where));
        bindParams(scratch, Params);
        scratch->Open();
        if (EditOnly) {
            scratch->Edit();
            copyRow(this, scratch);
            scratch->Post();
        } else {
            qx::ControlsGuard guard(this);
            const TBookmark place = GetBookmark();
            for (First(); !Eof(); Next()) {
                scratch->Append();
                copyRow(this, scratch);
                scratch->Post();
            }
            if (!place.isEmpty() && BookmarkValid(place))
                GotoBookmark(place);
        }
        CommitBusinessTrans();
        return true;
    } catch (const std::exception& e) {
        if (const auto* ours = dynamic_cast<const Exception*>(&e))
            FSaveMasterError = ours->Message();
        else
            FSaveMasterError = QString::fromLocal8Bit(e.what());
    }
    // The half-written rows of the scratch query go with the rollback.
    if (qx::isEditing(scratch))
        scratch->Cancel();
    scratch->Close();
    RollbackBusinessTrans();
    return false;
}

void TQxRctStr::BuildGridColumns(TQxCustomDBGrid* Grid, const TQxRctStr* Source)
{
    if (!Grid)
        return;
    const TQxRctStr* structure = Source ? Source : this;
    TQxDBGridColumns* columns = Grid->Columns();
    columns->BeginUpdate();
    columns->clear();
    TDataSet* dataSet = Grid->DataSource() ? Grid->DataSource()->DataSet() : nullptr;
    const TMstSections* definitions = structure->MstSections();
    for (int i = 0; dataSet && i < definitions->Count(); ++i) {
        const TMstSection* definition = definitions->Items(i);
        const QString right = definition->RightField().trimmed();
        if (!right.isEmpty() && dmDatabase && dmDatabase->Rights.contains(right, Qt::CaseInsensitive))
            continue;
        const QString name = definition->DataFieldName();
        TField* field = dataSet->FindField(name);
        if (!field) {
            qx::showMessage(name + QStringLiteral("不存在!!"));
            continue;
        }
        TQxColumn* column = nullptr;
        if (definition->Visible()) {
            column = columns->Add();
            column->SetFieldName(field->FieldName());
            column->Title()->SetCaption(definition->CFieldName());
            column->SetReadOnly(definition->IsReadOnly());
            if (sameName(field->FieldName(), QStringLiteral("ItemName"))) {
                column->SetIMEControl(true);
                column->SetReadOnly(false);
            }
            if (definition->displaySize() > 0)
                column->SetWidth(definition->displaySize());
            const bool picker = !column->ReadOnly() && CanModify() && !definition->ActionType().isEmpty();
            if (picker || isDateTimeField(field) || field->DataType() == ftMemo)
                column->SetButtonStyle(cbsEllipsis);
        }
        if (!definition->CanNull())
            field->SetRequired(true);
        if (column && sameName(field->FieldName(), QStringLiteral("ItemIndex"))) {
            column->SetAlignment(taCenter);
            QFont font = qx::libraryFont(12);
            font.setBold(true);
            column->SetFont(font);
            column->SetReadOnly(true);
        }
    }
    columns->EndUpdate();
    if (columns->Count() > 0) {
        // A width change makes the grid lay its columns out anew.
        TQxColumn* last = columns->Items(columns->Count() - 1);
        const int width = last->Width();
        last->SetWidth(width - 1);
        last->SetWidth(width);
    }
}

void TQxRctStr::LookupFieldText(TField* Field, const QString& Text)
{
    if (!Field)
        return;
    if (isNumericField(Field)) {
        Field->SetAsString(Text);
        return;
    }
    const int own = FMstSections->IndexOfField(Field->FieldName());
    const TMstSection* definition = own >= 0 ? FMstSections->Items(own) : nullptr;
    const bool lookup = definition
                        && (definition->TableName().contains(u'[')
                            || (!definition->ActionType().isEmpty() && Text != Field->AsString()));
    if (!lookup) {
        Field->SetAsString(Text);
        return;
    }

    // The fields filled from this one, each with the column it takes.
    struct Dependent
    {
        TField* field;
        QString column;
    };
    std::vector<Dependent> dependents;
    for (int i = 0; i < FMstSections->Count(); ++i) {
        if (i == own)
            continue;
        const TMstSection* other = FMstSections->Items(i);
        const QString key = other->LookupKey().trimmed();
        if (key.isEmpty())
            continue;
        QString column;
        const int open = key.indexOf(u'[');
        if (open >= 0) {
            if (sameName(key.left(open).trimmed(), Field->FieldName())) {
                const int close = key.indexOf(u']', open + 1);
                column = key.mid(open + 1, close < 0 ? -1 : close - open - 1).trimmed();
            }
        } else if (sameName(key, Field->FieldName())) {
            column = other->SourceField();
        }
        if (column.isEmpty())
            continue;
        // A definition whose field the structure lacks has nothing to fill.
        if (TField* target = FindField(other->DataFieldName()))
            dependents.push_back(Dependent{target, column});
    }
    if (dependents.empty()) {
        Field->SetAsString(Text);
        return;
    }

    QStringList columnList;
    for (const Dependent& d : dependents)
        columnList << d.column;
    // The typed text is bound, never pasted: codes and names may hold quotes.
    auto query = std::make_unique<TQxADOQuery>();
    query->SetConnection(libraryModule()->conBusiness);
    query->SQL().SetText(qx::rewriteJetSql(QStringLiteral("Select ") + columnList.join(u',')
                                           + QStringLiteral(" From ") + definition->SourceTable()
                                           + QStringLiteral(" WHere ") + definition->SourceField()
                                           + QStringLiteral(" =:LookupValue")));
    query->ParamByName(QStringLiteral("LookupValue"))->setValue(Text.trimmed());
    query->Open();
    QVariantList values;
    if (!query->IsEmpty())
        for (TField* field : *query->Fields())
            values << field->Value();
    query.reset();

    auto raiseSetText = [](TField* target) {
        if (target->OnSetText && !sameName(target->FieldName(), QStringLiteral("ItemName")))
            target->OnSetText(target, target->Text());
    };
    if (!values.isEmpty()) {
        const std::size_t n = std::min(dependents.size(), std::size_t(values.size()));
        for (std::size_t k = 0; k < n; ++k) {
            dependents[k].field->SetValue(values[int(k)]);
            raiseSetText(dependents[k].field);
        }
    } else {
        for (const Dependent& d : dependents) {
            if (!Text.isEmpty()) {
                const QString name = Field->FieldName();
                if (sameName(name, QStringLiteral("ItemCode")) || sameName(name, QStringLiteral("CCode"))
                    || sameName(name, QStringLiteral("SCode"))) {
                    Field->SetAsString(Text);
                    if (qx::selectItemByName)
                        qx::selectItemByName(Text, QString(), Field);
                    else
                        qx::reportMissingBinding(nullptr, QStringLiteral("SelectItemByName"));
                    return;
                }
                if (sameName(name, QStringLiteral("SItemCode"))) {
                    Field->SetAsString(Text);
                    return;
                }
            }
            d.field->Clear();
            raiseSetText(d.field);
        }
    }
    Field->SetAsString(Text);
}

std::optional<bool> TQxRctStr::isPropertyStored(const char* name) const
{
    // The open state, the row order and the row filter belong to the rows, which the image
    // does not carry: a structure read back is never opened or filtered by its image.
    const QByteArray property(name);
    if (property == "Active" || property == "IndexName" || property == "IndexFieldNames"
        || property == "Filter" || property == "Filtered")
        return false;
    return std::nullopt;
}

std::optional<QList<QObject*>> TQxRctStr::streamedChildren() const
{
    // The fields are made again from the statement each time the structure is prepared.
    return QList<QObject*>();
}

void TQxRctStr::DoAfterOpen()
{
    TQxMemTable::DoAfterOpen();
    if (!Active())
        return;
    for (TField* field : *Fields())
        if (field->DataType() == ftCurrency || field->DataType() == ftBCD)
            field->SetDisplayFormat(QStringLiteral("#,##0.00"));
}

void TQxRctStr::DoAfterInsert()
{
    FillDefaults();
    TQxMemTable::DoAfterInsert();
    if (TField* line = FItemField.isEmpty() ? nullptr : FindField(FItemField))
        line->SetAsInteger(RecordCount() + 1);
}

void TQxRctStr::DoAfterDelete()
{
    if (!FItemField.isEmpty())
        Renumber();
    TQxMemTable::DoAfterDelete();
}

void TQxRctStr::FillDefaults()
{
    for (TField* field : *Fields()) {
        if (field->FieldKind() != fkData || field->DataType() == ftAutoInc || field->IsBlob())
            continue;
        const int index = FMstSections->IndexOfField(field->FieldName());
        if (index < 0)
            continue;
        const bool boolean = field->DataType() == ftBoolean;
        if (boolean)
            field->SetAsBoolean(false);
        const QString stored = FMstSections->Items(index)->DefaultValue();
        if (stored.isEmpty())
            continue;
        const QString value = QString(stored).remove(u'\'').trimmed();
        if (boolean) {
            field->SetAsBoolean(value == QLatin1String("1") || sameName(value, QStringLiteral("True")));
            continue;
        }
        if (isDateTimeField(field) && value == QStringLiteral("系统时间"))
            field->SetAsDateTime(Date());
        else
            field->SetAsString(value);
        if (field->OnSetText)
            field->OnSetText(field, field->Text());
    }
}

void TQxRctStr::Renumber()
{
    TField* item = FindField(FItemField);
    if (!item || !Active())
        return;
    qx::ControlsGuard guard(this);
    // Every row is renumbered, also those a filter hides: copying only the visible ones back
    // would lose the others. The filter and the owner's painting come back on every path.
    struct Restore
    {
        TDataSet* dataSet;
        bool filtered;
        QPointer<QWidget> window;
        ~Restore()
        {
            if (filtered && dataSet->Active())
                dataSet->SetFiltered(true);
            if (window)
                window->setUpdatesEnabled(true);
        }
    } restore{this, Filtered(), nullptr};
    if (restore.filtered)
        SetFiltered(false);
    const int recNo = RecNo();

    TQxMemTable copy;
    copy.CopyStructure(this);
    for (int i = 0; i < copy.FieldDefs()->Count(); ++i)
        copy.FieldDefs()->Items(i).Required = false;
    copy.Open();
    copy.LoadFromDataSet(this);
    TField* copyItem = copy.FieldByName(item->FieldName());
    int line = 1;
    for (copy.First(); !copy.Eof(); copy.Next(), ++line) {
        if (copyItem->IsNull() || copyItem->AsInteger() != line) {
            copy.Edit();
            copyItem->SetAsInteger(line);
            copy.Post();
        }
    }

    auto* window = qobject_cast<QWidget*>(parent());
    if (window && window->updatesEnabled()) {
        window->setUpdatesEnabled(false);
        restore.window = window;
    }
    EmptyTable();
    TQxMemTable::LoadFromDataSet(&copy);
    Refresh();
    if (restore.filtered) {
        SetFiltered(true);
        restore.filtered = false;
    }
    if (RecordCount() > 0)
        SetRecNo(qBound(1, recNo, RecordCount()));
}
