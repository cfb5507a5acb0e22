// What the application's forms rely on when they use the data grid: a small browser-like form
// with a grid, driven as the forms drive it. One test per promise: the published values, the
// default columns, editing moves, deleting and inserting, the events, the cell style event,
// the drawing order, the title menu's entries, the column look-ups and setters, the layout
// files, the cell button, printing, the chart and the export.
#include <gtest/gtest.h>

#include "GridDlgTestSupport.h"
#include "platform/report/PrintTarget.h"
#include "platform/rtl/Exceptions.h"
#include "platform/ui/Colors.h"
#include "tests/support/Scoped.h"
#include "tests/support/Widgets.h"
#include "tests/usystem/vcl/dbgrid/TitleMenuSupport.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"
#include "usystem/vcl/dbgrid/uQxDBGridEditor.h"
#include "usystem/vcl/dbgrid/uQxSetQueryDate.h"
#include "usystem/vcl/edits/uQxEdits.h"
#include "usystem/vcl/export/uQxDBGridRoutines.h"
#include "usystem/vcl/export/uQxTranOut.h"
#include "usystem/vcl/forms/QxFormKit.h"
#include "usystem/vcl/griddlg/GridDialogs.h"
#include "usystem/vcl/griddlg/uQxDBGDlg.h"
#include "usystem/vcl/griddlg/uQxdbgridChart.h"
#include "usystem/vcl/printgrid/uQxPrintGrid.h"

#include <QFile>
#include <QPainter>
#include <QTemporaryDir>

namespace {

// A work-order list as the browsers hold one: a code, a customer, the day taken in, the
// time promised, a quantity and a price.
std::unique_ptr<TQxMemTable> makeOrders(int rows)
{
    auto t = std::make_unique<TQxMemTable>();
    t->FieldDefs()->Add("BillNo", ftString, 12);
    t->FieldDefs()->Add("Client", ftString, 20);
    t->FieldDefs()->Add("InDate", ftDateTime, 0);
    t->FieldDefs()->Add("Promise", ftTime, 0);
    t->FieldDefs()->Add("Qty", ftInteger, 0);
    t->FieldDefs()->Add("Price", ftFloat, 0);
    t->Open();
    for (int i = 1; i <= rows; ++i) {
        t->Append();
        t->FieldByName("BillNo")->SetAsString(QStringLiteral("WX%1").arg(i, 4, 10, QLatin1Char('0')));
        t->FieldByName("Client")->SetAsString(QStringLiteral("客户%1").arg(i));
        t->FieldByName("InDate")->SetAsDateTime(TDateTime(46000 + i));
        t->FieldByName("Promise")->SetAsDateTime(TDateTime(0.5));
        t->FieldByName("Qty")->SetAsInteger(i);
        t->FieldByName("Price")->SetAsFloat(i * 1.25);
        t->Post();
    }
    t->First();
    return t;
}

// The form: a data source and a grid filling the window, made with the form kit.
struct OrderForm
{
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    std::unique_ptr<TQxMemTable> table;
    TDataSource* source = nullptr;
    TQxDBGrid* grid = nullptr;

    explicit OrderForm(int rows = 5, bool stored = true)
        : table(makeOrders(rows))
    {
        window->setObjectName(QStringLiteral("FrmOrders"));
        source = new TDataSource(window.get());
        source->SetDataSet(table.get());
        grid = qx::kit::dbGrid(window.get(), "DBGrid1", {0, 0, 640, 300}, source);
        if (stored) {
            qx::kit::column(grid, QStringLiteral("BillNo"), QStringLiteral("单号"), 80);
            qx::kit::column(grid, QStringLiteral("Client"), QStringLiteral("客户"), 80);
            qx::kit::column(grid, QStringLiteral("InDate"), QStringLiteral("日期"), 90);
            qx::kit::column(grid, QStringLiteral("Promise"), QStringLiteral("时间"), 60);
            qx::kit::column(grid, QStringLiteral("Qty"), QStringLiteral("数量"), 50);
            qx::kit::column(grid, QStringLiteral("Price"), QStringLiteral("单价"), 60);
        }
        window->resize(640, 300);
        window->show();
        window->activateWindow();
        (void)QTest::qWaitForWindowActive(window.get());
        grid->setFocus();
        QApplication::processEvents();
    }
    ~OrderForm() { window.reset(); }

    QString billNo() const { return table->FieldByName("BillNo")->AsString(); }
    void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QWidget* target = QApplication::focusWidget();
        ASSERT_NE(target, nullptr);
        QTest::keyClick(target, k, mods);
    }
};

// The dialogs the program installs at start-up, for the scope of a test.
struct InstalledGridDialogs
{
    qx::test::ScopedBinding<qx::GridDialogBinding> saved{&qx::gridDialogBinding,
                                                         &qx::setGridDialogBinding, {}};
    InstalledGridDialogs() { InstallGridDialogs(); }
};

} // namespace

TEST(GridContract, ThePublishedValuesFormFilesSet)
{
    OrderForm f;
    for (const char* name : {"DataSource", "Columns", "ReadOnly", "Options", "DefaultRowHeight",
                             "ScrollBars", "FrozenCols", "TitleFont"}) {
        SCOPED_TRACE(name);
        EXPECT_GE(f.grid->metaObject()->indexOfProperty(name), 0);
    }
    EXPECT_TRUE(f.grid->setProperty("ReadOnly", true));
    EXPECT_TRUE(f.grid->ReadOnly());
    EXPECT_TRUE(f.grid->setProperty("DefaultRowHeight", 32));
    EXPECT_EQ(f.grid->DefaultRowHeight(), 32);
    f.grid->SetOptions(f.grid->Options() | dgAllowAdd | dgAllowDelete);
    EXPECT_TRUE(f.grid->Options() & dgAllowAdd);
    EXPECT_EQ(f.grid->GetDataSource(), f.source);
    TQxDBGrid unbound;
    EXPECT_EQ(unbound.GetDataSource(), nullptr);
}

TEST(GridContract, AGridWithoutColumnsShowsEveryField)
{
    OrderForm f(3, false);
    TQxDBGridColumns* cols = f.grid->Columns();
    EXPECT_EQ(cols->State(), csDefault);
    ASSERT_EQ(cols->Count(), 6);
    QStringList fields;
    for (int i = 0; i < cols->Count(); ++i)
        fields << cols->GetColumn(i)->FieldName();
    EXPECT_EQ(fields, (QStringList{"BillNo", "Client", "InDate", "Promise", "Qty", "Price"}));
}

TEST(GridContract, EnterAndTabMoveToTheNextCellThenTheNextRow)
{
    for (Qt::Key k : {Qt::Key_Return, Qt::Key_Tab}) {
        SCOPED_TRACE(int(k));
        OrderForm f(3);
        f.grid->SetSelectedIndex(0);
        for (int i = 0; i < 5; ++i)
            f.key(k);
        EXPECT_EQ(f.grid->SelectedIndex(), 5);
        EXPECT_EQ(f.table->RecNo(), 1);
        f.key(k);
        EXPECT_EQ(f.table->RecNo(), 2);
        EXPECT_EQ(f.grid->SelectedIndex(), 0);
    }
}

TEST(GridContract, DeleteAsksAndRemovesTheRowOrTheSelectedRows)
{
    struct Case
    {
        const char* what;
        bool readOnly;
        bool confirm;
        int answer;     // the question's OK or Cancel; 0: no question expected
        bool selectTwo; // two rows marked with keypad '+'
        int rowsAfter;
        QString question;
    };
    const Case cases[] = {
        {"yes", false, true, qx::mrOk, false, 4, QStringLiteral("您是否确定删除?")},
        {"no", false, true, qx::mrCancel, false, 5, QStringLiteral("您是否确定删除?")},
        {"no question", false, false, 0, false, 4, {}},
        {"read-only grid", true, true, 0, false, 5, {}},
        {"selected rows", false, true, qx::mrOk, true, 3,
         QStringLiteral("您是否确定删除选定的 2 条记录?")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OrderForm f(5);
        auto& script = qx::test::script();
        f.grid->SetReadOnly(c.readOnly);
        if (!c.confirm)
            f.grid->SetOptions(f.grid->Options() & ~TQxDBGridOptions(dgConfirmDelete));
        if (c.selectTwo) {
            f.key(Qt::Key_Plus, Qt::KeypadModifier);
            f.key(Qt::Key_Down);
            f.key(Qt::Key_Plus, Qt::KeypadModifier);
        }
        if (c.answer)
            script.answerMessage(c.answer);
        f.key(Qt::Key_Delete);
        EXPECT_EQ(f.table->RecordCount(), c.rowsAfter);
        if (c.answer) {
            ASSERT_EQ(script.shown().size(), 1);
            EXPECT_EQ(script.shown()[0].text, c.question);
            EXPECT_EQ(script.shown()[0].caption, QStringLiteral("询问"));
        } else {
            EXPECT_TRUE(script.shown().isEmpty());
        }
        EXPECT_EQ(script.unexpected(), 0);
    }
}

TEST(GridContract, InsertAddsARowOnlyWithEditingAndAllowAdd)
{
    struct Case
    {
        bool editing;
        bool allowAdd;
        bool inserts;
    };
    const Case cases[] = {{true, true, true}, {true, false, false}, {false, true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.editing << c.allowAdd);
        OrderForm f(3);
        TQxDBGridOptions o = f.grid->Options() & ~TQxDBGridOptions(dgEditing | dgAllowAdd);
        if (c.editing)
            o |= dgEditing;
        if (c.allowAdd)
            o |= dgAllowAdd;
        f.grid->SetOptions(o);
        f.key(Qt::Key_Insert);
        EXPECT_EQ(f.table->State() == dsInsert, c.inserts);
    }
}

TEST(GridContract, TheEventsFormsBind)
{
    OrderForm f(4);
    QStringList fired;
    f.grid->OnDblClick = [&](QObject*) { fired << "dblclick"; };
    f.grid->OnTitleClick = [&](TQxColumn* c) { fired << "title " + c->FieldName(); };
    f.grid->OnKeyDown = [&](QObject*, int& key, TShiftState) {
        if (key == VK_F5)
            fired << "keydown F5";
    };
    f.grid->OnKeyPress = [&](QObject*, QChar& key) {
        if (key == QLatin1Char('*'))
            fired << "keypress *";
    };
    f.grid->OnColEnter = [&](QObject*) { fired << "colenter"; };
    f.grid->OnColExit = [&](QObject*, bool&, QString&) { fired << "colexit"; };
    f.grid->OnEnter = [&](QObject*) { fired << "enter"; };
    f.key(Qt::Key_F5);
    f.key(Qt::Key_Asterisk);
    f.key(Qt::Key_Right);
    QTest::mouseClick(f.grid->viewport(), Qt::LeftButton, Qt::NoModifier,
                      f.grid->CellRect(f.grid->DataToRawColumn(1), 0).center());
    qx::test::doubleClick(f.grid->viewport(), f.grid->CellRect(2, 2).center());
    QTest::mouseRelease(f.grid->viewport(), Qt::LeftButton, Qt::NoModifier, f.grid->CellRect(2, 2).center());
    EXPECT_TRUE(fired.contains("keydown F5"));
    EXPECT_TRUE(fired.contains("keypress *"));
    EXPECT_TRUE(fired.contains("colexit"));
    EXPECT_TRUE(fired.contains("colenter"));
    EXPECT_TRUE(fired.contains("title Client"));
    EXPECT_TRUE(fired.contains("dblclick"));
    fired.clear();
    QWidget other(f.window.get());
    other.setFocusPolicy(Qt::StrongFocus);
    other.show();
    other.setFocus();
    QApplication::processEvents();
    f.grid->setFocus();
    QApplication::processEvents();
    EXPECT_TRUE(fired.contains("enter"));
}

TEST(GridContract, AStyledCellIsBoldOnTheLightFaceWithTheHandlersTextAndColour)
{
    OrderForm f(4);
    f.grid->OnGetCellTextStyle = [](QObject*, const QString& field, QString& text, TColor& color) {
        if (field == "Client" && text == QStringLiteral("客户2")) {
            text = QStringLiteral("欠款");
            color = clRed;
        }
    };
    f.grid->viewport()->repaint();
    const QImage shot = f.grid->viewport()->grab().toImage();
    const QRect styled = f.grid->CellRect(f.grid->DataToRawColumn(1), 2);
    const QRect plain = f.grid->CellRect(f.grid->DataToRawColumn(1), 3);
    EXPECT_EQ(QColor(shot.pixel(styled.topLeft() + QPoint(1, 1))), toQColor(cl3DLight));
    EXPECT_EQ(QColor(shot.pixel(plain.topLeft() + QPoint(1, 1))), toQColor(clWindow));
    bool red = false;
    for (int y = styled.top(); y <= styled.bottom() && !red; ++y)
        for (int x = styled.left(); x <= styled.right() && !red; ++x)
            red = QColor(shot.pixel(x, y)) == QColor(Qt::red);
    EXPECT_TRUE(red);
}

TEST(GridContract, DrawingOrderStandardThenDataCellThenColumnCell)
{
    for (bool stored : {false, true}) {
        SCOPED_TRACE(stored);
        OrderForm f(2, stored);
        QStringList order;
        f.grid->OnDrawDataCell = [&](QObject*, const QRect&, TField* field, TKyGridDrawState) {
            if (field && field->FieldName() == "BillNo")
                order << "data";
        };
        f.grid->OnDrawColumnCell = [&](QObject*, const QRect& r, int, TQxColumn* c, TKyGridDrawState) {
            if (c->FieldName() == "BillNo") {
                order << "column";
                // The grid's canvas is free to draw on during the event.
                QPainter* p = f.grid->Canvas();
                ASSERT_NE(p, nullptr);
                p->fillRect(r.adjusted(0, 0, -r.width() + 3, 0), Qt::green);
            }
        };
        f.grid->viewport()->repaint();
        ASSERT_FALSE(order.isEmpty());
        if (stored)
            EXPECT_FALSE(order.contains("data"));
        else
            EXPECT_EQ(order.mid(0, 2), (QStringList{"data", "column"}));
        const QImage shot = f.grid->viewport()->grab().toImage();
        const QRect cell = f.grid->CellRect(f.grid->DataToRawColumn(0), 1);
        EXPECT_EQ(QColor(shot.pixel(cell.left() + 1, cell.center().y())), QColor(Qt::green));
    }
}

TEST(GridContract, TheTitleMenuSavesExportsAndCharts)
{
    OrderForm f(3);
    const InstalledGridDialogs dialogs;
    QList<QObject*> saved;
    f.grid->OnSaveTitleClick = [&](QObject* Sender) { saved << Sender; };
    chooseTitleMenuItem(f.grid, QStringLiteral("保存设置"));
    EXPECT_EQ(saved, QList<QObject*>{f.grid});

    // Data output: a file target needs a name.
    auto& script = qx::test::script();
    script.answerDialog([&](QDialog& d) {
        auto* dlg = qobject_cast<TFrmTranOut*>(&d);
        ASSERT_NE(dlg, nullptr);
        EXPECT_EQ(dlg->Grid, f.grid);
        dlg->SetItemIndex(2);
        script.answerMessage(qx::mrOk);
        QTest::mouseClick(dlg->BtnOK, Qt::LeftButton);
        EXPECT_TRUE(dlg->isVisible());
        QTest::mouseClick(dlg->BtnCancel, Qt::LeftButton);
    });
    chooseTitleMenuItem(f.grid, QStringLiteral("数据输出"));
    EXPECT_EQ(script.messages(), QStringList{QStringLiteral("文件名不能为空")});

    // Chart: X holds the visible columns, Y the numeric ones.
    f.grid->Columns()->GetColumn(1)->SetVisible(false);
    script.answerDialog([&](QDialog& d) {
        auto* dlg = qobject_cast<TFrmdbGridChart*>(&d);
        ASSERT_NE(dlg, nullptr);
        EXPECT_EQ(entriesOf(dlg->lbx1X), (QStringList{QStringLiteral("单号"), QStringLiteral("日期"),
                                                       QStringLiteral("时间"), QStringLiteral("数量"),
                                                       QStringLiteral("单价")}));
        EXPECT_EQ(entriesOf(dlg->lbx1Y), (QStringList{QStringLiteral("数量"), QStringLiteral("单价")}));
        dlg->close();
    });
    chooseTitleMenuItem(f.grid, QStringLiteral("数据图表"));
    EXPECT_EQ(script.unexpected(), 0);
    EXPECT_EQ(script.pending(), 0);
}

TEST(GridContract, TheSettingsDialogSetsVisibleColumnsAndTabStops)
{
    OrderForm f(3);
    const InstalledGridDialogs dialogs;
    qx::test::script().answerDialog([](QDialog& d) {
        auto* dlg = qobject_cast<TFrmDBGridDlg*>(&d);
        ASSERT_NE(dlg, nullptr);
        clickCheck(dlg->LbxColumns, 3); // hide 时间
        clickCheck(dlg->LbxTabStop, 4); // stop only on 数量
        QTest::mouseClick(dlg->BtnOk, Qt::LeftButton);
    });
    chooseTitleMenuItem(f.grid, QStringLiteral("输入及显示控制"));
    TQxDBGridColumns* cols = f.grid->Columns();
    EXPECT_FALSE(cols->GetColumn(3)->Visible());
    EXPECT_TRUE(cols->GetColumn(4)->TabStop());
    EXPECT_FALSE(cols->GetColumn(0)->TabStop());
    f.grid->SetSelectedIndex(4);
    f.key(Qt::Key_Tab);
    EXPECT_EQ(f.grid->SelectedIndex(), 4);
    EXPECT_EQ(f.table->RecNo(), 2);
}

TEST(GridContract, SelectedFieldAndSelectedIndex)
{
    OrderForm f(3);
    f.table->SetRecNo(2);
    f.grid->SetSelectedIndex(2);
    EXPECT_EQ(f.grid->GetSelectedField(), f.table->FieldByName("InDate"));
    EXPECT_EQ(f.table->RecNo(), 2);
    f.grid->SetSelectedIndex(0);
    EXPECT_EQ(f.grid->GetSelectedField(), f.table->FieldByName("BillNo"));
    EXPECT_EQ(f.table->RecNo(), 2);
}

TEST(GridContract, TheCellButtonOpensTheDateDialogOrThePicker)
{
    struct Case
    {
        const char* field;
        bool readOnly;
        bool handler;
        const char* expected; // "date", "pick", "handler" or "" (nothing)
    };
    const Case cases[] = {
        {"InDate", false, false, "date"},  {"Promise", false, false, "pick"},
        {"Client", false, false, "pick"},  {"InDate", true, false, ""},
        {"Client", false, true, "handler"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.field << c.readOnly << c.handler);
        OrderForm f(2);
        auto& script = qx::test::script();
        QStringList done;
        qx::EditLookupBinding picks;
        picks.pickFieldValue = [&](QWidget* control) {
            EXPECT_EQ(control, f.grid);
            done << "pick";
        };
        const qx::test::ScopedBinding<qx::EditLookupBinding> binding(
            &qx::editLookupBinding, &qx::setEditLookupBinding, picks);
        if (c.handler)
            f.grid->OnEditButtonClick = [&](QObject*) { done << "handler"; };
        f.grid->SetReadOnly(c.readOnly);
        f.grid->SetSelectedIndex(ColumnByFieldName(f.grid, QString::fromLatin1(c.field))->index());
        if (QString::fromLatin1(c.expected) == "date") {
            script.answerDialog([&](QDialog& d) {
                EXPECT_NE(qobject_cast<TFrmSetQueryDate*>(&d), nullptr);
                done << "date";
                d.reject();
            });
        }
        f.grid->EditButtonClick();
        EXPECT_EQ(done.join(','), QString::fromLatin1(c.expected));
        EXPECT_EQ(script.unexpected(), 0);
    }
}

TEST(GridContract, ColumnsLookUpsAndSetters)
{
    OrderForm f(3);
    TQxDBGridColumns* cols = f.grid->Columns();
    TQxColumn* price = ColumnByFieldName(f.grid, QStringLiteral("price"));
    ASSERT_NE(price, nullptr);
    EXPECT_EQ(price, cols->GetColumn(5));
    EXPECT_EQ(ColumnByFieldName(f.grid, QStringLiteral("Nothing")), nullptr);
    EXPECT_EQ(ColumnByCaption(f.grid, QStringLiteral("单价")), price);
    EXPECT_THROW(cols->GetColumn(6), EListError);
    EXPECT_THROW(cols->GetColumn(-1), EListError);

    // The field is found by name and kept; its Tag holds a browser's sort direction.
    TField* field = price->GetField();
    EXPECT_EQ(field, f.table->FieldByName("Price"));
    field->SetTag(1);
    EXPECT_EQ(price->GetField()->Tag(), 1);
    TQxColumn* lost = cols->Add();
    lost->SetFieldName(QStringLiteral("Gone"));
    EXPECT_EQ(lost->GetField(), nullptr);

    // The published values, as the forms set them.
    price->Title()->SetCaption(QStringLiteral("售价"));
    price->Title()->SetAlignment(taRightJustify);
    price->Title()->SetColor(clYellow);
    price->SetWidth(77);
    price->SetReadOnly(true);
    price->SetColor(clInfoBk);
    price->SetButtonStyle(cbsEllipsis);
    EXPECT_EQ(price->Title()->Caption(), QStringLiteral("售价"));
    EXPECT_EQ(price->Title()->Alignment(), taRightJustify);
    EXPECT_EQ(price->Title()->Color(), clYellow);
    EXPECT_EQ(price->Width(), 77);
    EXPECT_TRUE(price->ReadOnly());
    EXPECT_EQ(price->Color(), clInfoBk);

    // A pick list filled in place is offered when the cell is edited.
    TQxColumn* client = cols->GetColumn(1);
    EXPECT_FALSE(client->HasPickList());
    client->GetPickList()->append(QStringLiteral("张三"));
    client->GetPickList()->append(QStringLiteral("李四"));
    EXPECT_EQ(client->PickList(), (QStringList{QStringLiteral("张三"), QStringLiteral("李四")}));

    // Hiding a column lays the grid out again.
    const int before = f.grid->VisibleColumns().size();
    client->SetVisible(false);
    EXPECT_EQ(f.grid->VisibleColumns().size(), before - 1);
    client->SetFieldName(QStringLiteral("Qty"));
    EXPECT_EQ(client->GetField(), f.table->FieldByName("Qty"));
}

TEST(GridContract, LayoutFilesKeepTheColumns)
{
    QTemporaryDir dir;
    // The callers name the file: program folder + title + grid name + ".dbg".
    const QString file = dir.filePath(QStringLiteral("工单浏览DBGrid1.dbg"));
    {
        OrderForm f(2);
        f.grid->Columns()->GetColumn(1)->SetVisible(false);
        f.grid->Columns()->GetColumn(4)->SetWidth(120);
        f.grid->Columns()->GetColumn(4)->SetTabStop(false);
        f.grid->Columns()->SaveToFile(file);
    }
    OrderForm g(2, false);
    ASSERT_TRUE(QFile::exists(file));
    g.grid->Columns()->LoadFromFile(file);
    TQxDBGridColumns* cols = g.grid->Columns();
    ASSERT_EQ(cols->Count(), 6);
    EXPECT_EQ(cols->State(), csCustomized);
    EXPECT_FALSE(cols->GetColumn(1)->Visible());
    EXPECT_EQ(cols->GetColumn(4)->Width(), 120);
    EXPECT_FALSE(cols->GetColumn(4)->TabStop());
    EXPECT_EQ(cols->GetColumn(2)->Title()->Caption(), QStringLiteral("日期"));
}

TEST(GridContract, PrintGridForwardsTheTitlesToTheGridPrinter)
{
    OrderForm f(2);
    struct Recorded
    {
        QStringList calls;
    } rec;
    class Job : public QxGridPrintJob
    {
    public:
        explicit Job(Recorded& r) : m(r) {}
        void SetPageTitle1(const QString& v) override { m.calls << "title1 " + v; }
        void SetPageTitle2(const QString& v) override { m.calls << "title2 " + v; }
        void SetPageFootExpr(const QString& v) override { m.calls << "foot " + v; }
        void SetDBGrid(TQxDBGrid* g) override { m.calls << "grid " + g->objectName(); }
        void Print(bool preview) override { m.calls << QStringLiteral("print %1").arg(preview); }

    private:
        Recorded& m;
    };
    const qx::test::ScopedBinding<QxGridPrintJobFactory> printer(
        &gridPrintJobFactory, &setGridPrintJobFactory,
        [&rec] { return std::unique_ptr<QxGridPrintJob>(new Job(rec)); });
    PrintGrid(f.grid, f.grid, QStringLiteral("销售单"), QString(), QString(), true);
    EXPECT_EQ(rec.calls, (QStringList{"title1 销售单", "title2 ", "foot ", "grid DBGrid1", "print 1"}));
}

TEST(GridContract, PrintGridPrintsThroughTheInstalledGridPrinter)
{
    // The print button of a form: the grid printer installed at start-up prints the grid's
    // rows; here to a PDF file, the progress window closing by itself when the pages are out.
    OrderForm f(2);
    ASSERT_TRUE(gridPrintJobFactory());
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("order.pdf"));
    const qx::report::ScopedPdfPrinting toPdf(pdf);
    qx::test::script().answerDialog([](QDialog& d) {
        for (int waited = 0; d.isVisible() && waited < 20000; waited += 10)
            QTest::qWait(10);
    });
    PrintGrid(f.grid, f.grid, QStringLiteral("销售单"), QString(), QString(), false);
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF")) << bytes.left(20).constData();
    EXPECT_GT(bytes.size(), 1000);
}

TEST(GridContract, PrintGridWithoutAGridPrinterReportsTheMissingBinding)
{
    OrderForm f(2);
    const qx::test::ScopedBinding<QxGridPrintJobFactory> none(&gridPrintJobFactory,
                                                              &setGridPrintJobFactory, {});
    const qx::test::ScopedMissingBindings missing;
    PrintGrid(f.grid, f.grid, QStringLiteral("销售单"), QString(), QString(), true);
    EXPECT_EQ(missing.reported(), QStringList{QStringLiteral("GridPrintJobFactory")});
}

TEST(GridContract, TheGridPrinterComponentTakesTitlesFootAndGrid)
{
    OrderForm f(2);
    // Made without an owner, as the one-call print does.
    TQxPrintGrid printer;
    printer.SetPageTitle1(QStringLiteral("工单列表"));
    printer.SetPageTitle2(QStringLiteral("本月"));
    // Each line is a report expression: a plain text is a quoted string.
    printer.SetPageFootExpr({QStringLiteral("'第 '+PAGENUM+' 页'")});
    printer.SetDBGrid(f.grid);
    EXPECT_EQ(printer.parent(), nullptr);
    EXPECT_EQ(printer.PageTitle1(), QStringLiteral("工单列表"));
    EXPECT_EQ(printer.PageTitle2(), QStringLiteral("本月"));
    EXPECT_EQ(printer.PageFootExpr(), QStringList{QStringLiteral("'第 '+PAGENUM+' 页'")});
    EXPECT_EQ(printer.DBGrid(), f.grid);
    EXPECT_EQ(printer.PrintedDataSet(), f.table.get());
}

TEST(GridContract, AnEllipsisColumnShowsTheButtonAndAPickListDropsDown)
{
    OrderForm f(3);
    TQxDBGridColumns* cols = f.grid->Columns();
    cols->GetColumn(4)->SetButtonStyle(cbsEllipsis);
    cols->GetColumn(1)->GetPickList()->append({QStringLiteral("张三"), QStringLiteral("李四")});
    int clicks = 0;
    f.grid->OnEditButtonClick = [&](QObject*) { ++clicks; };

    f.grid->SetSelectedIndex(4);
    f.key(Qt::Key_F2);
    TQxDBGridInplaceEdit* editor = f.grid->CellEditor();
    ASSERT_TRUE(editor && editor->isVisible());
    EXPECT_EQ(editor->EditStyle(), TQxDBGridInplaceEdit::esEllipsis);
    QTest::mouseClick(editor, Qt::LeftButton, Qt::NoModifier, editor->ButtonRect().center());
    EXPECT_EQ(clicks, 1);

    f.key(Qt::Key_Escape);
    f.grid->SetSelectedIndex(1);
    f.key(Qt::Key_F2);
    ASSERT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->EditStyle(), TQxDBGridInplaceEdit::esPickList);
    f.key(Qt::Key_Down);
    ASSERT_TRUE(editor->ListVisible());
    f.key(Qt::Key_Down);
    f.key(Qt::Key_Return);
    f.key(Qt::Key_Return);
    EXPECT_EQ(f.table->RecNo(), 1);
    EXPECT_EQ(f.table->FieldByName("Client")->AsString(), QStringLiteral("李四"));
}
