// The new-part dialog over a fixture database: its three record grids built from the
// structure "EMaterial", saving a part and its name, its keys, and where the parts workflow
// opens it (the record picker's add button, a part name that matches nothing).
#include "PickerTestSupport.h"

#include "platform/db/DataSource.h"
#include "platform/db/Fields.h"
#include "platform/db/QxMemTable.h"
#include "usystem/vcl/ado/uQxADODB.h"
#include "usystem/vcl/controls/uQxButtons.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"
#include "usystem/vcl/edits/uQxEdits.h"
#include "usystem/vcl/picker/uQxNewMaterial.h"
#include "usystem/vcl/picker/uQxSelect.h"
#include "usystem/vcl/picker/uQxSelectItemName.h"
#include "usystem/vcl/rctstr/uQxRctStr.h"
#include "usystem/vcl/recordgrid/uQxDBVGrid.h"

#include <QScopeGuard>
#include <QTest>

namespace {

class NewPart : public LibraryDataTest
{
protected:
    void SetUp() override
    {
        LibraryDataTest::SetUp();
        exec("CREATE TABLE tRctStr (RctCode TEXT(20) COLLATE NOCASE PRIMARY KEY, RctName TEXT(40),"
             " Description TEXT(80), RctData BLOB);"
             "CREATE TABLE tMaterial (ItemCode TEXT(20) COLLATE NOCASE, PartsCode TEXT(20) COLLATE NOCASE,"
             " LevelCode TEXT(30) COLLATE NOCASE,"
             " ItemName TEXT(40) COLLATE NOCASE NOT NULL CHECK (length(ItemName) > 0),"
             " Model TEXT(20) COLLATE NOCASE, NewPriceMode TEXT(10), Price MONEY);"
             "INSERT INTO tMaterial VALUES ('A01', 'A01', 'A01', '屏幕总成', 'X1', '取旧价', 12.5);"
             "CREATE TABLE tMaterialName (ItemName TEXT(30) COLLATE NOCASE, PY TEXT(30) COLLATE NOCASE,"
             " WBH TEXT(30) COLLATE NOCASE, WB TEXT(30) COLLATE NOCASE, OrderID INTEGER);");
        for (const char* code : {"EMaterial", "BMaterial"})
            dm->conSystem->Execute(QStringLiteral("insert into tRctStr (RctCode) values ('%1')")
                                       .arg(QLatin1String(code)));
        {
            TQxRctStr s;
            s.SetSQLMstSQL(QStringLiteral("Select ItemCode, PartsCode, LevelCode, ItemName, Model,"
                                          " NewPriceMode, Price from tMaterial"));
            s.SetMstTableName(QStringLiteral("tMaterial"));
            const struct { const char* field; const char* title; const char* grid; bool readOnly;
                           const char* action; } defs[] = {
                {"ItemCode", "编号", "DBVBase", false, ""},
                {"PartsCode", "配件编号", "DBVBase", false, ""},
                {"ItemName", "名称", "DBVBase", false, "BPYWB"},
                {"LevelCode", "级别码", "Base2", true, ""},
                {"Model", "车型", "Base2", false, "BModel"},
                {"NewPriceMode", "价格取向", "", false, ""},
                {"Price", "单价", "dbvplus", false, ""},
            };
            for (const auto& d : defs) {
                TMstSection* m = s.MstSections()->Add();
                m->SetFieldName(QString::fromLatin1(d.field));
                m->SetCFieldName(QString::fromUtf8(d.title));
                m->SetDBControl(QString::fromLatin1(d.grid));
                m->SetIsReadOnly(d.readOnly);
                m->SetActionType(QString::fromLatin1(d.action));
                m->SetVisible(true);
            }
            s.SaveByCode(QStringLiteral("EMaterial"));
        }
        {
            TQxRctStr s;
            s.SetSQLMstSQL(QStringLiteral("Select ItemCode, ItemName from tMaterial"));
            for (const char* name : {"ItemCode", "ItemName"}) {
                TMstSection* m = s.MstSections()->Add();
                m->SetFieldName(QString::fromLatin1(name));
                m->SetCFieldName(QString::fromLatin1(name));
                m->SetVisible(true);
            }
            s.SaveByCode(QStringLiteral("BMaterial"));
        }
        lines.FieldDefs()->Add(QStringLiteral("ItemCode"), ftString, 20);
        lines.CreateTable();
        lines.Open();
        lines.Append();
        lines.FieldByName(QStringLiteral("ItemCode"))->SetAsString(QStringLiteral("NEW 7"));
        lines.Post();
        code()->OnSetText = [this](TField* Sender, const QString& Text) {
            setTexts << Text;
            Sender->SetAsString(Text);
        };
    }

    TField* code() { return lines.FieldByName(QStringLiteral("ItemCode")); }
    QStringList rowNames(TQxDBVGrid* g) const
    {
        QStringList out;
        for (int i = 0; i < g->Columns()->Count(); ++i) {
            const TVColumn* r = g->Columns()->Items(i);
            out << r->FieldName() + QLatin1Char('=') + r->Title()->Caption()
                       + (r->ReadOnly() ? QStringLiteral("/ro") : QString())
                       + (r->ButtonStyle() == TVColumn::cbsEllipsis ? QStringLiteral("/...") : QString());
        }
        return out;
    }
    QStringList parts(const char* sql)
    {
        TQxADOQuery q;
        q.SetConnection(dm->conBusiness);
        q.SQL().SetText(QString::fromUtf8(sql));
        q.Open();
        QStringList out;
        for (q.First(); !q.Eof(); q.Next()) {
            QStringList row;
            for (int i = 0; i < q.FieldCount(); ++i)
                row << q.Fields()->Fields(i)->AsString();
            out << row.join(QLatin1Char('|'));
        }
        return out;
    }
    static TFrmNewMaterial& dialog(QDialog& d)
    {
        auto* f = qobject_cast<TFrmNewMaterial*>(&d);
        EXPECT_NE(f, nullptr);
        return *f;
    }

    TQxMemTable lines;
    QStringList setTexts;
};

} // namespace

TEST_F(NewPart, TheDefinitionsLayTheFieldsOutInTheThreeRecordGrids)
{
    scripted->answerDialog([&](QDialog& d) {
        TFrmNewMaterial& f = dialog(d);
        EXPECT_EQ(f.windowTitle(), QStringLiteral("新件"));
        EXPECT_EQ(f.size(), QSize(672, 276));
        EXPECT_TRUE(f.BtnAdd->isHidden());
        EXPECT_EQ(f.LblTip->Caption(), QStringLiteral("[F5] 保存"));
        EXPECT_EQ(f.DBVBase->width(), 234);
        EXPECT_EQ(f.Base2->width(), 234);
        for (TQxDBVGrid* g : {f.DBVBase, f.Base2, f.dbvPlus}) {
            EXPECT_EQ(g->TitlesWidth(), 100);
            EXPECT_EQ(g->DefaultColWidth(), 130);
            EXPECT_EQ(g->ColWidths(1), 130);
            EXPECT_EQ(g->DBGridMode(), TDBGridMode());
            EXPECT_EQ(g->DataSource(), f.dsMaterial);
        }
        EXPECT_EQ(rowNames(f.DBVBase), (QStringList{"ItemCode=编号", "PartsCode=配件编号", "ItemName=名称/..."}));
        EXPECT_EQ(rowNames(f.Base2), (QStringList{"LevelCode=级别码/ro", "Model=车型/..."}));
        EXPECT_EQ(rowNames(f.dbvPlus), (QStringList{"NewPriceMode=价格取向", "Price=单价"}));
        EXPECT_EQ(f.dbvPlus->Columns()->Items(0)->PickList(),
                  (QStringList{QStringLiteral("取旧价"), QStringLiteral("取新价")}));
        // A part of a field starts with the field's text as its codes.
        EXPECT_EQ(f.TblMaterial->FieldByName(QStringLiteral("ItemCode"))->AsString(), QStringLiteral("NEW 7"));
        EXPECT_EQ(f.TblMaterial->FieldByName(QStringLiteral("LevelCode"))->AsString(), QStringLiteral("NEW 7"));
        EXPECT_EQ(f.TblMaterial->FieldByName(QStringLiteral("ItemName"))->AsString(), QStringLiteral("电池"));
    });
    NewMaterial(code(), QString(), QStringLiteral("电池"));
    EXPECT_EQ(scripted->unexpected(), 0);
}

TEST_F(NewPart, SavingStoresThePartUnderItsUpperCasedCodeAndThenItsName)
{
    scripted->answerDialog([&](QDialog& d) {
        TFrmNewMaterial& f = dialog(d);
        TQxRctStr* t = f.TblMaterial;
        t->FieldByName(QStringLiteral("ItemCode"))->SetAsString(QStringLiteral("  "));
        t->FieldByName(QStringLiteral("PartsCode"))->SetAsString(QStringLiteral("ab 12"));
        t->FieldByName(QStringLiteral("Model"))->SetAsString(QStringLiteral("x9"));
        QTest::mouseClick(f.BtnSave, Qt::LeftButton);
    });
    NewMaterial(code(), QString(), QStringLiteral("电池"));
    flushDeletes();
    EXPECT_EQ(parts("select ItemCode, PartsCode, LevelCode, ItemName, Model from tMaterial order by ItemCode"),
              (QStringList{"A01|A01|A01|屏幕总成|X1", "AB 12|AB 12|12|电池|X9"}));
    EXPECT_EQ(parts("select ItemName, OrderID from tMaterialName"), QStringList{"电池|0"});
    // The calling field takes the code through its set-text handler.
    EXPECT_EQ(code()->AsString(), QStringLiteral("AB 12"));
    EXPECT_EQ(setTexts, QStringList{"AB 12"});
    EXPECT_EQ(scripted->unexpected(), 0);
}

TEST_F(NewPart, AnExistingPartIsShownAndSavedOverItsRow)
{
    scripted->answerDialog([&](QDialog& d) {
        TFrmNewMaterial& f = dialog(d);
        TQxRctStr* t = f.TblMaterial;
        ASSERT_TRUE(t->Active());
        EXPECT_EQ(t->RecordCount(), 1);
        EXPECT_EQ(t->FieldByName(QStringLiteral("ItemName"))->AsString(), QStringLiteral("屏幕总成"));
        t->Edit();
        t->FieldByName(QStringLiteral("Model"))->SetAsString(QStringLiteral("x2"));
        QTest::keyClick(f.DBVBase, Qt::Key_F5);
    });
    NewMaterial(nullptr, QStringLiteral("A01"), QString());
    flushDeletes();
    EXPECT_EQ(parts("select ItemCode, Model from tMaterial"), QStringList{"A01|X2"});
    EXPECT_EQ(parts("select ItemName from tMaterialName"), QStringList{"屏幕总成"});

    // A code no part has leaves the structure closed: nothing to save.
    scripted->answerDialog([&](QDialog& d) {
        TFrmNewMaterial& f = dialog(d);
        EXPECT_FALSE(f.TblMaterial->Active());
        QTest::keyClick(f.DBVBase, Qt::Key_F5);
    });
    NewMaterial(nullptr, QStringLiteral("Z' or ''='"), QString());
    flushDeletes();
    EXPECT_EQ(parts("select count(*) from tMaterial"), QStringList{"1"});
}

TEST_F(NewPart, AFailedSaveShowsTheErrorKeepsTheDialogAndWritesNoName)
{
    bool stillOpen = false;
    scripted->answerDialog([&](QDialog& d) {
        TFrmNewMaterial& f = dialog(d);
        // The name is required by the table and empty here.
        f.TblMaterial->FieldByName(QStringLiteral("PartsCode"))->SetAsString(QStringLiteral("C01"));
        scripted->answerDialog(0); // the error box
        QTest::mouseClick(f.BtnSave, Qt::LeftButton);
        stillOpen = d.isVisible();
    });
    NewMaterial(code(), QString(), QString());
    flushDeletes();
    EXPECT_TRUE(stillOpen);
    // The dialog and its error box.
    ASSERT_EQ(scripted->shown().size(), 2);
    EXPECT_EQ(scripted->shown()[1].kind, qx::ShownDialog::Modal);
    EXPECT_EQ(parts("select count(*) from tMaterial"), QStringList{"1"});
    EXPECT_TRUE(parts("select * from tMaterialName").isEmpty());
    EXPECT_EQ(code()->AsString(), QStringLiteral("NEW 7"));
}

TEST_F(NewPart, EnterOnTheLastRowGoesToTheNextGridAndOnTheLastGridSaves)
{
    scripted->answerDialog([&](QDialog& d) {
        TFrmNewMaterial& f = dialog(d);
        f.TblMaterial->FieldByName(QStringLiteral("ItemName"))->SetAsString(QStringLiteral("排线"));
        QApplication::setActiveWindow(&d);
        f.DBVBase->setFocus();
        QApplication::processEvents();
        ASSERT_TRUE(f.DBVBase->IsActiveControl());
        f.DBVBase->SetSelectedIndex(2);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_TRUE(f.Base2->IsActiveControl());
        EXPECT_EQ(f.Base2->SelectedIndex(), 0);
        f.Base2->SetSelectedIndex(1);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_TRUE(f.dbvPlus->IsActiveControl());
        // Enter within a grid moves to its next row.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_EQ(f.dbvPlus->SelectedIndex(), 1);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
    NewMaterial(code(), QString(), QString());
    flushDeletes();
    EXPECT_EQ(code()->AsString(), QStringLiteral("NEW 7"));
    EXPECT_EQ(parts("select ItemCode, ItemName from tMaterial where ItemName='排线'"),
              QStringList{"NEW 7|排线"});
}

TEST_F(NewPart, TheRecordPickersAddButtonOpensTheDialogForPartsCodes)
{
    QStringList opened;
    scripted->answerDialog([&](QDialog& d) {
        auto* picker = qobject_cast<TFrmSelect*>(&d);
        ASSERT_NE(picker, nullptr);
        EXPECT_FALSE(picker->BtnAdd->isHidden());
        // The found records' record grid is there, read-only and hidden.
        ASSERT_NE(picker->dbvgrid, nullptr);
        EXPECT_TRUE(picker->dbvgrid->isHidden());
        EXPECT_TRUE(picker->dbvgrid->ReadOnly());
        EXPECT_EQ(picker->dbvgrid->DataSource(), picker->dsSelect);
        EXPECT_EQ(picker->dbvgrid->SelectedField()->AsString(), picker->TblSelect->Fields()->Fields(0)->AsString());
        scripted->answerDialog([&](QDialog& n) {
            opened << n.objectName();
            n.reject();
        });
        QTest::mouseClick(picker->BtnAdd, Qt::LeftButton);
    });
    QString value;
    SelectValueByStructure(QStringLiteral("ItemCode"), QStringLiteral("BMaterial"), value);
    flushDeletes();
    EXPECT_EQ(opened, (QStringList{"FrmNewMaterial"}));
}

TEST_F(NewPart, APartNameThatMatchesNothingOffersTheDialogWithThatName)
{
    QString startName;
    scripted->answerDialog([&](QDialog& d) {
        TFrmNewMaterial& f = dialog(d);
        startName = f.TblMaterial->FieldByName(QStringLiteral("ItemName"))->AsString();
        d.reject();
    });
    lines.Edit();
    SelectItemByName(QStringLiteral("轮胎"), QString(), code());
    flushDeletes();
    EXPECT_TRUE(code()->IsNull());
    EXPECT_EQ(startName, QStringLiteral("轮胎"));
    EXPECT_EQ(scripted->unexpected(), 0);
}

TEST_F(NewPart, ARecordGridsButtonOpensThePickerOfItsFieldsDefinition)
{
    InstallLibraryPickers();
    const auto restore = qScopeGuard([] { qx::setEditLookupBinding({}); });
    TQxRctStr doc;
    doc.FieldDefs()->Add(QStringLiteral("ItemCode"), ftString, 20);
    TMstSection* def = doc.MstSections()->Add();
    def->SetFieldName(QStringLiteral("ItemCode"));
    def->SetActionType(QStringLiteral("BMaterial"));
    doc.CreateTable();
    doc.Open();
    doc.Append();
    TDataSource source;
    source.SetDataSet(&doc);
    QWidget form;
    TQxDBVGrid grid(&form);
    grid.SetDataSource(&source);
    QStringList shown;
    scripted->answerDialog([&](QDialog& d) {
        shown << d.objectName();
        auto* picker = qobject_cast<TFrmSelect*>(&d);
        ASSERT_NE(picker, nullptr);
        EXPECT_EQ(picker->Control(), &grid);
        picker->TblSelect->Last();
        picker->BtnOkClick(picker->BtnOk);
    });
    grid.EditButtonClick();
    flushDeletes();
    EXPECT_EQ(shown, QStringList{"FrmSelect"});
    EXPECT_EQ(doc.FieldByName(QStringLiteral("ItemCode"))->AsString(), QStringLiteral("A01"));
    grid.SetDataSource(nullptr);
}
