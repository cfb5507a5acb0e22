#include "usystem/vcl/picker/uQxIME.h"

#include "platform/db/DataSource.h"
#include "platform/db/Fields.h"
#include "platform/env/DialogService.h"
#include "platform/env/ExceptionGuard.h"
#include "platform/ui/AlignLayout.h"
#include "platform/ui/Components.h"
#include "usystem/vcl/ado/uDMDataBase.h"
#include "usystem/vcl/ado/uQxADODB.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"
#include "usystem/vcl/edits/uQxEdits.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMainWindow>

namespace {

// One list the dialog can search: the select list and table, the column the standard mode
// matches, the order, and whether it lives on the system connection.
struct ImeList
{
    const char* kind;
    const char* head;
    const char* nameColumn;
    const char* order;
    bool system;
};

// The lists the shop's forms ask for by kind ("I" + field name). The first column is what the
// dialog hands back: the name, or the code for the code kinds.
const ImeList kImeLists[] = {
    {"IItemName", "select ItemName as 零件名称 from tMaterialName", "ItemName", "OrderID, ItemName", true},
    {"ICName", "select CName as 名称 from tClient", "CName", "CName", false},
    {"ICCode", "select CCode as 编号, CName as 名称 from tClient", "CCode", "CName", false},
    {"ISName", "select SName as 名称 from tSupplier", "SName", "SName", false},
    {"ISCode", "select SCode as 编号, SName as 名称 from tSupplier", "SCode", "SName", false},
    {"ICJName", "select CJName as 名称 from tClient", "CJName", "CJName", false},
    {"ISJName", "select SJName as 名称 from tSupplier", "SJName", "SJName", false},
    {"ISItemName", "select SItemName as 名称 from tServiceItem", "SItemName", "SItemName", false},
    {"ISItemCode", "select SItemCode as 编号, SItemName as 名称 from tServiceItem", "SItemCode",
     "SItemName", false},
};

const ImeList* imeList(const QString& kind)
{
    for (const ImeList& l : kImeLists)
        if (kind.compare(QLatin1String(l.kind), Qt::CaseInsensitive) == 0)
            return &l;
    return nullptr;
}

// A LIKE pattern that matches text literally as a prefix ('\' is the escape character).
QString prefixPattern(const QString& text)
{
    QString out;
    out.reserve(text.size() + 1);
    for (QChar c : text) {
        if (c == u'\\' || c == u'%' || c == u'_')
            out += u'\\';
        out += c;
    }
    out += u'%';
    return out;
}

const char* const kModeCaptions[] = {"拼音", "五笔", "五笔划", "标准"};

} // namespace

int CurrentInputCodeMode()
{
    if (!dmDatabase)
        return icmPinyin;
    const int mode = dmDatabase->InputCodeMode;
    return mode >= icmPinyin && mode <= icmStandard ? mode : icmPinyin;
}

int SwitchInputCodeMode()
{
    const int mode = (CurrentInputCodeMode() + 1) % 4;
    if (dmDatabase)
        dmDatabase->InputCodeMode = mode;
    // The main window shows the mode on its BtnIme button when it has one.
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (!qobject_cast<QMainWindow*>(top))
            continue;
        for (QWidget* w : top->findChildren<QWidget*>()) {
            if (w->objectName().compare(QLatin1String("BtnIme"), Qt::CaseInsensitive) != 0)
                continue;
            const QString caption = QString::fromUtf8(kModeCaptions[mode]);
            if (w->metaObject()->indexOfProperty("Caption") >= 0)
                w->setProperty("Caption", caption);
            else if (auto* b = qobject_cast<QAbstractButton*>(w))
                b->setText(caption);
            w->update();
        }
        break;
    }
    return mode;
}

QString InputCodeColumn(int Mode)
{
    switch (Mode) {
    case icmPinyin:
        return QStringLiteral("Py");
    case icmWubi:
        return QStringLiteral("WB");
    case icmWubiStrokes:
        return QStringLiteral("WBH");
    default:
        return QString();
    }
}

bool IsImeKind(const QString& Kind)
{
    return imeList(Kind) != nullptr;
}

QString& ImeResultText()
{
    static QString text;
    return text;
}

// ---- TFrmIME ---------------------------------------------------------------------------------

TFrmIME::TFrmIME(QWidget* parent) : TFrmDlgBase(parent)
{
    setObjectName(QStringLiteral("FrmIME"));
    setWindowTitle(QStringLiteral("拼音五笔输入"));
    resize(420, 380);

    LblInput = new TQxLabel(Pnlcenter);
    LblInput->setObjectName(QStringLiteral("LblInput"));
    LblInput->SetCaption(QStringLiteral("输入:"));
    LblInput->setGeometry(6, 11, 36, 16);
    qx::insertComponent(this, LblInput);

    EdtInput = new TQxEdit(Pnlcenter);
    EdtInput->setObjectName(QStringLiteral("EdtInput"));
    EdtInput->setGeometry(44, 8, 200, 22);
    EdtInput->OnChange = [this](QObject* Sender) { qx::guard(this, [&] { EdtInputChange(Sender); }); };
    qx::insertComponent(this, EdtInput);

    PnlBottom = new TQxPanel(this);
    PnlBottom->setObjectName(QStringLiteral("PnlBottom"));
    PnlBottom->SetHeight(24);
    PnlBottom->SetAlign(alBottom);
    PnlBottom->SetCaption(QStringLiteral("[F10]输入[F6]切换拼音五笔[ENTER]确定[ESC]取消"));
    qx::insertComponent(this, PnlBottom);

    QryIme = new TQxADOQuery(this);
    QryIme->setObjectName(QStringLiteral("QryIme"));
    qx::insertComponent(this, QryIme);
    dsIme = new TDataSource(this);
    dsIme->setObjectName(QStringLiteral("dsIme"));
    dsIme->SetDataSet(QryIme);
    qx::insertComponent(this, dsIme);

    DBGrid = new TQxDBGrid(this);
    DBGrid->setObjectName(QStringLiteral("DBGrid"));
    DBGrid->SetAlign(alClient);
    DBGrid->SetOptions((DBGrid->Options() | dgRowSelect) & ~TQxDBGridOptions(dgEditing));
    DBGrid->SetReadOnly(true);
    DBGrid->SetDefaultRowHeight(20);
    DBGrid->SetDataSource(dsIme);
    DBGrid->OnDblClick = [this](QObject* Sender) { qx::guard(this, [&] { DBGridDblClick(Sender); }); };
    qx::insertComponent(this, DBGrid);

    OnShow = [this](QObject* Sender) { FormShow(Sender); };
}

TFrmIME::~TFrmIME()
{
    // The grid lets go of the source before the query closes under it.
    DBGrid->SetDataSource(nullptr);
}

void TFrmIME::FormShow(QObject* Sender)
{
    TFrmDlgBase::FormShow(Sender);
    RefreshList();
    EdtInput->setFocus(Qt::OtherFocusReason);
}

void TFrmIME::FormKeyDown(QObject* Sender, int& Key, TShiftState Shift)
{
    TFrmDlgBase::FormKeyDown(Sender, Key, Shift);
    switch (Key) {
    case VK_RETURN:
        Key = 0;
        Confirm();
        break;
    case VK_F6:
        Key = 0;
        SwitchInputCodeMode();
        break;
    case VK_F10:
        Key = 0;
        EdtInput->setFocus(Qt::OtherFocusReason);
        break;
    default:
        break;
    }
}

void TFrmIME::EdtInputChange(QObject*)
{
    if (isVisible())
        RefreshList();
}

void TFrmIME::DBGridDblClick(QObject*)
{
    Confirm();
}

void TFrmIME::RefreshList()
{
    const ImeList* list = imeList(FKind);
    if (!list || !dmDatabase)
        return;
    const int mode = CurrentInputCodeMode();
    const QString column = mode == icmStandard ? QString::fromLatin1(list->nameColumn) : InputCodeColumn(mode);
    QryIme->Close();
    QryIme->SetConnection(list->system ? dmDatabase->conSystem : dmDatabase->conBusiness);
    QryIme->SQL().SetText(QString::fromUtf8(list->head) + QStringLiteral(" where ") + column
                          + QStringLiteral(" like :Code escape '\\' order by ")
                          + QString::fromLatin1(list->order) + QStringLiteral(" limit 20"));
    QryIme->ParamByName(QStringLiteral("Code"))->setValue(prefixPattern(EdtInput->Text()));
    QryIme->Open();
}

void TFrmIME::Confirm()
{
    if (QryIme->Active() && !QryIme->IsEmpty() && QryIme->FieldCount() > 0)
        ImeResultText() = QryIme->Fields()->Fields(0)->AsString();
    else
        ImeResultText().clear();
    done(qx::mrOk);
}

bool ShowImeDialog(const QString& Kind, TField* Field, const QString& StartText)
{
    if (!IsImeKind(Kind) || !dmDatabase)
        return false;
    // A dialog still open somewhere is used again rather than a second one made. A closed
    // one is on its way out (it frees itself after closing) and is never taken.
    TFrmIME* dialog = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->isVisible() && top->objectName().toUpper() == QLatin1String("FRMIME")) {
            dialog = qobject_cast<TFrmIME*>(top);
            if (dialog)
                break;
        }
    }
    if (!dialog)
        dialog = new TFrmIME();
    dialog->SetKind(Kind);
    dialog->SetField(Field);
    {
        // The starting text is not a change the user made: the list opens when shown.
        const QSignalBlocker block(dialog->EdtInput);
        dialog->EdtInput->setText(StartText);
    }
    ImeResultText().clear();
    const int result = qx::DialogService::instance().execDialog(*dialog);
    return result == qx::mrOk && !ImeResultText().isEmpty();
}
