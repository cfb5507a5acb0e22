// The pickers the data controls' buttons open through the definition of their field in a
// document structure, and the lookups the library's edits reach once the pickers are
// installed.
#include "PickerTestSupport.h"
#include "tests/support/Scoped.h"

#include "platform/db/DataSource.h"
#include "platform/db/Fields.h"
#include "platform/db/QxMemTable.h"
#include "usystem/vcl/ado/uQxADODB.h"
#include "usystem/vcl/picker/uQxAddItemRct.h"
#include "usystem/vcl/combos/uQxDBLabelEdit.h"
#include "usystem/vcl/controls/uQxButtons.h"
#include "usystem/vcl/dbedits/uQxDBEdit.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"
#include "usystem/vcl/edits/uQxEdits.h"
#include "usystem/vcl/picker/uQxIME.h"
#include "usystem/vcl/rctstr/uQxRctStr.h"
#include "usystem/vcl/picker/uQxSelect.h"
#include "usystem/vcl/dbgrid/uQxSetQueryDate.h"

#include <QTest>

namespace {

class FieldPicker : public LibraryDataTest
{
protected:
    void SetUp() override
    {
        LibraryDataTest::SetUp();
        exec("CREATE TABLE tRctStr (RctCode TEXT(20) COLLATE NOCASE PRIMARY KEY, RctName TEXT(40),"
             " Description TEXT(80), RctData BLOB);"
             "CREATE TABLE tMaterial (ItemCode TEXT(20) COLLATE NOCASE, ItemName TEXT(40) COLLATE NOCASE,"
             " Location TEXT(20), StockIndex INTEGER);"
             "INSERT INTO tMaterial VALUES ('A01', '屏幕', 'S1', 7), ('A02', '排线', 'S2', 8);"
             "CREATE TABLE tMaterialName (ItemName TEXT(30) COLLATE NOCASE, PY TEXT(30) COLLATE NOCASE,"
             " WBH TEXT(30) COLLATE NOCASE, WB TEXT(30) COLLATE NOCASE, OrderID INTEGER);"
             "INSERT INTO tMaterialName VALUES ('屏幕', 'PM', 'NG', 'NA', 2);");
        dm->conSystem->Execute(QStringLiteral("insert into tRctStr (RctCode) values ('BMaterial')"));
        {
            TQxRctStr s;
            s.SetSQLMstSQL(QStringLiteral("Select ItemCode, ItemName, Location, StockIndex from tMaterial"));
            for (const char* name : {"ItemCode", "ItemName", "Location", "StockIndex"}) {
                TMstSection* m = s.MstSections()->Add();
                m->SetFieldName(QString::fromLatin1(name));
                m->SetCFieldName(QString::fromLatin1(name));
                m->SetVisible(true);
            }
            s.SaveByCode(QStringLiteral("BMaterial"));
        }

        // The document the controls edit: a structure whose fields name their pickers.
        doc = std::make_unique<TQxRctStr>();
        doc->FieldDefs()->Add(QStringLiteral("ItemCode"), ftString, 20);
        doc->FieldDefs()->Add(QStringLiteral("ItemName"), ftString, 40);
        doc->FieldDefs()->Add(QStringLiteral("BillDate"), ftDateTime);
        doc->FieldDefs()->Add(QStringLiteral("Remark"), ftString, 40);
        doc->FieldDefs()->Add(QStringLiteral("Location"), ftString, 20);
        doc->FieldDefs()->Add(QStringLiteral("StockIndex"), ftInteger);
        doc->FieldDefs()->Add(QStringLiteral("Qty"), ftInteger);
        const struct { const char* name; const char* code; } defs[] = {
            {"ItemCode", "BMaterial"}, {"ItemName", "BPYWB"}, {"BillDate", "BGetDate"}, {"Remark", ""},
            {"Location", ""}, {"StockIndex", ""}, {"Qty", ""}};
        for (const auto& d : defs) {
            TMstSection* m = doc->MstSections()->Add();
            m->SetFieldName(QString::fromLatin1(d.name));
            m->SetActionType(QString::fromLatin1(d.code));
        }
        doc->CreateTable();
        doc->Open();
        for (TField* f : {doc->FieldByName(QStringLiteral("ItemCode")), doc->FieldByName(QStringLiteral("ItemName")),
                          doc->FieldByName(QStringLiteral("BillDate")), doc->FieldByName(QStringLiteral("Location"))})
            f->OnSetText = [this](TField* Sender, const QString& Text) {
                setTexts << Sender->FieldName() + QLatin1Char('=') + Text;
                Sender->SetAsString(Text);
            };
        source.SetDataSet(doc.get());
        doc->Append();
        doc->FieldByName(QStringLiteral("ItemCode"))->SetAsString(QStringLiteral("OLD"));
        doc->Post();
    }
    void TearDown() override
    {
        qx::setEditLookupBinding({});
        flushDeletes();
        doc.reset();
        LibraryDataTest::TearDown();
    }

    TQxDBEDIT* edit(const char* field)
    {
        auto* e = new TQxDBEDIT(&form);
        e->SetDataSource(&source);
        e->SetDataField(QString::fromLatin1(field));
        return e;
    }
    static TFrmSelect& picker(QDialog& d)
    {
        auto* f = qobject_cast<TFrmSelect*>(&d);
        EXPECT_NE(f, nullptr);
        return *f;
    }
    QString value(const char* field) const { return doc->FieldByName(QString::fromLatin1(field))->AsString(); }

    QWidget form;
    TDataSource source;
    std::unique_ptr<TQxRctStr> doc;
    QStringList setTexts;
};

TEST_F(FieldPicker, ConfirmedRecordGoesIntoTheEditsFieldThroughItsSetTextHandler)
{
    TQxDBEDIT* e = edit("ItemCode");
    scripted->answerDialog([&](QDialog& d) {
        TFrmSelect& f = picker(d);
        EXPECT_EQ(f.Control(), e);
        EXPECT_TRUE(f.BtnAddRct->isHidden()); // only for a grid
        EXPECT_FALSE(f.BtnAdd->isHidden());   // a parts code
        f.TblSelect->Last();
        f.DBGrid->setFocus();
        QTest::keyClick(f.DBGrid, Qt::Key_Return);
    });
    PickFieldValue(e);
    EXPECT_EQ(value("ItemCode"), QStringLiteral("A02"));
    EXPECT_EQ(setTexts, QStringList{"ItemCode=A02"});
    EXPECT_EQ(scripted->unexpected(), 0);
}

TEST_F(FieldPicker, ACancelledPickerLeavesTheFieldAsItWas)
{
    TQxDBEDIT* e = edit("ItemCode");
    scripted->answerDialog([&](QDialog& d) { QTest::keyClick(picker(d).EdtFind, Qt::Key_Escape); });
    PickFieldValue(e);
    EXPECT_EQ(value("ItemCode"), QStringLiteral("OLD"));
    EXPECT_TRUE(setTexts.isEmpty());
}

TEST_F(FieldPicker, InputCodeFieldsTakeTheChosenName)
{
    TQxDBEDIT* e = edit("ItemName");
    scripted->answerDialog([&](QDialog& d) {
        auto* ime = qobject_cast<TFrmIME*>(&d);
        ASSERT_NE(ime, nullptr);
        EXPECT_EQ(ime->Kind(), QStringLiteral("IItemName"));
        EXPECT_EQ(ime->Field(), doc->FieldByName(QStringLiteral("ItemName")));
        QTest::keyClicks(ime->EdtInput, "pm");
        QTest::keyClick(ime->EdtInput, Qt::Key_Return);
    });
    PickFieldValue(e);
    EXPECT_EQ(value("ItemName"), QStringLiteral("屏幕"));
    EXPECT_EQ(setTexts, QStringList{"ItemName=屏幕"});

    // Nothing chosen: nothing written.
    setTexts.clear();
    scripted->answerDialog(qx::mrCancel);
    PickFieldValue(e);
    EXPECT_EQ(value("ItemName"), QStringLiteral("屏幕"));
    EXPECT_TRUE(setTexts.isEmpty());
}

TEST_F(FieldPicker, DateFieldsOpenTheDateDialog)
{
    TQxDBEDIT* e = edit("BillDate");
    QString dialogName;
    scripted->answerDialog([&](QDialog& d) {
        dialogName = d.objectName();
        EXPECT_NE(qobject_cast<TFrmSetQueryDate*>(&d), nullptr);
        QTest::keyClick(&d, Qt::Key_Return);
    });
    PickFieldValue(e);
    EXPECT_EQ(scripted->shown().size(), 1);
    EXPECT_FALSE(doc->FieldByName(QStringLiteral("BillDate"))->IsNull());
    ASSERT_EQ(setTexts.size(), 1);
    EXPECT_TRUE(setTexts[0].startsWith(QStringLiteral("BillDate=")));
}

TEST_F(FieldPicker, AFieldWithoutAPickerCodeAsksForTheStructureToBeSet)
{
    scripted->answerMessage(qx::mrOk);
    PickFieldValue(edit("Remark"));
    EXPECT_EQ(scripted->messages(), QStringList{"请先设置数据浏览结构!!"});
}

TEST_F(FieldPicker, ControlsOverOtherDatasetsAreLeftAlone)
{
    // A memory table and a plain query, each with a field the structure would have a picker for.
    TQxMemTable table;
    table.FieldDefs()->Add(QStringLiteral("ItemCode"), ftString, 20);
    table.CreateTable();
    table.Open();
    TQxADOQuery query;
    query.SetConnection(dm->conBusiness);
    query.SQL().SetText(QStringLiteral("select ItemCode from tMaterial"));
    query.Open();
    for (TDataSet* ds : {static_cast<TDataSet*>(&table), static_cast<TDataSet*>(&query)}) {
        TDataSource src;
        src.SetDataSet(ds);
        TQxDBEDIT e(&form);
        e.SetDataSource(&src);
        e.SetDataField(QStringLiteral("ItemCode"));
        PickFieldValue(&e);
        TQxDBGrid g(&form);
        g.SetDataSource(&src);
        PickFieldValue(&g);
        g.SetDataSource(nullptr);
    }
    // Nor does anything happen for other widgets or none.
    QWidget plain;
    PickFieldValue(&plain);
    PickFieldValue(nullptr);
    EXPECT_TRUE(scripted->shown().isEmpty());
}

TEST_F(FieldPicker, WithoutALibraryDataModuleTheRecordPickerStaysShut)
{
    TQxDBEDIT* e = edit("ItemCode");
    dm.reset();
    PickFieldValue(e);
    EXPECT_TRUE(scripted->shown().isEmpty());
    EXPECT_EQ(value("ItemCode"), QStringLiteral("OLD"));
}

TEST_F(FieldPicker, AGridOnItemCodeAddsPartsAsNewLinesWithThePlusKey)
{
    TQxDBGrid grid(&form);
    grid.SetDataSource(&source);
    ASSERT_EQ(grid.SelectedField(), doc->FieldByName(QStringLiteral("ItemCode")));
    QStringList quantityEdits;
    scripted->answerDialog([&](QDialog& d) {
        TFrmSelect& f = picker(d);
        EXPECT_FALSE(f.BtnAddRct->isHidden());
        // The first part gets a quantity and is saved with Enter in the last edit.
        scripted->answerDialog([&](QDialog& q) {
            auto* dialog = qobject_cast<TFrmAddItemRct*>(&q);
            ASSERT_NE(dialog, nullptr);
            for (auto* e : dialog->findChildren<tQxDBLabelEdit*>())
                quantityEdits << e->DataField() + QLatin1Char(e->isEnabled() ? '+' : '-');
            ASSERT_NE(dialog->LastEdit(), nullptr);
            EXPECT_EQ(dialog->LastEdit()->DataField(), QStringLiteral("Qty"));
            EXPECT_EQ(dialog->focusWidget(), dialog->LastEdit());
            QTest::keyClicks(dialog->LastEdit(), "3");
            QTest::keyClick(dialog->LastEdit(), Qt::Key_Return);
        });
        QTest::keyClick(f.EdtFind, Qt::Key_Plus, Qt::KeypadModifier);
        // The second is taken back by closing the quantity dialog with Esc.
        f.TblSelect->Next();
        scripted->answerDialog([&](QDialog& q) { QTest::keyClick(&q, Qt::Key_Escape); });
        QTest::keyClick(f.EdtFind, Qt::Key_Plus, Qt::KeypadModifier);
        EXPECT_TRUE(f.isVisible()); // stays open for the next part
        QTest::keyClick(f.EdtFind, Qt::Key_Escape);
    });
    PickFieldValue(&grid);
    EXPECT_EQ(quantityEdits, (QStringList{"ItemCode-", "ItemName-", "Qty+"}));
    ASSERT_EQ(doc->RecordCount(), 2);
    QStringList lines;
    for (doc->First(); !doc->Eof(); doc->Next())
        lines << value("ItemCode") + QLatin1Char('/') + value("Location") + QLatin1Char('/') + value("StockIndex")
                     + QLatin1Char('/') + value("Qty");
    EXPECT_EQ(lines, (QStringList{"OLD///", "A01/S1/7/3"}));
    EXPECT_EQ(setTexts, (QStringList{"ItemCode=A01", "Location=S1", "ItemCode=A02", "Location=S2"}));
    EXPECT_EQ(scripted->unexpected(), 0);
    grid.SetDataSource(nullptr);
}

TEST_F(FieldPicker, InstalledPickersServeTheEditsButtons)
{
    InstallLibraryPickers();
    ASSERT_TRUE(qx::editLookupBinding().pickFieldValue);

    // The data edit's button.
    TQxDBEDIT* e = edit("ItemCode");
    e->Button()->SetVisible(true);
    scripted->answerDialog([&](QDialog& d) { picker(d).BtnOkClick(nullptr); });
    e->ButtonClick();
    EXPECT_EQ(value("ItemCode"), QStringLiteral("A01"));

    // The typed edit's find kind: a closed picker keeps the text, a confirmed one replaces it.
    TQxEdit find(&form);
    find.SetDataType(edtFind);
    find.SetInPutType(QStringLiteral("BMaterial"));
    find.SetInPutField(QStringLiteral("ItemName"));
    find.setText(QStringLiteral("typed"));
    scripted->answerDialog([&](QDialog& d) { picker(d).Close(); });
    find.ButtonClick();
    EXPECT_EQ(find.Text(), QStringLiteral("typed"));
    scripted->answerDialog([&](QDialog& d) {
        picker(d).TblSelect->Last();
        picker(d).BtnOkClick(nullptr);
    });
    find.ButtonClick();
    EXPECT_EQ(find.Text(), QStringLiteral("排线"));

    // And its input-code kind.
    find.SetInPutType(QStringLiteral("BPYWB"));
    scripted->answerDialog([&](QDialog& d) {
        auto* ime = qobject_cast<TFrmIME*>(&d);
        ASSERT_NE(ime, nullptr);
        QTest::keyClick(ime->EdtInput, Qt::Key_Escape);
    });
    find.ButtonClick();
    EXPECT_EQ(find.Text(), QStringLiteral("排线"));
    scripted->answerDialog([&](QDialog& d) {
        auto* ime = qobject_cast<TFrmIME*>(&d);
        ASSERT_NE(ime, nullptr);
        QTest::keyClicks(ime->EdtInput, "p");
        QTest::keyClick(ime->EdtInput, Qt::Key_Return);
    });
    find.ButtonClick();
    EXPECT_EQ(find.Text(), QStringLiteral("屏幕"));
    EXPECT_EQ(scripted->unexpected(), 0);
}

TEST_F(FieldPicker, InstalledPickersGiveLabelledEditsTheirDefinitionsCaption)
{
    const qx::test::ScopedBinding looks(&qx::labelledLookBinding, &qx::setLabelledLookBinding,
                                        qx::LabelledLookBinding{});
    InstallLibraryPickers();
    TMstSection* code = doc->MstSections()->Items(doc->MstSections()->IndexOfField(QStringLiteral("ItemCode")));
    code->SetCFieldName(QStringLiteral("零件编号"));
    code->SetCanNull(false);
    code->SetVisible(true);
    TMstSection* remark = doc->MstSections()->Items(doc->MstSections()->IndexOfField(QStringLiteral("Remark")));
    remark->SetCFieldName(QStringLiteral("备注"));
    remark->SetCanNull(true);
    remark->SetVisible(false);

    auto labelled = [&](const char* field) {
        auto* e = new tQxDBLabelEdit(&form);
        e->SetLabelCaption(QStringLiteral("old"));
        e->SetDataSource(&source);
        e->SetDataField(QString::fromLatin1(field));
        e->show();
        ApplyLabelledLook(e);
        return e;
    };
    tQxDBLabelEdit* required = labelled("ItemCode");
    EXPECT_EQ(required->LabelCaption(), QStringLiteral("零件编号"));
    EXPECT_EQ(required->LabelColor(), clNavy);
    EXPECT_FALSE(required->isHidden());

    tQxDBLabelEdit* hidden = labelled("Remark");
    EXPECT_EQ(hidden->LabelCaption(), QStringLiteral("备注"));
    EXPECT_NE(hidden->LabelColor(), clNavy);
    EXPECT_TRUE(hidden->isHidden());

    // A field the definitions do not hold, and an edit over a plain table, keep their own caption.
    tQxDBLabelEdit* other = labelled("Unknown");
    EXPECT_EQ(other->LabelCaption(), QStringLiteral("old"));
    TQxMemTable plain;
    plain.FieldDefs()->Add(QStringLiteral("ItemCode"), ftString, 20);
    plain.CreateTable();
    plain.Open();
    TDataSource plainSource;
    plainSource.SetDataSet(&plain);
    auto* overPlain = new tQxDBLabelEdit(&form);
    overPlain->SetLabelCaption(QStringLiteral("old"));
    overPlain->SetDataSource(&plainSource);
    overPlain->SetDataField(QStringLiteral("ItemCode"));
    ApplyLabelledLook(overPlain);
    EXPECT_EQ(overPlain->LabelCaption(), QStringLiteral("old"));
    delete overPlain;
}

} // namespace

namespace {

TEST_F(FieldPicker, StaffPickersWriteTheNameAndStockPickersTheStockIndex)
{
    exec("CREATE TABLE tWorker (Remark TEXT(10), Name TEXT(20)); INSERT INTO tWorker VALUES ('W1', '王五');");
    dm->conSystem->Execute(QStringLiteral("insert into tRctStr (RctCode) values ('BWorker'), ('BStock')"));
    {
        TQxRctStr s;
        s.SetSQLMstSQL(QStringLiteral("Select Remark, Name from tWorker"));
        s.SaveByCode(QStringLiteral("BWorker"));
        s.SetSQLMstSQL(QStringLiteral("Select ItemCode, ItemName, Location, StockIndex from tMaterial"));
        s.SaveByCode(QStringLiteral("BStock"));
    }
    doc->MstSections()->Items(3)->SetActionType(QStringLiteral("BWorker"));
    doc->MstSections()->Items(0)->SetActionType(QStringLiteral("BStock"));

    // The staff picker is opened for Remark, whose records also have a Name: the name wins.
    scripted->answerDialog([&](QDialog& d) { picker(d).BtnOkClick(nullptr); });
    PickFieldValue(edit("Remark"));
    EXPECT_EQ(value("Remark"), QStringLiteral("王五"));

    // The stock picker of a grid line brings the line's stock index along.
    TQxDBGrid grid(&form);
    grid.SetDataSource(&source);
    scripted->answerDialog([&](QDialog& d) {
        picker(d).TblSelect->Last();
        picker(d).BtnOkClick(nullptr);
    });
    PickFieldValue(&grid);
    EXPECT_EQ(value("ItemCode"), QStringLiteral("A02"));
    EXPECT_EQ(value("StockIndex"), QStringLiteral("8"));
    grid.SetDataSource(nullptr);
    EXPECT_EQ(scripted->unexpected(), 0);
}

} // namespace

namespace {

TEST_F(FieldPicker, APickedCodeRunsTheStructuresLookupOfTheFieldsThatDependOnIt)
{
    doc->MstSections()->Items(0)->SetTableName(QStringLiteral("tMaterial"));
    doc->MstSections()->Items(1)->SetLookupKey(QStringLiteral("ItemCode"));
    doc->MstSections()->Items(4)->SetLookupKey(QStringLiteral("ItemCode"));
    TQxRctStr* d = doc.get();
    doc->FieldByName(QStringLiteral("ItemCode"))->OnSetText = [d](TField* Sender, const QString& Text) {
        d->LookupFieldText(Sender, Text);
    };
    scripted->answerDialog([&](QDialog& dlg) {
        picker(dlg).TblSelect->Last();
        picker(dlg).BtnOkClick(nullptr);
    });
    PickFieldValue(edit("ItemCode"));
    EXPECT_EQ(value("ItemCode"), QStringLiteral("A02"));
    EXPECT_EQ(value("ItemName"), QStringLiteral("排线"));
    EXPECT_EQ(value("Location"), QStringLiteral("S2"));
}

} // namespace
