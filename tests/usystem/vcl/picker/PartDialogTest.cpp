// The part-name picker and the quantity dialog of the parts workflow.
#include "PickerTestSupport.h"
#include "tests/support/Scoped.h"

#include "platform/db/DataSource.h"
#include "platform/db/Fields.h"
#include "platform/db/QxMemTable.h"
#include "usystem/vcl/ado/uQxADODB.h"
#include "usystem/vcl/picker/uQxAddItemRct.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"
#include "usystem/vcl/combos/uQxDBLabelEdit.h"
#include "usystem/vcl/rctstr/uQxRctStr.h"
#include "usystem/vcl/picker/uQxSelect.h"
#include "usystem/vcl/picker/uQxSelectItemName.h"

#include <QTest>

namespace {

class PartDialogs : public LibraryDataTest
{
protected:
    void SetUp() override
    {
        LibraryDataTest::SetUp();
        exec("CREATE TABLE tMaterial (ItemCode TEXT(20) COLLATE NOCASE, ItemName TEXT(40) COLLATE NOCASE,"
             " Model TEXT(20) COLLATE NOCASE);"
             "INSERT INTO tMaterial VALUES ('A01', '屏幕总成', 'X1'), ('A02', '屏幕排线', 'X2'),"
             " ('B01', 'O''Neil 电池', 'Y2'), ('B02', '50%电阻', 'Y2'), ('B03', '500电阻', 'Y2');"
             "CREATE TABLE tRctStr (RctCode TEXT(20) COLLATE NOCASE PRIMARY KEY, RctName TEXT(40),"
             " Description TEXT(80), RctData BLOB);");
        // The new-part dialog's structure, for the names that match no part.
        dm->conSystem->Execute(QStringLiteral("insert into tRctStr (RctCode) values ('EMaterial')"));
        {
            TQxRctStr s;
            s.SetSQLMstSQL(QStringLiteral("Select ItemCode, ItemName, Model from tMaterial"));
            s.SetMstTableName(QStringLiteral("tMaterial"));
            s.SaveByCode(QStringLiteral("EMaterial"));
        }
        lines.FieldDefs()->Add(QStringLiteral("ItemCode"), ftString, 20);
        lines.FieldDefs()->Add(QStringLiteral("ItemName"), ftString, 40);
        lines.FieldDefs()->Add(QStringLiteral("Qty"), ftInteger);
        lines.CreateTable();
        lines.Open();
        lines.Append();
        lines.FieldByName(QStringLiteral("ItemCode"))->SetAsString(QStringLiteral("OLD"));
        lines.Post();
        code()->OnSetText = [this](TField* Sender, const QString& Text) {
            setTexts << Text;
            Sender->SetAsString(Text);
        };
        source.SetDataSet(&lines);
    }
    void TearDown() override
    {
        qx::selectItemByName = nullptr;
        LibraryDataTest::TearDown();
    }
    TField* code() { return lines.FieldByName(QStringLiteral("ItemCode")); }

    TQxMemTable lines;
    TDataSource source;
    QStringList setTexts;
};

TEST_F(PartDialogs, OneMatchingPartFillsTheCodeWithoutADialog)
{
    SelectItemByName(QStringLiteral("总成"), QString(), code());
    EXPECT_TRUE(scripted->shown().isEmpty());
    EXPECT_EQ(code()->AsString(), QStringLiteral("A01"));
    EXPECT_EQ(setTexts, QStringList{"A01"});
}

TEST_F(PartDialogs, NoMatchingPartEmptiesTheCodeAndOffersTheNewPartDialog)
{
    for (const char* name : {"轮胎", "5%0", "_", "' or ''='"}) {
        QString offered;
        scripted->answerDialog([&](QDialog& d) {
            offered = d.objectName();
            d.reject();
        });
        SelectItemByName(QString::fromUtf8(name), QString(), code());
        EXPECT_TRUE(code()->IsNull()) << name;
        EXPECT_EQ(offered, QStringLiteral("FrmNewMaterial")) << name;
        flushDeletes();
        lines.FieldByName(QStringLiteral("ItemCode"))->SetAsString(QStringLiteral("OLD"));
    }
    EXPECT_EQ(scripted->shown().size(), 4);
    EXPECT_EQ(scripted->unexpected(), 0);
    // An empty name empties it too, and offers nothing.
    setTexts.clear();
    SelectItemByName(QString(), QString(), code());
    EXPECT_TRUE(code()->IsNull());
    EXPECT_EQ(setTexts, QStringList{QString()});
    EXPECT_EQ(scripted->shown().size(), 4);
}

TEST_F(PartDialogs, TypedQuotesAndPercentSignsAreMatchedLiterally)
{
    SelectItemByName(QStringLiteral("O'Neil"), QString(), code());
    EXPECT_EQ(code()->AsString(), QStringLiteral("B01"));
    SelectItemByName(QStringLiteral(" 50% "), QString(), code());
    EXPECT_EQ(code()->AsString(), QStringLiteral("B02"));
    EXPECT_TRUE(scripted->shown().isEmpty());
}

TEST_F(PartDialogs, SeveralMatchesAreListedForTheUserToChoose)
{
    scripted->answerDialog([&](QDialog& d) {
        auto* f = qobject_cast<TFrmSelectItemName*>(&d);
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(f->windowTitle(), QStringLiteral("请选择品种"));
        EXPECT_EQ(f->QryItemName->RecordCount(), 2);
        f->QryItemName->Last();
        QTest::keyClick(f->dbgridItemName, Qt::Key_Return);
    });
    SelectItemByName(QStringLiteral("屏幕"), QString(), code());
    EXPECT_EQ(code()->AsString(), QStringLiteral("A02"));
    EXPECT_EQ(setTexts, QStringList{"A02"});

    // Closed without a choice: the code stays.
    scripted->answerDialog(qx::mrCancel);
    SelectItemByName(QStringLiteral("屏幕"), QString(), code());
    EXPECT_EQ(code()->AsString(), QStringLiteral("A02"));
    EXPECT_EQ(scripted->unexpected(), 0);
}

TEST_F(PartDialogs, TheModelNarrowsTheMatchesOnlyWhenTheSettingIsOn)
{
    scripted->answerDialog(qx::mrCancel);
    SelectItemByName(QStringLiteral("屏幕"), QStringLiteral("X2"), code());
    EXPECT_EQ(scripted->shown().size(), 1);
    dm->MatchModel = true;
    SelectItemByName(QStringLiteral("屏幕"), QStringLiteral("X2"), code());
    EXPECT_EQ(scripted->shown().size(), 1);
    EXPECT_EQ(code()->AsString(), QStringLiteral("A02"));
}

TEST_F(PartDialogs, InstalledPickersGiveTheStructuresTheirPartNamePicker)
{
    EXPECT_FALSE(qx::selectItemByName);
    const qx::test::ScopedBinding lookups(&qx::editLookupBinding, &qx::setEditLookupBinding,
                                          qx::EditLookupBinding{});
    InstallLibraryPickers();
    ASSERT_TRUE(qx::selectItemByName);
    qx::selectItemByName(QStringLiteral("总成"), QString(), code());
    EXPECT_EQ(code()->AsString(), QStringLiteral("A01"));
}

TEST_F(PartDialogs, TheQuantityDialogForAnotherColumnClosesAtOnce)
{
    QWidget form;
    TQxDBGrid grid(&form);
    grid.SetDataSource(&source);
    grid.SetSelectedIndex(1);
    ASSERT_EQ(grid.SelectedField()->FieldName(), QStringLiteral("ItemName"));
    bool closed = false;
    scripted->answerDialog([&](QDialog& d) {
        QCoreApplication::processEvents();
        closed = !d.isVisible();
    });
    ShowAddItemRct(&grid);
    EXPECT_TRUE(closed);
    grid.SetDataSource(nullptr);
}

TEST_F(PartDialogs, TheQuantityDialogSavesWithF2AndTakesTheLineBackOnEsc)
{
    QWidget form;
    TQxDBGrid grid(&form);
    grid.SetDataSource(&source);
    for (int key : {int(Qt::Key_F2), int(Qt::Key_Escape)}) {
        lines.Append();
        code()->SetAsString(QStringLiteral("NEW"));
        scripted->answerDialog([&](QDialog& d) {
            auto* f = qobject_cast<TFrmAddItemRct*>(&d);
            ASSERT_NE(f, nullptr);
            EXPECT_EQ(f->windowTitle(), QStringLiteral("请输入数量"));
            ASSERT_NE(f->LastEdit(), nullptr);
            QTest::keyClicks(f->LastEdit(), "5");
            QTest::keyClick(f->LastEdit(), Qt::Key(key));
        });
        ShowAddItemRct(&grid);
        flushDeletes();
    }
    QStringList rows;
    for (lines.First(); !lines.Eof(); lines.Next())
        rows << code()->AsString() + QLatin1Char('/') + lines.FieldByName(QStringLiteral("Qty"))->AsString();
    EXPECT_EQ(rows, (QStringList{"OLD/", "NEW/5"}));
    EXPECT_EQ(lines.State(), dsBrowse);
    grid.SetDataSource(nullptr);
}

} // namespace

namespace {

TEST_F(PartDialogs, APartCodeThatMatchesNothingIsLookedUpByNameThroughTheStructure)
{
    const qx::test::ScopedBinding lookups(&qx::editLookupBinding, &qx::setEditLookupBinding,
                                          qx::EditLookupBinding{});
    InstallLibraryPickers();
    TQxRctStr doc;
    doc.FieldDefs()->Add(QStringLiteral("ItemCode"), ftString, 20);
    doc.FieldDefs()->Add(QStringLiteral("ItemName"), ftString, 40);
    TMstSection* codeDef = doc.MstSections()->Add();
    codeDef->SetFieldName(QStringLiteral("ItemCode"));
    codeDef->SetTableName(QStringLiteral("tMaterial"));
    codeDef->SetActionType(QStringLiteral("BMaterial"));
    TMstSection* nameDef = doc.MstSections()->Add();
    nameDef->SetFieldName(QStringLiteral("ItemName"));
    nameDef->SetLookupKey(QStringLiteral("ItemCode"));
    doc.CreateTable();
    doc.Open();
    for (int i = 0; i < doc.FieldCount(); ++i)
        doc.Fields()->Fields(i)->OnSetText = [&doc](TField* Sender, const QString& Text) {
            doc.LookupFieldText(Sender, Text);
        };
    doc.Append();
    // Typed into the code: a name fragment. It names one part, whose code and name arrive.
    doc.FieldByName(QStringLiteral("ItemCode"))->SetText(QStringLiteral("总成"));
    EXPECT_EQ(doc.FieldByName(QStringLiteral("ItemCode"))->AsString(), QStringLiteral("A01"));
    EXPECT_EQ(doc.FieldByName(QStringLiteral("ItemName"))->AsString(), QStringLiteral("屏幕总成"));
    EXPECT_TRUE(scripted->shown().isEmpty());
}

} // namespace

namespace {

TEST_F(PartDialogs, TheQuantityDialogShowsTheLinesColumnsWithTheirTitles)
{
    TQxMemTable sale;
    for (const char* name : {"ItemCode", "ItemName", "Qty", "Price", "Charger", "Class"})
        sale.FieldDefs()->Add(QString::fromLatin1(name), ftString, 20);
    sale.CreateTable();
    sale.Open();
    sale.Append();
    TDataSource src;
    src.SetDataSet(&sale);
    QWidget form;
    // The sales-out form also asks who fitted the part and its class.
    form.setObjectName(QStringLiteral("FrmRpSOutItem"));
    TQxDBGrid grid(&form);
    grid.SetDataSource(&src);
    TQxDBGridColumns* columns = grid.Columns();
    columns->Items(2)->Title()->SetCaption(QStringLiteral("数量"));
    columns->Items(3)->SetReadOnly(true);
    QStringList edits;
    scripted->answerDialog([&](QDialog& d) {
        auto* f = qobject_cast<TFrmAddItemRct*>(&d);
        ASSERT_NE(f, nullptr);
        for (auto* e : f->findChildren<tQxDBLabelEdit*>())
            edits << QStringLiteral("%1:%2:%3:%4%5%6")
                         .arg(e->DataField(), e->LabelCaption())
                         .arg(e->y())
                         .arg(e->isEnabled() ? "" : "disabled")
                         .arg(e->ReadOnly() ? "readonly" : "")
                         .arg(e->Button()->Visible() ? "button" : "");
        EXPECT_EQ(f->LastEdit()->DataField(), QStringLiteral("Class"));
        QTest::keyClick(f->focusWidget(), Qt::Key_Escape);
    });
    ShowAddItemRct(&grid);
    EXPECT_EQ(edits, (QStringList{"ItemCode:ItemCode:65:disabled", "ItemName:ItemName:87:disabled",
                                  "Qty:数量:109:", "Price:Price:131:readonly", "Charger:Charger:153:button",
                                  "Class:Class:175:button"}));
    // Esc took the new line back.
    EXPECT_EQ(sale.State(), dsBrowse);
    EXPECT_EQ(sale.RecordCount(), 0);
    grid.SetDataSource(nullptr);
}

} // namespace
