#include "usystem/vcl/picker/uQxSelect.h"

#include "platform/db/DataSet.h"
#include "platform/db/DataSource.h"
#include "platform/db/Fields.h"
#include "platform/db/sql/SqliteStatement.h"
#include "platform/env/DialogService.h"
#include "platform/env/ExceptionGuard.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/AlignLayout.h"
#include "platform/ui/Components.h"
#include "usystem/vcl/ado/uDMDataBase.h"
#include "usystem/vcl/ado/uQxADODB.h"
#include "usystem/vcl/picker/uQxAddItemRct.h"
#include "usystem/vcl/controls/uQxButtons.h"
#include "usystem/vcl/combos/uQxDBLabelEdit.h"
#include "usystem/vcl/dbedits/uQxDBEdit.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"
#include "usystem/vcl/edits/uQxEdits.h"
#include "usystem/vcl/foundation/uQxFuncs.h"
#include "usystem/vcl/picker/uQxIME.h"
#include "usystem/vcl/picker/uQxNewMaterial.h"
#include "usystem/vcl/recordgrid/uQxDBVGrid.h"
#include "usystem/vcl/rctstr/uQxRctFuncs.h"
#include "usystem/vcl/rctstr/uQxRctStr.h"
#include "usystem/vcl/picker/uQxSelectItemName.h"
#include "usystem/vcl/dbgrid/uQxSetQueryDate.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"

#include <QAction>
#include <QApplication>
#include <QLocale>
#include <QStackedWidget>

namespace {

const QString kSelectSection = QStringLiteral("选择窗口");

bool sameText(const QString& a, const char* b)
{
    return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}

void ensureEditing(TDataSet* ds)
{
    if (!qx::isEditing(ds))
        ds->Edit();
}

// After a value went into a field the way a program does it, the field's own set-text
// handler still gets its say.
void raiseSetText(TField* field)
{
    if (field && field->OnSetText)
        field->OnSetText(field, field->Text());
}

// A picked value goes into a field through the field's set-text handler when it has one, as
// typed text would: a structure's lookup cascade hangs there and looks up only a code that
// differs from the one the field holds, so storing the value first would leave the fields
// that depend on the code unfilled. A field without a handler takes the value as it is.
void putPicked(TField* field, const TField* source)
{
    if (field->OnSetText)
        field->OnSetText(field, source->AsString());
    else
        field->SetValue(source->Value());
}

// A LIKE pattern with '%', '_' and the escape character '\' of the value escaped.
QString escapeLike(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (c == u'\\' || c == u'%' || c == u'_')
            out += u'\\';
        out += c;
    }
    return out;
}

// A typed date condition as the database stores dates: the text is read as the system reads
// dates ("2026-1-5", "2026-01-05 10:30") and written 'YYYY-MM-DD[ HH:MM:SS]'. A text that is no
// date, or a time without a date, is refused under the condition's caption.
QString storedDateText(const QString& typed, const QString& caption)
{
    const QString datePart = typed.section(u' ', 0, 0, QString::SectionSkipEmpty);
    TDateTime day;
    TDateTime value;
    bool ok = TryStrToDate(datePart, day);
    if (ok) {
        try {
            value = StrToDateTime(typed);
        } catch (const EConvertError&) {
            ok = false;
        }
    }
    if (!ok)
        throw EConvertError(caption + QStringLiteral(": 您输入的日期不合法 '") + typed + QLatin1Char('\''));
    return qx::sqlDateText(value.toQDateTime());
}

// The dataset behind a data edit or a data grid, and the field the control is on.
bool controlBinding(QWidget* control, TDataSet*& dataSet, TField*& field)
{
    dataSet = nullptr;
    field = nullptr;
    TDataSource* source = nullptr;
    if (auto* edit = qobject_cast<TQxDBEDIT*>(control)) {
        source = edit->DataSource();
        field = edit->GetField();
    } else if (auto* grid = qobject_cast<TQxCustomDBGrid*>(control)) {
        source = grid->DataSource();
        field = grid->SelectedField();
    } else if (auto* rows = qobject_cast<TQxCustomDBVGrid*>(control)) {
        source = rows->DataSource();
        field = rows->SelectedField();
    } else {
        return false;
    }
    dataSet = source ? source->DataSet() : nullptr;
    return dataSet != nullptr;
}

TQxButton* toolButton(QWidget* parent, const char* name, const QString& caption, int width)
{
    auto* b = new TQxButton(parent);
    b->setObjectName(QLatin1String(name));
    b->resize(width, 37);
    b->SetCaption(caption);
    return b;
}

TQxButton* barButton(QWidget* parent, const char* name, const QString& caption, int width)
{
    auto* b = new TQxButton(parent);
    b->setObjectName(QLatin1String(name));
    b->resize(width, 28);
    b->SetCaption(caption);
    return b;
}

QWidget* page(QStackedWidget* notebook, const char* name)
{
    auto* p = new QWidget(notebook);
    p->setObjectName(QLatin1String(name));
    new qx::AlignLayout(p);
    notebook->addWidget(p);
    return p;
}

} // namespace

// ---- TFrmSelect ------------------------------------------------------------------------------

TFrmSelect::TFrmSelect(const QString& Code, QWidget* parent) : TFrmBase(parent), FCode(Code)
{
    setObjectName(QStringLiteral("FrmSelect"));
    setWindowTitle(QStringLiteral("请选择资料"));
    resize(651, 406);

    // Tool bar.
    PnlTool = new TQxPanel(this);
    PnlTool->setObjectName(QStringLiteral("PnlTool"));
    PnlTool->SetHeight(39);
    PnlTool->SetAlign(alTop);
    qx::insertComponent(this, PnlTool);

    BtnAdd = toolButton(PnlTool, "BtnAdd", QStringLiteral("增加"), 54);
    BtnAdd->SetAlign(alLeft);
    BtnAdd->setVisible(false);
    BtnAdd->OnClick = [this](QObject* Sender) { BtnAddClick(Sender); };
    qx::insertComponent(this, BtnAdd);
    BtnEdit = toolButton(PnlTool, "BtnEdit", QStringLiteral("编辑"), 54);
    BtnEdit->SetAlign(alLeft);
    BtnEdit->setVisible(false);
    qx::insertComponent(this, BtnEdit);
    BtnSave = toolButton(PnlTool, "BtnSave", QStringLiteral("保存窗口"), 64);
    BtnSave->SetAlign(alLeft);
    BtnSave->SetHint(QStringLiteral("保存当前单据，快捷键[F5]"));
    BtnSave->OnClick = [this](QObject* Sender) { BtnSaveClick(Sender); };
    qx::insertComponent(this, BtnSave);
    BtnClose = toolButton(PnlTool, "BtnClose", QStringLiteral("退出"), 54);
    BtnClose->SetAlign(alRight);
    BtnClose->OnClick = [this](QObject* Sender) { BtnCloseClick(Sender); };
    qx::insertComponent(this, BtnClose);

    Notebook = new QStackedWidget(this);
    Notebook->setObjectName(QStringLiteral("Notebook"));
    qx::setAlign(Notebook, alClient);
    qx::insertComponent(this, Notebook);
    PageFind = page(Notebook, "Find");
    PageCondition = page(Notebook, "Condition");

    // Page "Find".
    PnlFind = new TQxPanel(PageFind);
    PnlFind->setObjectName(QStringLiteral("PnlFind"));
    PnlFind->SetHeight(32);
    PnlFind->SetAlign(alTop);
    qx::insertComponent(this, PnlFind);
    LblTip = new TQxLabel(PnlFind);
    LblTip->setObjectName(QStringLiteral("LblTip"));
    LblTip->SetCaption(QStringLiteral("提示:"));
    LblTip->setGeometry(6, 9, 30, 16);
    qx::insertComponent(this, LblTip);
    EdtFind = new TQxEdit(PnlFind);
    EdtFind->setObjectName(QStringLiteral("EdtFind"));
    EdtFind->setGeometry(96, 5, 200, 22);
    EdtFind->OnChange = [this](QObject* Sender) { qx::guard(this, [&] { EdtFindChange(Sender); }); };
    qx::insertComponent(this, EdtFind);
    Menu = new TQxPopupMenu(this);
    Menu->setObjectName(QStringLiteral("Menu"));
    qx::insertComponent(this, Menu);
    BtnFind = barButton(PnlFind, "BtnFind", QStringLiteral("查找字段"), 72);
    BtnFind->move(304, 2);
    BtnFind->SetPopupMenu(Menu);
    qx::insertComponent(this, BtnFind);

    PnlHot = new TQxPanel(PageFind);
    PnlHot->setObjectName(QStringLiteral("PnlHot"));
    PnlHot->SetHeight(34);
    PnlHot->SetAlign(alBottom);
    qx::insertComponent(this, PnlHot);
    const QString hotHint = QStringLiteral("[+]键加入，[Enter]确定退出,[F6]切换条件");
    BtnPre = barButton(PnlHot, "BtnPre", QStringLiteral("<<上一步[F12]"), 96);
    BtnPre->SetAlign(alRight);
    BtnPre->OnClick = [this](QObject* Sender) { BtnPreClick(Sender); };
    qx::insertComponent(this, BtnPre);
    BtnOk = barButton(PnlHot, "BtnOk", QStringLiteral("确定[Enter]"), 90);
    BtnOk->SetAlign(alRight);
    BtnOk->SetHint(hotHint);
    BtnOk->OnClick = [this](QObject* Sender) { BtnOkClick(Sender); };
    qx::insertComponent(this, BtnOk);
    BtnAddRct = barButton(PnlHot, "BtnAddRct", QStringLiteral("加入[+]"), 72);
    BtnAddRct->SetAlign(alRight);
    BtnAddRct->SetHint(hotHint);
    BtnAddRct->setVisible(false);
    BtnAddRct->OnClick = [this](QObject* Sender) { BtnAddRctClick(Sender); };
    qx::insertComponent(this, BtnAddRct);

    TblSelect = new TQxADOQuery(this);
    TblSelect->setObjectName(QStringLiteral("TblSelect"));
    qx::insertComponent(this, TblSelect);
    dsSelect = new TDataSource(this);
    dsSelect->setObjectName(QStringLiteral("dsSelect"));
    dsSelect->SetDataSet(TblSelect);
    qx::insertComponent(this, dsSelect);

    DBGrid = new TQxDBGrid(PageFind);
    DBGrid->setObjectName(QStringLiteral("DBGrid"));
    DBGrid->SetAlign(alClient);
    DBGrid->SetOptions((DBGrid->Options() | dgRowSelect) & ~TQxDBGridOptions(dgEditing));
    DBGrid->SetReadOnly(true);
    DBGrid->SetDefaultRowHeight(20);
    DBGrid->SetDataSource(dsSelect);
    DBGrid->OnDblClick = [this](QObject* Sender) { qx::guard(this, [&] { BtnOkClick(Sender); }); };
    DBGrid->OnTitleClick = [this](TQxColumn* Column) { qx::guard(this, [&] { DBGridTitleClick(Column); }); };
    // The grid's save-title command keeps its column order and widths in the structure.
    DBGrid->OnSaveTitleClick = [this](QObject*) {
        qx::guard(this, [&] { SaveGridLayout(DBGrid, MMTCondition, FCode, true); });
    };
    qx::insertComponent(this, DBGrid);

    dbvgrid = new TQxDBVGrid(PageFind);
    dbvgrid->setObjectName(QStringLiteral("dbvgrid"));
    dbvgrid->SetReadOnly(true);
    dbvgrid->SetDataSource(dsSelect);
    dbvgrid->setVisible(false);
    qx::insertComponent(this, dbvgrid);

    // Page "Condition".
    MMTCondition = new TQxRctStr(this);
    MMTCondition->setObjectName(QStringLiteral("MMTCondition"));
    const struct { const char* name; int size; } conditionFields[] = {
        {"FieldName", 30}, {"CFieldName", 20}, {"TableName", 20}, {"LogicChar", 20},
        {"FieldValue", 60}, {"FieldType", 20}, {"InputType", 30}, {"OperateChar", 20},
    };
    for (const auto& f : conditionFields)
        MMTCondition->FieldDefs()->Add(QLatin1String(f.name), ftString, f.size);
    MMTCondition->CreateTable();
    MMTCondition->Open();
    qx::insertComponent(this, MMTCondition);
    dsCondition = new TDataSource(this);
    dsCondition->setObjectName(QStringLiteral("dsCondition"));
    dsCondition->SetDataSet(MMTCondition);
    qx::insertComponent(this, dsCondition);

    PnlNext = new TQxPanel(PageCondition);
    PnlNext->setObjectName(QStringLiteral("PnlNext"));
    PnlNext->SetHeight(34);
    PnlNext->SetAlign(alBottom);
    qx::insertComponent(this, PnlNext);
    BtnNext = barButton(PnlNext, "BtnNext", QStringLiteral("下一步>>[F12]"), 96);
    BtnNext->SetAlign(alRight);
    BtnNext->OnClick = [this](QObject* Sender) { BtnNextClick(Sender); };
    qx::insertComponent(this, BtnNext);

    dbgCondition = new TQxDBGrid(PageCondition);
    dbgCondition->setObjectName(QStringLiteral("dbgCondition"));
    dbgCondition->SetAlign(alClient);
    dbgCondition->SetDefaultRowHeight(20);
    dbgCondition->SetDataSource(dsCondition);
    // The user reads the field and the comparison and fills in only the value.
    const struct { const char* field; const char* title; int width; bool readOnly; } conditionColumns[] = {
        {"CFieldName", "条件字段", 140, true},
        {"OperateChar", "比较", 90, true},
        {"FieldValue", "值", 300, false},
    };
    for (const auto& c : conditionColumns) {
        TQxColumn* col = dbgCondition->Columns()->Add();
        col->SetFieldName(QLatin1String(c.field));
        col->Title()->SetCaption(QString::fromUtf8(c.title));
        col->SetWidth(c.width);
        col->SetReadOnly(c.readOnly);
        if (!c.readOnly)
            col->SetButtonStyle(cbsEllipsis);
    }
    dbgCondition->OnEditButtonClick = [this](QObject* Sender) {
        qx::guard(this, [&] { dbgConditionEditButtonClick(Sender); });
    };
    qx::insertComponent(this, dbgCondition);

    OnShow = [this](QObject* Sender) { FormShow(Sender); };
    OnClose = [this](QObject* Sender, TCloseAction& Action) { FormClose(Sender, Action); };
}

TFrmSelect::~TFrmSelect()
{
    // The grids let go of their sources before the datasets close under them.
    DBGrid->SetDataSource(nullptr);
    dbvgrid->SetDataSource(nullptr);
    dbgCondition->SetDataSource(nullptr);
}

void TFrmSelect::SetControl(QWidget* Control, TQxRctStr* Structure)
{
    FControl = Control;
    FStructure = Structure;
}

bool TFrmSelect::IsPartsCode() const
{
    return sameText(FCode, "BMaterial") || sameText(FCode, "BStock");
}

bool TFrmSelect::FindPageShown() const
{
    return Notebook->currentWidget() == PageFind;
}

bool TFrmSelect::ConditionPageShown() const
{
    return Notebook->currentWidget() == PageCondition;
}

// ---- placement -------------------------------------------------------------------------------

void TFrmSelect::PlaceWindow()
{
    const QString file = ExeFolderPath(QStringLiteral("ConnectSQL.ini"));
    const QString section = kSelectSection + FCode;
    auto value = [&](const char* key) {
        bool ok = false;
        const int v = ReadIniValue(file, section, QLatin1String(key), QString()).toString().toInt(&ok);
        return ok ? v : 0;
    };
    const int top = value("Top");
    const int left = value("Left");
    const int width = value("Width");
    const int height = value("Height");
    if (top > 0)
        SetTop(top);
    if (left > 0)
        SetLeft(left);
    if (width > 0)
        SetWidth(width);
    if (height > 0)
        SetHeight(height);
}

void TFrmSelect::BtnSaveClick(QObject*)
{
    const QString file = ExeFolderPath(QStringLiteral("ConnectSQL.ini"));
    const QString section = kSelectSection + FCode;
    WriteIniString(file, section, QStringLiteral("Top"), QString::number(Top()));
    WriteIniString(file, section, QStringLiteral("left"), QString::number(Left()));
    WriteIniString(file, section, QStringLiteral("Width"), QString::number(Width()));
    WriteIniString(file, section, QStringLiteral("Height"), QString::number(Height()));
}

// ---- show and close --------------------------------------------------------------------------

void TFrmSelect::FormShow(QObject* Sender)
{
    TFrmBase::FormShow(Sender);

    auto* grid = qobject_cast<TQxCustomDBGrid*>(FControl.data());
    TField* selected = grid ? grid->SelectedField() : nullptr;
    BtnAddRct->setVisible(grid && IsPartsCode() && selected
                          && sameText(selected->FieldName(), "ItemCode"));
    BtnAdd->setVisible(IsPartsCode());

    // The conditions of the code become the rows of the condition grid.
    MMTCondition->EmptyTable();
    MMTCondition->LoadByCode(FCode);
    {
        qx::ControlsGuard quiet(MMTCondition);
        TFindsections* conditions = MMTCondition->FindSections();
        for (int i = 0; i < conditions->Count(); ++i) {
            const TFindsection* c = conditions->Items(i);
            MMTCondition->Append();
            MMTCondition->FieldByName(QStringLiteral("FieldName"))->SetAsString(c->FieldName());
            MMTCondition->FieldByName(QStringLiteral("CFieldName"))->SetAsString(c->CFieldName());
            MMTCondition->FieldByName(QStringLiteral("TableName"))->SetAsString(c->TableName());
            MMTCondition->FieldByName(QStringLiteral("FieldValue"))->SetAsString(c->FieldValue());
            MMTCondition->FieldByName(QStringLiteral("LogicChar"))->SetAsString(c->logicChar());
            MMTCondition->FieldByName(QStringLiteral("OperateChar"))->SetAsString(c->OperateChar());
            MMTCondition->FieldByName(QStringLiteral("InputType"))->SetAsString(c->InPutType());
            MMTCondition->FieldByName(QStringLiteral("FieldType"))->SetAsString(c->FieldType());
            MMTCondition->Post();
        }
        MMTCondition->First();
    }

    if (MMTCondition->RecordCount() > 0) {
        BtnPre->setVisible(true);
        ShowConditionPage();
    } else {
        BtnPre->setVisible(false);
        RunQuery();
    }
}

void TFrmSelect::FormClose(QObject*, TCloseAction& Action)
{
    Action = caFree;
}

void TFrmSelect::BtnCloseClick(QObject*)
{
    Close();
}

void TFrmSelect::ShowConditionPage()
{
    Notebook->setCurrentWidget(PageCondition);
    dbgCondition->setFocus(Qt::OtherFocusReason);
    // The value column, the one the user fills in.
    if (dbgCondition->Columns()->Count() >= 3)
        dbgCondition->SetCol(dbgCondition->DataToRawColumn(2));
}

// ---- keys ------------------------------------------------------------------------------------

void TFrmSelect::FormKeyDown(QObject* Sender, int& Key, TShiftState Shift)
{
    TFrmBase::FormKeyDown(Sender, Key, Shift);
    // The control of this window the key came from.
    QWidget* focus = focusWidget();
    auto within = [focus](QWidget* w) { return focus && (focus == w || w->isAncestorOf(focus)); };
    switch (Key) {
    case VK_ADD:
        if (!BtnAddRct->isHidden() && FindPageShown()) {
            Key = 0;
            BtnAddRctClick(BtnAddRct);
        }
        break;
    case VK_F2:
        Key = 0;
        BtnAddClick(BtnAdd);
        break;
    case VK_F3:
        // The edit button has no action of its own.
        Key = 0;
        break;
    case VK_F5:
        Key = 0;
        BtnSaveClick(BtnSave);
        break;
    case VK_F6: {
        Key = 0;
        const int mode = SwitchInputCodeMode();
        if (mode == icmStandard) {
            if (!Menu->actions().isEmpty())
                Menu->actions().first()->trigger();
        } else if (TblSelect->Active()) {
            static const char* const tips[] = {"拼音输入:", "五笔输入:", "五笔划输入:"};
            if (TField* f = TblSelect->FindField(InputCodeColumn(mode)))
                SetFindField(f, QString::fromUtf8(tips[mode]));
        }
        break;
    }
    case VK_F10:
        Key = 0;
        EdtFind->setFocus(Qt::OtherFocusReason);
        break;
    case VK_F12:
        Key = 0;
        if (FindPageShown()) {
            if (!BtnPre->isHidden())
                BtnPreClick(BtnPre);
        } else {
            BtnNextClick(BtnNext);
        }
        break;
    case VK_RETURN:
        if (FindPageShown() && within(DBGrid)) {
            Key = 0;
            BtnOkClick(BtnOk);
        } else if (ConditionPageShown() && within(dbgCondition) && MMTCondition->RecordCount() > 0) {
            // Enter in the value of the last condition runs the query.
            const TField* selected = dbgCondition->SelectedField();
            const bool lastRow = MMTCondition->RecNo() == MMTCondition->RecordCount()
                                 || MMTCondition->State() == dsInsert;
            if (selected && sameText(selected->FieldName(), "FieldValue") && lastRow) {
                Key = 0;
                BtnNextClick(BtnNext);
            }
        }
        break;
    default:
        break;
    }
}

// ---- conditions ------------------------------------------------------------------------------

QString TFrmSelect::BuildWhere(QVariantMap& Params) const
{
    Params.clear();
    QString where;
    int count = 0;
    const TField* fFieldName = MMTCondition->FieldByName(QStringLiteral("FieldName"));
    const TField* fCFieldName = MMTCondition->FieldByName(QStringLiteral("CFieldName"));
    const TField* fTableName = MMTCondition->FieldByName(QStringLiteral("TableName"));
    const TField* fValue = MMTCondition->FieldByName(QStringLiteral("FieldValue"));
    const TField* fType = MMTCondition->FieldByName(QStringLiteral("FieldType"));
    const TField* fOperator = MMTCondition->FieldByName(QStringLiteral("OperateChar"));

    MMTCondition->ForEachRecord([&] {
        const QString raw = fValue->AsString();
        if (raw.isEmpty())
            return true;
        const QString value = raw.trimmed();
        const QString type = fType->AsString();
        const QString op = fOperator->AsString();
        const QString param = QStringLiteral("w%1").arg(count);
        const QString ref = QLatin1Char(':') + param;
        // The column comes from the stored structure, never from what the user typed.
        const QString table = fTableName->AsString();
        const QString column = table.isEmpty() ? fFieldName->AsString() : table + QLatin1Char('.') + fFieldName->AsString();

        QString comparison;
        static const struct { const char* word; const char* sql; } compares[] = {
            {"等于", "="}, {"不等于", " <>"}, {"大于", " >"}, {"小于", " <"},
            {"小于等于", " <="}, {"大于等于", " >="},
        };
        const char* compare = nullptr;
        for (const auto& c : compares)
            if (op == QString::fromUtf8(c.word))
                compare = c.sql;

        if (op == QStringLiteral("前几位字符为") || op == QStringLiteral("后几位字符为")
            || op == QStringLiteral("包含于")) {
            const bool head = op == QStringLiteral("前几位字符为");
            const bool tail = op == QStringLiteral("后几位字符为");
            const QString escaped = escapeLike(value);
            Params.insert(param, (head ? QString() : QStringLiteral("%")) + escaped
                                     + (tail ? QString() : QStringLiteral("%")));
            comparison = QStringLiteral(" like ") + ref + QStringLiteral(" escape '\\'");
        } else if (!compare) {
            throw EDatabaseError(fCFieldName->AsString() + QStringLiteral(": 无法识别的比较方式 \"")
                                 + op + QLatin1Char('"'));
        } else if (sameText(type, "Boolean")) {
            // A Yes/No column holds true as any non-zero number (-1 in databases moved over
            // from Access), so "yes" is compared as non-zero rather than as 1.
            const bool yes = value == QStringLiteral("是");
            if (op == QStringLiteral("等于"))
                comparison = yes ? QStringLiteral("<>0") : QStringLiteral("=0");
            else if (op == QStringLiteral("不等于"))
                comparison = yes ? QStringLiteral("=0") : QStringLiteral(" <>0");
            else {
                Params.insert(param, yes ? 1 : 0);
                comparison = QLatin1String(compare) + ref;
            }
        } else if (sameText(type, "Datetime")) {
            // Dates are stored as 'YYYY-MM-DD[ HH:MM:SS]' and compare in that form: a typed
            // "2026-1-5" is read as the system reads dates and bound as '2026-01-05'.
            Params.insert(param, storedDateText(value, fCFieldName->AsString()));
            comparison = QLatin1String(compare) + ref;
        } else if (sameText(type, "Varchar") || sameText(type, "Char")) {
            Params.insert(param, value);
            comparison = QLatin1String(compare) + ref;
        } else {
            // Anything else compares numbers: a value that is not one is refused here rather
            // than compared as text (or run as SQL).
            const QLocale c = QLocale::c();
            bool ok = false;
            const qlonglong whole = c.toLongLong(value, &ok);
            if (ok) {
                Params.insert(param, whole);
            } else {
                const double real = c.toDouble(value, &ok);
                if (!ok)
                    throw EConvertError(fCFieldName->AsString() + QStringLiteral(": 您输入的数字不合法 '")
                                        + value + QLatin1Char('\''));
                Params.insert(param, real);
            }
            comparison = QLatin1String(compare) + ref;
        }
        if (!Params.contains(param) && comparison.contains(ref))
            Params.insert(param, value);
        where += (count == 0 ? QStringLiteral(" ") : QStringLiteral(" and ")) + column + comparison;
        ++count;
        return true;
    });
    return where;
}

void TFrmSelect::PostConditionEdit()
{
    // The grid hands what its editor holds to the field when the editor closes.
    if (dbgCondition->EditorMode())
        dbgCondition->SetEditorMode(false);
    MMTCondition->CheckBrowseMode();
}

void TFrmSelect::RunQuery()
{
    if (!dmDatabase)
        throw EDatabaseError(QStringLiteral("没有数据模块，无法查询"));
    PostConditionEdit();
    QVariantMap params;
    const QString where = BuildWhere(params);

    TblSelect->Close();
    TblSelect->SetConnection(dmDatabase->conBusiness);
    QString top;
    for (const QString& code : dmDatabase->RowLimitCodes) {
        if (code.compare(FCode, Qt::CaseInsensitive) == 0) {
            const int limit = dmDatabase->RowLimit < 30 ? 100 : dmDatabase->RowLimit;
            top = QStringLiteral(" Top %1 ").arg(limit);
            break;
        }
    }
    // A code without a stored structure has no statement: the picker lists nothing.
    if (!MMTCondition->MstSQL().trimmed().isEmpty())
        MMTCondition->OpenWhere(where, TblSelect, top, params);

    Notebook->setCurrentWidget(PageFind);
    BuildFindFields();
    EdtFind->setFocus(Qt::OtherFocusReason);
}

void TFrmSelect::BtnNextClick(QObject*)
{
    RunQuery();
}

void TFrmSelect::BtnPreClick(QObject*)
{
    ShowConditionPage();
}

void TFrmSelect::dbgConditionEditButtonClick(QObject*)
{
    if (MMTCondition->IsEmpty())
        return;
    PostConditionEdit();
    const QString input = MMTCondition->FieldByName(QStringLiteral("InputType"))->AsString();
    const QString fieldName = MMTCondition->FieldByName(QStringLiteral("FieldName"))->AsString();
    TField* value = MMTCondition->FieldByName(QStringLiteral("FieldValue"));
    QString chosen;
    if (sameText(input, "BPYWB")) {
        if (!ShowImeDialog(QStringLiteral("I") + fieldName, value, QString()))
            return;
        chosen = ImeResultText();
    } else if (sameText(input, "BGetDate")) {
        // A date condition takes its value from the month calendar.
        ensureEditing(MMTCondition);
        ShowDateDialog(value, dbgCondition);
        return;
    } else if (!input.isEmpty()) {
        if (!SelectValueByStructure(fieldName, input, chosen))
            return;
    }
    if (chosen.isEmpty())
        return;
    ensureEditing(MMTCondition);
    value->SetAsString(chosen);
    MMTCondition->Post();
}

// ---- find page -------------------------------------------------------------------------------

void TFrmSelect::BuildFindFields()
{
    // The records are listed in rows; the record grid of the current one stays hidden.
    dbvgrid->setVisible(false);
    Menu->clear();
    FFindField = nullptr;
    MMTCondition->BuildGridColumns(DBGrid);
    TQxDBGridColumns* columns = DBGrid->Columns();
    for (int i = 0; i < columns->Count(); ++i) {
        TQxColumn* column = columns->Items(i);
        const TField* f = column->Field();
        if (!f || (f->DataType() != ftString && f->DataType() != ftWideString))
            continue;
        QAction* action = Menu->addAction(column->Title()->Caption());
        QPointer<TQxColumn> target(column);
        connect(action, &QAction::triggered, this, [this, target] {
            if (target)
                qx::guard(this, [&] { ChooseFindField(target); });
        });
    }
}

void TFrmSelect::SetFindField(TField* Field, const QString& Tip)
{
    FFindField = Field;
    LblTip->SetCaption(Tip);
    LblTip->resize(6 * int(Tip.size()) + 6, LblTip->height());
}

void TFrmSelect::ChooseFindField(TQxColumn* Column)
{
    TField* f = Column ? Column->Field() : nullptr;
    if (!f)
        return;
    SetFindField(f, Column->Title()->Caption() + QStringLiteral("输入:"));
    TblSelect->SetSort(f->FieldName());
}

void TFrmSelect::DBGridTitleClick(TQxColumn* Column)
{
    if (Column && Column->Field() && TblSelect->Active())
        TblSelect->SetSort(Column->Field()->FieldName());
}

void TFrmSelect::EdtFindChange(QObject*)
{
    if (!TblSelect->Active())
        return;
    const QString text = EdtFind->Text();
    if (text.isEmpty()) {
        TblSelect->First();
        return;
    }
    if (!FFindField) {
        if (Menu->actions().isEmpty())
            return;
        Menu->actions().first()->trigger();
        if (!FFindField)
            return;
    }
    if (FFindField->Size() > 0 && EdtFind->maxLength() != FFindField->Size())
        EdtFind->setMaxLength(FFindField->Size());
    const bool found = TblSelect->Locate(FFindField->FieldName(), text.trimmed(),
                                         TLocateOptions(loCaseInsensitive) | loPartialKey);
    QPalette pal = EdtFind->palette();
    pal.setColor(QPalette::Text, found ? Qt::black : Qt::blue);
    EdtFind->setPalette(pal);
    PnlHot->SetCaption(found ? QLatin1Char('[') + FFindField->AsString() + QLatin1Char(']') : QString());
}

// ---- confirm ---------------------------------------------------------------------------------

void TFrmSelect::BtnOkClick(QObject*)
{
    if (!FindPageShown())
        return;
    if (!TblSelect->Active() || TblSelect->IsEmpty()) {
        Close();
        return;
    }
    if (!FResultField.isEmpty()) {
        if (const TField* f = TblSelect->FindField(FResultField))
            FResultValue = f->AsString();
        done(qx::mrOk);
        return;
    }
    TDataSet* dataSet = nullptr;
    TField* target = nullptr;
    if (FControl && controlBinding(FControl, dataSet, target) && target) {
        ensureEditing(dataSet);
        const TField* source = TblSelect->FindField(target->FieldName());
        // Staff are picked by code but the document keeps the name.
        if (sameText(FCode, "BWorker"))
            if (const TField* name = TblSelect->FindField(QStringLiteral("Name")))
                source = name;
        if (source)
            putPicked(target, source);
        if (qobject_cast<TQxCustomDBGrid*>(FControl.data()) && sameText(FCode, "BStock")) {
            TField* to = dataSet->FindField(QStringLiteral("StockIndex"));
            const TField* from = TblSelect->FindField(QStringLiteral("StockIndex"));
            if (to && from)
                to->SetValue(from->Value());
        }
    }
    done(qx::mrOk);
}

void TFrmSelect::BtnAddRctClick(QObject*)
{
    auto* grid = qobject_cast<TQxCustomDBGrid*>(FControl.data());
    if (!grid || !grid->DataSource() || !grid->DataSource()->DataSet() || !TblSelect->Active()
        || TblSelect->IsEmpty())
        return;
    TField* selected = grid->SelectedField();
    if (!selected)
        return;
    const TField* source = TblSelect->FindField(selected->FieldName());
    if (!source)
        return;
    TDataSet* lines = grid->DataSource()->DataSet();
    if (!qx::isEditing(lines))
        lines->Append();
    putPicked(selected, source);
    const struct { const char* from; const char* to; bool handler; } extra[] = {
        {"Location", "Location", true},
        {"CostPrice", "Costprice", true},
        {"StockIndex", "StockIndex", false},
    };
    for (const auto& e : extra) {
        const TField* from = TblSelect->FindField(QLatin1String(e.from));
        TField* to = lines->FindField(QLatin1String(e.to));
        if (!from || !to)
            continue;
        if (e.handler)
            putPicked(to, from);
        else
            to->SetValue(from->Value());
    }
    // The quantity dialog posts the line, or takes it back when closed without saving.
    ShowAddItemRct(grid);
    // The picker stays open for the next part.
}

void TFrmSelect::BtnAddClick(QObject*)
{
    // Only the parts codes record new parts here.
    if (IsPartsCode())
        NewMaterial(nullptr, QString(), QString());
}

// ---- entry points ----------------------------------------------------------------------------

void PickFieldValue(QWidget* Control)
{
    TDataSet* dataSet = nullptr;
    TField* field = nullptr;
    if (!controlBinding(Control, dataSet, field))
        return;
    auto* structure = qobject_cast<TQxRctStr*>(dataSet);
    if (!structure || !field)
        return;
    const int index = structure->MstSections()->IndexOfField(field->FieldName());
    const QString code = index >= 0 ? structure->MstSections()->Items(index)->ActionType() : QString();
    if (code.isEmpty()) {
        qx::showMessage(QStringLiteral("请先设置数据浏览结构!!"), Control);
        return;
    }
    if (sameText(code, "BPYWB")) {
        if (!ShowImeDialog(QStringLiteral("I") + field->FieldName(), field, QString()))
            return;
        ensureEditing(dataSet);
        if (field->OnSetText)
            field->OnSetText(field, ImeResultText());
        else
            field->SetAsString(ImeResultText());
        return;
    }
    if (sameText(code, "BGetDate")) {
        ensureEditing(dataSet);
        ShowDateDialog(field, Control);
        raiseSetText(field);
        return;
    }
    if (!dmDatabase)
        return;
    auto* picker = new TFrmSelect(code);
    picker->SetControl(Control, structure);
    picker->PlaceWindow();
    qx::DialogService::instance().execDialog(*picker);
}

bool SelectValueByStructure(const QString& ResultField, const QString& StructureCode, QString& Value)
{
    if (!dmDatabase)
        return false;
    auto* picker = new TFrmSelect(StructureCode);
    picker->SetResultField(ResultField);
    picker->PlaceWindow();
    // The picker frees itself after this run; its result is read before that.
    QPointer<TFrmSelect> guard(picker);
    const int result = qx::DialogService::instance().execDialog(*picker);
    if (result != qx::mrOk || !guard)
        return false;
    Value = guard->ResultValue();
    return true;
}

void InstallLibraryPickers()
{
    qx::EditLookupBinding binding;
    binding.selectValueByStructure = SelectValueByStructure;
    binding.showImeDialog = [](const QString& InputType, QString& Result) {
        if (!ShowImeDialog(InputType, nullptr, QString()))
            return false;
        Result = ImeResultText();
        return true;
    };
    binding.pickFieldValue = PickFieldValue;
    qx::setEditLookupBinding(binding);
    // A part code that matches nothing offers the parts whose name holds the typed text.
    qx::selectItemByName = SelectItemByName;
    // A labelled edit or combo box over a document structure takes its caption, visibility
    // and required mark from the definition of its field.
    qx::LabelledLookBinding look;
    look.fieldDefinition = [](TDataSource* Source, const QString& FieldName,
                              qx::LabelledFieldDefinition& Definition) {
        auto* structure = Source ? qobject_cast<TQxRctStr*>(Source->DataSet()) : nullptr;
        if (!structure)
            return false;
        const int index = structure->MstSections()->IndexOfField(FieldName);
        if (index < 0)
            return false;
        const TMstSection* section = structure->MstSections()->Items(index);
        Definition.caption = section->CFieldName();
        Definition.visible = section->Visible();
        Definition.required = !section->CanNull();
        return true;
    };
    qx::setLabelledLookBinding(look);
}
