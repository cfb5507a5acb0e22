#include "usystem/vcl/codebar/uQxCodebar.h"

#include "platform/db/DataSource.h"
#include "platform/db/QxMemTable.h"
#include "platform/env/ExceptionGuard.h"
#include "platform/rtl/Exceptions.h"
#include "platform/ui/Components.h"
#include "platform/ui/Glyphs.h"
#include "usystem/vcl/controls/uQxButtons.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"
#include "usystem/vcl/edits/uQxEdits.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"

#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

#include <climits>

namespace qx {

bool isDigitCode(const QString& text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text) {
        // Only ASCII digits: a label printer reads the code as it stands.
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

QString addToDigitCode(const QString& digits, std::uint64_t by)
{
    QString out = digits;
    std::uint64_t carry = by;
    for (qsizetype i = out.size() - 1; i >= 0 && carry != 0; --i) {
        const std::uint64_t sum = std::uint64_t(out[i].unicode() - u'0') + carry % 10;
        out[i] = QChar(char16_t(u'0' + sum % 10));
        carry = carry / 10 + sum / 10;
    }
    // What is left of the carry becomes new digits at the left.
    if (carry != 0)
        out.prepend(QString::number(carry));
    return out;
}

} // namespace qx

namespace {

const QString kItemCode = QStringLiteral("itemcode");
const QString kItemName = QStringLiteral("itemname");
const QString kSalePrice = QStringLiteral("saleprice");
const QString kRemark = QStringLiteral("remark");

// The label list files: "*.Bar" beside whatever folder the user keeps them in.
const QString kBarSuffix = QStringLiteral("Bar");
const QString kBarFilter = QStringLiteral("条码文件 (*.Bar)");

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& caption, int left, int top)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->move(left, top);
    label->adjustSize();
    return label;
}

TQxEdit* makeEdit(QWidget* parent, const QString& name, int left, int top, int width)
{
    auto* edit = new TQxEdit(parent);
    edit->setObjectName(name);
    // The library's edit brings a font of its own; on this form the edits take the form's, as
    // its labels and spin boxes do.
    edit->setFont(parent->window()->font());
    edit->setGeometry(left, top, width, 21);
    edit->setMaxLength(TFrmCodeBar::MaxCodeLength);
    return edit;
}

QSpinBox* makeCount(QWidget* parent, const QString& name, int left, int top, int width)
{
    // A count without limits of its own: zero or less simply makes no rows.
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(name);
    spin->setRange(INT_MIN, INT_MAX);
    spin->setValue(1);
    spin->setGeometry(left, top, width, 21);
    return spin;
}

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption, int left, int top)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(left, top, 75, 25);
    return button;
}

} // namespace

TFrmCodeBar::TFrmCodeBar(QWidget* parent) : TFrmBase(parent)
{
    setObjectName(QStringLiteral("FrmCodeBar"));
    SetCaption(QStringLiteral("条形码设置器"));
    SetPosition(poDesktopCenter);
    // A single border: the layout below is laid out for this one size.
    setFixedSize(806, 529);

    BuildTable();
    BuildToolBar();
    BuildGrid();
    BuildFixedGroup();
    BuildSequentialGroup();

    OpenDialog.defaultSuffix = kBarSuffix;
    OpenDialog.filter = kBarFilter;
    SaveDialog.defaultSuffix = kBarSuffix;
    SaveDialog.filter = kBarFilter;

    OnClose = [this](QObject* Sender, TCloseAction& Action) { FormClose(Sender, Action); };
}

TFrmCodeBar::~TFrmCodeBar()
{
    // The grid lets go of the data source before the table goes.
    DBGrid1->SetDataSource(nullptr);
}

void TFrmCodeBar::DefineFields(TQxMemTable* table)
{
    table->FieldDefs()->Add(kItemCode, ftString, MaxCodeLength);
    table->FieldDefs()->Add(kItemName, ftString, 30);
    table->FieldDefs()->Add(kSalePrice, ftCurrency);
    table->FieldDefs()->Add(kRemark, ftString, 60);
}

void TFrmCodeBar::BuildTable()
{
    tblitemcode = new TQxMemTable(this);
    tblitemcode->setObjectName(QStringLiteral("tblitemcode"));
    DefineFields(tblitemcode);
    // The shop's files are GBK, as the label lists of its older installations are.
    tblitemcode->SetCsvEncoding(TCsvEncoding::Gbk);
    tblitemcode->Open();
    qx::insertComponent(this, tblitemcode);

    dsitemcode = new TDataSource(this);
    dsitemcode->setObjectName(QStringLiteral("dsitemcode"));
    dsitemcode->SetDataSet(tblitemcode);
    qx::insertComponent(this, dsitemcode);
}

void TFrmCodeBar::BuildToolBar()
{
    Panel1 = new TQxPanel(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->SetHeight(41);
    Panel1->SetAlign(alTop);
    qx::insertComponent(this, Panel1);

    const struct
    {
        TQxButton** button;
        const char16_t* name;
        const char16_t* caption;
    } buttons[] = {
        {&QxButton6, u"QxButton6", u"清空"}, {&QxButton5, u"QxButton5", u"保存"},
        {&QxButton4, u"QxButton4", u"读出"}, {&QxButton3, u"QxButton3", u"打印"},
        {&QxButton1, u"QxButton1", u"退出"},
    };
    int left = 2;
    for (const auto& b : buttons) {
        auto* button = new TQxButton(Panel1);
        button->setObjectName(QString::fromUtf16(b.name));
        button->SetBounds(left, 2, 54, 37);
        button->SetCaption(QString::fromUtf16(b.caption));
        button->SetLayout(TQxCustomButton::GlyphTop);
        qx::insertComponent(this, button);
        *b.button = button;
        left += 56;
    }
    QxButton1->SetGlyph(qx::libraryGlyph(qx::LibraryGlyph::Exit).toImage());

    QxButton6->OnClick = [this](QObject* Sender) { QxButton6Click(Sender); };
    QxButton5->OnClick = [this](QObject* Sender) { QxButton5Click(Sender); };
    QxButton4->OnClick = [this](QObject* Sender) { QxButton4Click(Sender); };
    // "打印" is there for the label printer and does nothing yet.
    QxButton1->OnClick = [this](QObject* Sender) { QxButton1Click(Sender); };
}

void TFrmCodeBar::BuildGrid()
{
    DBGrid1 = new TQxDBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->SetWidth(537);
    DBGrid1->SetAlign(alLeft);
    qx::insertComponent(this, DBGrid1);

    const struct
    {
        const QString& field;
        const char16_t* title;
    } columns[] = {
        {kItemCode, u"条码"}, {kItemName, u"名称"}, {kSalePrice, u"销售价"}, {kRemark, u"说明"},
    };
    for (const auto& c : columns) {
        TQxColumn* column = DBGrid1->Columns()->Add();
        column->SetFieldName(c.field);
        column->Title()->SetCaption(QString::fromUtf16(c.title));
        column->Title()->SetAlignment(taCenter);
    }
    DBGrid1->SetDataSource(dsitemcode);
}

void TFrmCodeBar::BuildFixedGroup()
{
    GroupBox1 = new QGroupBox(QStringLiteral("固定条码："), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(548, 50, 250, 196);
    qx::insertComponent(this, GroupBox1);

    Label1 = makeLabel(GroupBox1, QStringLiteral("Label1"), QStringLiteral("条码："), 16, 30);
    Edtitemcode1 = makeEdit(GroupBox1, QStringLiteral("Edtitemcode1"), 76, 26, 156);
    Label2 = makeLabel(GroupBox1, QStringLiteral("Label2"), QStringLiteral("份数："), 16, 62);
    EdtValue1 = makeCount(GroupBox1, QStringLiteral("EdtValue1"), 76, 58, 156);
    Label3 = makeLabel(GroupBox1, QStringLiteral("Label3"), QStringLiteral("名称："), 16, 94);
    EdtitemName1 = makeEdit(GroupBox1, QStringLiteral("EdtitemName1"), 76, 90, 156);
    Label4 = makeLabel(GroupBox1, QStringLiteral("Label4"), QStringLiteral("销售价："), 16, 126);
    Edtsaleprice1 = makeEdit(GroupBox1, QStringLiteral("Edtsaleprice1"), 76, 122, 156);
    Button1 = makeButton(GroupBox1, QStringLiteral("Button1"), QStringLiteral("生成"), 157, 156);
    for (QObject* component : {static_cast<QObject*>(Label1), static_cast<QObject*>(Edtitemcode1),
                               static_cast<QObject*>(Label2), static_cast<QObject*>(EdtValue1),
                               static_cast<QObject*>(Label3), static_cast<QObject*>(EdtitemName1),
                               static_cast<QObject*>(Label4), static_cast<QObject*>(Edtsaleprice1),
                               static_cast<QObject*>(Button1)})
        qx::insertComponent(this, component);

    connect(Button1, &QPushButton::clicked, this, qx::guarded(this, [this](bool) { Button1Click(Button1); }));
}

void TFrmCodeBar::BuildSequentialGroup()
{
    GroupBox2 = new QGroupBox(QStringLiteral("自动序号条码："), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    GroupBox2->setGeometry(548, 262, 250, 132);
    qx::insertComponent(this, GroupBox2);

    Label5 = makeLabel(GroupBox2, QStringLiteral("Label5"), QStringLiteral("起始："), 16, 30);
    EdtItemCode2 = makeEdit(GroupBox2, QStringLiteral("EdtItemCode2"), 76, 26, 156);
    Label6 = makeLabel(GroupBox2, QStringLiteral("Label6"), QStringLiteral("份数："), 16, 62);
    EdtValue2 = makeCount(GroupBox2, QStringLiteral("EdtValue2"), 76, 58, 156);
    Button2 = makeButton(GroupBox2, QStringLiteral("Button2"), QStringLiteral("生成"), 157, 92);
    for (QObject* component : {static_cast<QObject*>(Label5), static_cast<QObject*>(EdtItemCode2),
                               static_cast<QObject*>(Label6), static_cast<QObject*>(EdtValue2),
                               static_cast<QObject*>(Button2)})
        qx::insertComponent(this, component);

    connect(Button2, &QPushButton::clicked, this, qx::guarded(this, [this](bool) { Button2Click(Button2); }));
}

// ---- generating rows -------------------------------------------------------------------------

void TFrmCodeBar::Button1Click(QObject*)
{
    const QString code = Edtitemcode1->Text();
    if (code.isEmpty())
        return;
    const QString name = EdtitemName1->Text();
    const QString price = Edtsaleprice1->Text();
    // Every value is checked the way its column will take it before the first row goes in,
    // so a price that is no number leaves no half-filled row behind.
    TField* codeField = tblitemcode->FieldByName(kItemCode);
    TField* nameField = tblitemcode->FieldByName(kItemName);
    TField* priceField = tblitemcode->FieldByName(kSalePrice);
    codeField->ToCell(QVariant(code));
    nameField->ToCell(QVariant(name));
    priceField->ToCell(QVariant(price));

    const int count = EdtValue1->value();
    if (count <= 0)
        return;
    qx::ControlsGuard controls(tblitemcode);
    for (int i = 0; i < count; ++i) {
        tblitemcode->Append();
        codeField->SetText(code);
        nameField->SetText(name);
        priceField->SetText(price);
        tblitemcode->Post();
    }
}

void TFrmCodeBar::Button2Click(QObject*)
{
    const QString start = EdtItemCode2->Text();
    if (start.isEmpty())
        return;
    if (!qx::isDigitCode(start))
        throw EConvertError(QStringLiteral("起始条码只能由数字 0-9 组成！"));
    const int count = EdtValue2->value();
    if (count <= 0)
        return;
    // The whole run must fit the code column before its first row goes in.
    if (qx::addToDigitCode(start, std::uint64_t(count) - 1).size() > MaxCodeLength)
        throw EConvertError(QStringLiteral("生成的条码超过 %1 位！").arg(MaxCodeLength));

    TField* codeField = tblitemcode->FieldByName(kItemCode);
    qx::ControlsGuard controls(tblitemcode);
    QString code = start;
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            code = qx::addToDigitCode(code, 1);
        tblitemcode->Append();
        codeField->SetText(code);
        tblitemcode->Post();
    }
}

// ---- the list as a whole ---------------------------------------------------------------------

void TFrmCodeBar::QxButton6Click(QObject*)
{
    tblitemcode->EmptyTable();
}

void TFrmCodeBar::QxButton5Click(QObject*)
{
    QString fileName = qx::DialogService::instance().saveFileName(this, SaveDialog);
    if (fileName.isEmpty())
        return;
    // A name typed without an extension gets the list's own.
    if (QFileInfo(fileName).suffix().isEmpty())
        fileName += u'.' + SaveDialog.defaultSuffix;
    SaveDialog.fileName = fileName;
    // The row being typed in the grid belongs in the file too.
    tblitemcode->CheckBrowseMode();
    tblitemcode->SaveToFile(fileName, mtfSaveData);
}

void TFrmCodeBar::QxButton4Click(QObject*)
{
    const QString fileName = qx::DialogService::instance().openFileName(this, OpenDialog);
    if (fileName.isEmpty())
        return;
    OpenDialog.fileName = fileName;
    // The file is read into a table of its own first: a file that cannot be read or is
    // damaged is reported and the list on screen stays as it was.
    TQxMemTable scratch;
    DefineFields(&scratch);
    scratch.Open();
    scratch.LoadFromFile(fileName);

    tblitemcode->EmptyTable();
    tblitemcode->LoadFromDataSet(&scratch);
    tblitemcode->First();
}

void TFrmCodeBar::QxButton1Click(QObject*)
{
    Close();
}

void TFrmCodeBar::FormClose(QObject*, TCloseAction& Action)
{
    Action = caFree;
}
