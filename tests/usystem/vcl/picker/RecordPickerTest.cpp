// The record picker over a stored document structure: its conditions page, its find page,
// what it writes back on confirmation (and not on cancel), the conditions typed by users
// bound as values, and its window placement.
#include "PickerTestSupport.h"

#include "platform/db/DataSource.h"
#include "platform/db/Fields.h"
#include "platform/ini/IniFile.h"
#include "usystem/vcl/ado/uQxADODB.h"
#include "usystem/vcl/controls/uQxButtons.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"
#include "usystem/vcl/edits/uQxEdits.h"
#include "usystem/vcl/foundation/uQxFuncs.h"
#include "usystem/vcl/picker/uQxIME.h"
#include "usystem/vcl/rctstr/uQxRctStr.h"
#include "usystem/vcl/picker/uQxSelect.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"

#include <QAction>
#include <QStackedWidget>
#include <QTest>

namespace {

struct Condition
{
    const char* field;
    const char* caption;
    const char* op;
    const char* type;
    const char* input = "";
};

class RecordPicker : public LibraryDataTest
{
protected:
    void SetUp() override
    {
        LibraryDataTest::SetUp();
        exec("CREATE TABLE tRctStr (RctCode TEXT(20) COLLATE NOCASE PRIMARY KEY, RctName TEXT(40),"
             " Description TEXT(80), RctData BLOB);"
             "CREATE TABLE tMaterial (ItemCode TEXT(20) COLLATE NOCASE, ItemName TEXT(40) COLLATE NOCASE,"
             " Model TEXT(20) COLLATE NOCASE, Price MONEY, Stop YESNO, PY TEXT(20) COLLATE NOCASE,"
             " InDate DATETIME);"
             "INSERT INTO tMaterial VALUES"
             " ('A01', '屏幕', 'X1', 120, 0, 'PM', '2026-01-04'),"
             " ('A02', '排线', 'X1', 15.5, -1, 'PX', '2026-01-05'),"
             " ('B01', 'O''Neil 电池', 'Y2', 80, 1, 'ONDC', '2026-01-05 10:30:00'),"
             " ('B02', '50%电阻', 'Y2', 2, 0, 'DZ', '2026-01-06'),"
             " ('B03', '500电阻', 'Y2', 3, 0, 'DZ', NULL);");
        storeStructure("BMaterial", {{"ItemName", "名称", "包含于", "Varchar"},
                                     {"Price", "单价", "大于", "Money"},
                                     {"Stop", "停用", "等于", "Boolean"},
                                     {"ItemCode", "编号", "前几位字符为", "Varchar"}});
        storeStructure("BPlain", {});
    }

    // A structure over tMaterial stored under code, with these search conditions.
    void storeStructure(const char* code, std::initializer_list<Condition> conditions)
    {
        dm->conSystem->Execute(QStringLiteral("insert into tRctStr (RctCode, RctName) values (:c, :c)"),
                               {{QStringLiteral("c"), QString::fromLatin1(code)}});
        TQxRctStr s;
        s.SetSQLMstSQL(QStringLiteral("Select ItemCode, ItemName, Model, Price, Stop, PY from tMaterial"));
        s.SetMstTableName(QStringLiteral("tMaterial"));
        const struct { const char* name; const char* caption; } defs[] = {
            {"ItemCode", "编号"}, {"ItemName", "名称"}, {"Model", "车型"}, {"Price", "单价"},
            {"Stop", "停用"}, {"PY", "拼音"}};
        for (const auto& d : defs) {
            TMstSection* m = s.MstSections()->Add();
            m->SetFieldName(QString::fromLatin1(d.name));
            m->SetCFieldName(QString::fromUtf8(d.caption));
            m->SetVisible(true);
        }
        for (const Condition& c : conditions) {
            TFindsection* f = s.FindSections()->Add();
            f->SetFieldName(QString::fromLatin1(c.field));
            f->SetCFieldName(QString::fromUtf8(c.caption));
            f->SetTableName(QStringLiteral("tMaterial"));
            f->SetOperateChar(QString::fromUtf8(c.op));
            f->SetFieldType(QString::fromLatin1(c.type));
            f->SetInPutType(QString::fromLatin1(c.input));
        }
        s.SaveByCode(QString::fromLatin1(code));
    }

    static TFrmSelect& picker(QDialog& d)
    {
        auto* f = qobject_cast<TFrmSelect*>(&d);
        EXPECT_NE(f, nullptr);
        return *f;
    }
    // Fills in the value of the condition on field.
    static void fill(TFrmSelect& f, const char* field, const QString& value)
    {
        TQxRctStr* c = f.MMTCondition;
        ASSERT_TRUE(c->Locate(QStringLiteral("FieldName"), QString::fromLatin1(field)));
        c->Edit();
        c->FieldByName(QStringLiteral("FieldValue"))->SetAsString(value);
        c->Post();
    }
    static QStringList codes(TFrmSelect& f)
    {
        QStringList out;
        TDataSet* q = f.TblSelect;
        if (!q->Active())
            return out;
        q->ForEachRecord([&] {
            out << q->FieldByName(QStringLiteral("ItemCode"))->AsString();
            return true;
        });
        return out;
    }
    static void click(TQxButton* b) { QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, 5)); }
};

TEST_F(RecordPicker, ConditionsThenFindThenEnterHandsBackTheResultField)
{
    QStringList found;
    scripted->answerDialog([&](QDialog& d) {
        TFrmSelect& f = picker(d);
        EXPECT_EQ(f.windowTitle(), QStringLiteral("请选择资料"));
        EXPECT_EQ(f.Notebook->currentWidget(), f.PageCondition);
        EXPECT_FALSE(f.BtnPre->isHidden());
        EXPECT_EQ(f.MMTCondition->RecordCount(), 4);
        fill(f, "ItemCode", QStringLiteral("b"));
        click(f.BtnNext);
        EXPECT_EQ(f.Notebook->currentWidget(), f.PageFind);
        found = codes(f);
        // The find box searches the first text column until another is chosen.
        QTest::keyClicks(f.EdtFind, "b02");
        EXPECT_EQ(f.TblSelect->FieldByName(QStringLiteral("ItemCode"))->AsString(), QStringLiteral("B02"));
        EXPECT_EQ(f.PnlHot->Caption(), QStringLiteral("[B02]"));
        f.DBGrid->setFocus();
        QTest::keyClick(f.DBGrid, Qt::Key_Return);
    });
    QString value = QStringLiteral("before");
    EXPECT_TRUE(SelectValueByStructure(QStringLiteral("ItemName"), QStringLiteral("BMaterial"), value));
    EXPECT_EQ(found, (QStringList{"B01", "B02", "B03"}));
    EXPECT_EQ(value, QStringLiteral("50%电阻"));
    EXPECT_EQ(scripted->unexpected(), 0);
}

TEST_F(RecordPicker, CancelledPickerLeavesTheValue)
{
    // Esc on the conditions, the exit button on the records, Esc on the records.
    for (int way = 0; way < 3; ++way) {
        scripted->clear();
        scripted->answerDialog([&](QDialog& d) {
            TFrmSelect& f = picker(d);
            if (way == 0) {
                QTest::keyClick(f.dbgCondition, Qt::Key_Escape);
                return;
            }
            click(f.BtnNext);
            if (way == 1)
                click(f.BtnClose);
            else
                QTest::keyClick(f.EdtFind, Qt::Key_Escape);
        });
        QString value = QStringLiteral("before");
        EXPECT_FALSE(SelectValueByStructure(QStringLiteral("ItemCode"), QStringLiteral("BMaterial"), value)) << way;
        EXPECT_EQ(value, QStringLiteral("before")) << way;
        flushDeletes();
    }
}

TEST_F(RecordPicker, TypedConditionValuesAreBoundAndMatchedLiterally)
{
    const struct { const char* field; const char* value; QStringList expected; } cases[] = {
        {"ItemName", "O'Neil", {"B01"}},           // a quote is part of the value
        {"ItemName", "50%", {"B02"}},              // '%' is a character, not a wildcard
        {"ItemName", "_", {}},
        {"ItemCode", "a", {"A01", "A02"}},
        {"ItemCode", "' or 1=1 --", {}},
        {"Price", " 50 ", {"A01", "B01"}},
        {"Price", "15.5", {"A01", "B01"}},
        {"Price", "-1", {"A01", "A02", "B01", "B02", "B03"}},
    };
    for (const auto& c : cases) {
        scripted->clear();
        QStringList found;
        scripted->answerDialog([&](QDialog& d) {
            TFrmSelect& f = picker(d);
            fill(f, c.field, QString::fromUtf8(c.value));
            click(f.BtnNext);
            found = codes(f);
            click(f.BtnClose);
        });
        QString value;
        SelectValueByStructure(QStringLiteral("ItemCode"), QStringLiteral("BMaterial"), value);
        flushDeletes();
        EXPECT_EQ(found, c.expected) << c.value;
        EXPECT_TRUE(scripted->messages().isEmpty()) << c.value;
    }
}

TEST_F(RecordPicker, ANonNumericValueOfANumericConditionIsRefusedWithAMessage)
{
    bool stayed = false;
    scripted->answerDialog([&](QDialog& d) {
        TFrmSelect& f = picker(d);
        fill(f, "Price", QStringLiteral("10 or 1=1"));
        scripted->answerMessage(qx::mrOk);
        click(f.BtnNext);
        stayed = f.Notebook->currentWidget() == f.PageCondition && !f.TblSelect->Active();
        click(f.BtnClose);
    });
    QString value;
    EXPECT_FALSE(SelectValueByStructure(QStringLiteral("ItemCode"), QStringLiteral("BMaterial"), value));
    EXPECT_TRUE(stayed);
    ASSERT_EQ(scripted->messages().size(), 1);
    EXPECT_TRUE(scripted->messages()[0].contains(QStringLiteral("您输入的数字不合法"))) << scripted->messages()[0].toStdString();
    EXPECT_TRUE(scripted->messages()[0].contains(QStringLiteral("单价")));
}

TEST_F(RecordPicker, BooleanConditionsCompareAgainstZero)
{
    // A Yes/No column may hold true as -1 (rows moved over from Access) or 1.
    const struct { const char* value; QStringList expected; } cases[] = {
        {"是", {"A02", "B01"}},
        {"否", {"A01", "B02", "B03"}},
    };
    for (const auto& c : cases) {
        scripted->clear();
        QStringList found;
        scripted->answerDialog([&](QDialog& d) {
            TFrmSelect& f = picker(d);
            fill(f, "Stop", QString::fromUtf8(c.value));
            QVariantMap params;
            const QString where = f.BuildWhere(params);
            EXPECT_TRUE(where.endsWith(QString::fromUtf8(c.value) == QStringLiteral("是") ? "<>0" : "=0"))
                << where.toStdString();
            click(f.BtnNext);
            found = codes(f);
            click(f.BtnClose);
        });
        QString value;
        SelectValueByStructure(QStringLiteral("ItemCode"), QStringLiteral("BMaterial"), value);
        flushDeletes();
        EXPECT_EQ(found, c.expected) << c.value;
    }
}

TEST_F(RecordPicker, DateConditionsCompareDatesAsTheSystemReadsThem)
{
    // Stored dates are 'YYYY-MM-DD' or 'YYYY-MM-DD HH:MM:SS'; a typed date is read like any
    // date the system reads and compared in that stored form.
    const struct { const char* op; const char* value; QStringList expected; } cases[] = {
        {"大于等于", "2026-1-5", {"A02", "B01", "B02"}},
        {"大于等于", "2026-01-05", {"A02", "B01", "B02"}},
        {"大于等于", " 2026-1-5 ", {"A02", "B01", "B02"}},
        {"等于", "2026-1-5", {"A02"}},
        {"等于", "2026-1-5 10:30", {"B01"}},
        {"小于", "2026-1-5", {"A01"}},
        {"小于等于", "2026-1-5", {"A01", "A02"}},
        {"大于", "2026-1-5 10:30", {"B02"}},
        {"不等于", "2026-1-6", {"A01", "A02", "B01"}},
    };
    int n = 0;
    for (const auto& c : cases) {
        const QByteArray code = "BDate" + QByteArray::number(n++);
        storeStructure(code.constData(), {{"InDate", "入库日期", c.op, "Datetime"}});
        scripted->clear();
        QStringList found;
        scripted->answerDialog([&](QDialog& d) {
            TFrmSelect& f = picker(d);
            fill(f, "InDate", QString::fromUtf8(c.value));
            click(f.BtnNext);
            found = codes(f);
            click(f.BtnClose);
        });
        QString value;
        SelectValueByStructure(QStringLiteral("ItemCode"), QString::fromLatin1(code), value);
        flushDeletes();
        EXPECT_EQ(found, c.expected) << c.op << " " << c.value;
        EXPECT_TRUE(scripted->messages().isEmpty()) << c.value;
    }
}

TEST_F(RecordPicker, ATypedDateThatIsNoDateIsRefusedWithAMessage)
{
    storeStructure("BDate", {{"InDate", "入库日期", "大于等于", "Datetime"}});
    for (const char* typed : {"2026-13-01", "10:30", "昨天", "2026-1-5 25:00"}) {
        scripted->clear();
        bool stayed = false;
        scripted->answerDialog([&](QDialog& d) {
            TFrmSelect& f = picker(d);
            fill(f, "InDate", QString::fromUtf8(typed));
            scripted->answerMessage(qx::mrOk);
            click(f.BtnNext);
            stayed = f.Notebook->currentWidget() == f.PageCondition && !f.TblSelect->Active();
            click(f.BtnClose);
        });
        QString value;
        EXPECT_FALSE(SelectValueByStructure(QStringLiteral("ItemCode"), QStringLiteral("BDate"), value));
        flushDeletes();
        EXPECT_TRUE(stayed) << typed;
        ASSERT_EQ(scripted->messages().size(), 1) << typed;
        EXPECT_TRUE(scripted->messages()[0].contains(QStringLiteral("入库日期: 您输入的日期不合法")))
            << scripted->messages()[0].toStdString();
    }
}

TEST_F(RecordPicker, ConditionsAreJoinedWithAndInRowOrder)
{
    scripted->answerDialog([&](QDialog& d) {
        TFrmSelect& f = picker(d);
        fill(f, "ItemName", QStringLiteral("电"));
        fill(f, "Price", QStringLiteral("2"));
        QVariantMap params;
        EXPECT_EQ(f.BuildWhere(params),
                  QStringLiteral(" tMaterial.ItemName like :w0 escape '\\' and tMaterial.Price >:w1"));
        EXPECT_EQ(params.value(QStringLiteral("w0")).toString(), QStringLiteral("%电%"));
        EXPECT_EQ(params.value(QStringLiteral("w1")).toLongLong(), 2);
        click(f.BtnNext);
        EXPECT_EQ(codes(f), (QStringList{"B01", "B03"}));
        click(f.BtnClose);
    });
    QString value;
    SelectValueByStructure(QStringLiteral("ItemCode"), QStringLiteral("BMaterial"), value);
}

TEST_F(RecordPicker, AStructureWithoutConditionsOpensStraightOnTheRecords)
{
    scripted->answerDialog([&](QDialog& d) {
        TFrmSelect& f = picker(d);
        EXPECT_EQ(f.Notebook->currentWidget(), f.PageFind);
        EXPECT_TRUE(f.BtnPre->isHidden());
        EXPECT_EQ(codes(f).size(), 5);
        // F12 has no conditions to go back to.
        QTest::keyClick(f.EdtFind, Qt::Key_F12);
        EXPECT_EQ(f.Notebook->currentWidget(), f.PageFind);
        click(f.BtnOk);
    });
    QString value;
    EXPECT_TRUE(SelectValueByStructure(QStringLiteral("ItemCode"), QStringLiteral("BPlain"), value));
    EXPECT_EQ(value, QStringLiteral("A01"));
}

TEST_F(RecordPicker, FindBoxFindsByPrefixAndShowsAMissInBlue)
{
    scripted->answerDialog([&](QDialog& d) {
        TFrmSelect& f = picker(d);
        // The find menu lists the text columns by title.
        QStringList titles;
        for (QAction* a : f.Menu->actions())
            titles << a->text();
        EXPECT_EQ(titles, (QStringList{"编号", "名称", "车型", "拼音"}));
        f.Menu->actions()[1]->trigger();
        EXPECT_EQ(f.LblTip->Caption(), QStringLiteral("名称输入:"));
        EXPECT_EQ(f.FindField()->FieldName(), QStringLiteral("ItemName"));
        // Sorted by the chosen column.
        EXPECT_EQ(codes(f).first(), QStringLiteral("B02"));

        QTest::keyClicks(f.EdtFind, "o'n");
        EXPECT_EQ(f.EdtFind->maxLength(), 40); // the size of the find field
        EXPECT_EQ(f.TblSelect->FieldByName(QStringLiteral("ItemCode"))->AsString(), QStringLiteral("B01"));
        EXPECT_EQ(f.EdtFind->palette().color(QPalette::Text), QColor(Qt::black));
        EXPECT_EQ(f.PnlHot->Caption(), QStringLiteral("[O'Neil 电池]"));
        QTest::keyClicks(f.EdtFind, "x");
        EXPECT_EQ(f.EdtFind->palette().color(QPalette::Text), QColor(Qt::blue));
        EXPECT_TRUE(f.PnlHot->Caption().isEmpty());
        f.EdtFind->setText(QString());
        EXPECT_EQ(f.TblSelect->RecNo(), 1);
        // F6 moves on to wubi; standard mode takes the first menu item again.
        dm->InputCodeMode = icmWubiStrokes;
        QTest::keyClick(f.EdtFind, Qt::Key_F6);
        EXPECT_EQ(f.FindField()->FieldName(), QStringLiteral("ItemCode"));
        dm->InputCodeMode = icmStandard;
        QTest::keyClick(f.EdtFind, Qt::Key_F6);
        EXPECT_EQ(f.FindField()->FieldName(), QStringLiteral("PY"));
        EXPECT_EQ(f.LblTip->Caption(), QStringLiteral("拼音输入:"));
        QTest::keyClick(f.EdtFind, Qt::Key_Escape);
    });
    QString value;
    SelectValueByStructure(QStringLiteral("ItemCode"), QStringLiteral("BPlain"), value);
    EXPECT_EQ(scripted->unexpected(), 0);
}

TEST_F(RecordPicker, F12GoesBackToTheConditionsAndRunsThemAgain)
{
    scripted->answerDialog([&](QDialog& d) {
        TFrmSelect& f = picker(d);
        QTest::keyClick(f.dbgCondition, Qt::Key_F12);
        EXPECT_EQ(f.Notebook->currentWidget(), f.PageFind);
        EXPECT_EQ(codes(f).size(), 5);
        QTest::keyClick(f.EdtFind, Qt::Key_F12);
        EXPECT_EQ(f.Notebook->currentWidget(), f.PageCondition);
        fill(f, "ItemCode", QStringLiteral("A"));
        QTest::keyClick(f.dbgCondition, Qt::Key_F12);
        EXPECT_EQ(codes(f), (QStringList{"A01", "A02"}));
        click(f.BtnPre);
        EXPECT_EQ(f.Notebook->currentWidget(), f.PageCondition);
        QTest::keyClick(f.dbgCondition, Qt::Key_Escape);
    });
    QString value;
    SelectValueByStructure(QStringLiteral("ItemCode"), QStringLiteral("BMaterial"), value);
    EXPECT_EQ(scripted->unexpected(), 0);
}

TEST_F(RecordPicker, ListedCodesGetARowLimitOfAtLeastThirty)
{
    for (int i = 0; i < 40; ++i)
        dm->conBusiness->Execute(QStringLiteral("insert into tMaterial (ItemCode, ItemName) values (:c, 'x')"),
                                 {{QStringLiteral("c"), QStringLiteral("Z%1").arg(i, 2, 10, QLatin1Char('0'))}});
    dm->RowLimitCodes = QStringList{QStringLiteral("bplain")};
    const struct { int limit; int expected; } cases[] = {{30, 30}, {35, 35}, {10, 45}};
    for (const auto& c : cases) {
        dm->RowLimit = c.limit;
        int rows = -1;
        scripted->clear();
        scripted->answerDialog([&](QDialog& d) {
            rows = picker(d).TblSelect->RecordCount();
            picker(d).Close();
        });
        QString value;
        SelectValueByStructure(QStringLiteral("ItemCode"), QStringLiteral("BPlain"), value);
        flushDeletes();
        EXPECT_EQ(rows, c.expected) << c.limit;
    }
}

TEST_F(RecordPicker, WindowPlacementIsSavedAndReadPerCode)
{
    const QString ini = ExeFolderPath(QStringLiteral("ConnectSQL.ini"));
    EXPECT_TRUE(ini.startsWith(dir.path()));
    {
        TFrmSelect f(QStringLiteral("BPlain"));
        f.setVisible(true);
        f.SetLeft(40);
        f.SetTop(50);
        f.SetWidth(700);
        f.SetHeight(420);
        click(f.BtnSave);
        f.setVisible(false);
    }
    TIniFile file(ini);
    EXPECT_EQ(file.ReadString(QStringLiteral("选择窗口BPlain"), QStringLiteral("Top"), QString()), QStringLiteral("50"));
    EXPECT_EQ(file.ReadString(QStringLiteral("选择窗口BPlain"), QStringLiteral("left"), QString()), QStringLiteral("40"));
    EXPECT_EQ(file.ReadString(QStringLiteral("选择窗口BPlain"), QStringLiteral("Width"), QString()), QStringLiteral("700"));
    EXPECT_EQ(file.ReadString(QStringLiteral("选择窗口BPlain"), QStringLiteral("Height"), QString()), QStringLiteral("420"));

    TFrmSelect placed(QStringLiteral("BPlain"));
    placed.PlaceWindow();
    EXPECT_EQ(QRect(placed.Left(), placed.Top(), placed.Width(), placed.Height()), QRect(40, 50, 700, 420));

    // Values that are missing, zero or not numbers keep the designed placement.
    file.WriteString(QStringLiteral("选择窗口BMaterial"), QStringLiteral("Width"), QStringLiteral("0"));
    file.WriteString(QStringLiteral("选择窗口BMaterial"), QStringLiteral("Height"), QStringLiteral("abc"));
    file.WriteString(QStringLiteral("选择窗口BMaterial"), QStringLiteral("Left"), QStringLiteral("12 # note"));
    TFrmSelect other(QStringLiteral("BMaterial"));
    const int top = other.Top();
    other.PlaceWindow();
    EXPECT_EQ(QSize(other.Width(), other.Height()), QSize(651, 406));
    EXPECT_EQ(other.Left(), 12);
    EXPECT_EQ(other.Top(), top);
}

TEST_F(RecordPicker, WithoutALibraryDataModuleNothingOpens)
{
    dm.reset();
    QString value = QStringLiteral("keep");
    EXPECT_FALSE(SelectValueByStructure(QStringLiteral("ItemCode"), QStringLiteral("BPlain"), value));
    EXPECT_EQ(value, QStringLiteral("keep"));
    EXPECT_TRUE(scripted->shown().isEmpty());
}

TEST_F(RecordPicker, TheValueButtonOfAConditionOpensTheConditionsOwnPicker)
{
    storeStructure("BCond", {{"ItemCode", "编号", "等于", "Varchar", "BPlain"}});
    QStringList found;
    scripted->answerDialog([&](QDialog& d) {
        TFrmSelect& f = picker(d);
        scripted->answerDialog([&](QDialog& nested) {
            TFrmSelect& n = picker(nested);
            EXPECT_EQ(n.Code(), QStringLiteral("BPlain"));
            n.TblSelect->Last();
            click(n.BtnOk);
        });
        f.dbgConditionEditButtonClick(f.dbgCondition);
        EXPECT_EQ(f.MMTCondition->FieldByName(QStringLiteral("FieldValue"))->AsString(), QStringLiteral("B03"));
        click(f.BtnNext);
        found = codes(f);
        click(f.BtnClose);
    });
    QString value;
    SelectValueByStructure(QStringLiteral("ItemCode"), QStringLiteral("BCond"), value);
    EXPECT_EQ(found, QStringList{"B03"});
    EXPECT_EQ(scripted->unexpected(), 0);
}

} // namespace

namespace {

TEST_F(RecordPicker, EnterInTheValueOfTheLastConditionRunsTheQuery)
{
    scripted->answerDialog([&](QDialog& d) {
        TFrmSelect& f = picker(d);
        fill(f, "ItemCode", QStringLiteral("A"));
        f.MMTCondition->First();
        f.dbgCondition->setFocus();
        f.dbgCondition->SetCol(f.dbgCondition->DataToRawColumn(2));
        // Not on the last condition: the key is the grid's.
        QTest::keyClick(f.dbgCondition, Qt::Key_Return);
        EXPECT_EQ(f.Notebook->currentWidget(), f.PageCondition);
        f.MMTCondition->Last();
        f.dbgCondition->SetCol(f.dbgCondition->DataToRawColumn(2));
        QTest::keyClick(f.dbgCondition, Qt::Key_Return);
        EXPECT_EQ(f.Notebook->currentWidget(), f.PageFind);
        EXPECT_EQ(codes(f), (QStringList{"A01", "A02"}));
        // A double click on a record confirms it.
        f.TblSelect->Last();
        const QRect r = f.DBGrid->CellRect(1, 2);
        QTest::mouseDClick(f.DBGrid->viewport(), Qt::LeftButton, {}, r.center());
    });
    QString value;
    EXPECT_TRUE(SelectValueByStructure(QStringLiteral("ItemCode"), QStringLiteral("BMaterial"), value));
    EXPECT_EQ(value, QStringLiteral("A02"));
}

TEST_F(RecordPicker, AColumnTitleSortsTheRecords)
{
    scripted->answerDialog([&](QDialog& d) {
        TFrmSelect& f = picker(d);
        TQxDBGridColumns* columns = f.DBGrid->Columns();
        TQxColumn* price = nullptr;
        for (int i = 0; i < columns->Count(); ++i)
            if (columns->Items(i)->FieldName() == QStringLiteral("Price"))
                price = columns->Items(i);
        ASSERT_NE(price, nullptr);
        f.DBGridTitleClick(price);
        EXPECT_EQ(codes(f), (QStringList{"B02", "B03", "A02", "B01", "A01"}));
        f.Close();
    });
    QString value;
    SelectValueByStructure(QStringLiteral("ItemCode"), QStringLiteral("BPlain"), value);
}

TEST_F(RecordPicker, AnInputCodeConditionTakesItsValueFromTheInputCodeDialog)
{
    exec("CREATE TABLE tMaterialName (ItemName TEXT(30), PY TEXT(30), WBH TEXT(30), WB TEXT(30), OrderID INTEGER);"
         "INSERT INTO tMaterialName VALUES ('排线', 'PX', '', '', 1);");
    storeStructure("BName", {{"ItemName", "名称", "等于", "Varchar", "BPYWB"}});
    QStringList found;
    scripted->answerDialog([&](QDialog& d) {
        TFrmSelect& f = picker(d);
        scripted->answerDialog([&](QDialog& ime) {
            auto* dialog = qobject_cast<TFrmIME*>(&ime);
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->Kind(), QStringLiteral("IItemName"));
            QTest::keyClicks(dialog->EdtInput, "px");
            QTest::keyClick(dialog->EdtInput, Qt::Key_Return);
        });
        f.dbgConditionEditButtonClick(f.dbgCondition);
        click(f.BtnNext);
        found = codes(f);
        click(f.BtnClose);
    });
    QString value;
    SelectValueByStructure(QStringLiteral("ItemCode"), QStringLiteral("BName"), value);
    EXPECT_EQ(found, QStringList{"A02"});
    EXPECT_EQ(scripted->unexpected(), 0);
}

} // namespace

namespace {

TEST_F(RecordPicker, ACodeWithoutAStoredStructureListsNothing)
{
    bool empty = false;
    scripted->answerDialog([&](QDialog& d) {
        TFrmSelect& f = picker(d);
        empty = f.Notebook->currentWidget() == f.PageFind && !f.TblSelect->Active();
        // Confirming an empty list closes the picker without a value.
        click(f.BtnOk);
    });
    QString value = QStringLiteral("keep");
    EXPECT_FALSE(SelectValueByStructure(QStringLiteral("ItemCode"), QStringLiteral("BMissing"), value));
    EXPECT_TRUE(empty);
    EXPECT_EQ(value, QStringLiteral("keep"));
    EXPECT_TRUE(scripted->messages().isEmpty());
}

} // namespace
