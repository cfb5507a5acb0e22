// The find dialog as a form: pages chosen by name, cancel and Esc, the keys, the type lists
// read on show, the pick buttons, and RunFind as the browsers call it.
#include "FindFixture.h"

#include "app/master/uAselect.h"
#include "usystem/vcl/ado/uQxADODB.h"

#include <QStackedWidget>

namespace qx::app::test {
namespace {

using FindDialogTest = FindTest;

TEST_F(FindDialogTest, PagesAreChosenByNameWithoutCase)
{
    const struct
    {
        const char* asked;
        const char* shown;
    } cases[] = {
        {"Reception", "Reception"}, {"in", "IN"},         {"DayAccount", "DayAccount"}, {"Stock", "Stock"},
        {"Vehicle", "Vehicle"},     {"Card", "Card"},     {"Check", "Check"},           {"OutStk", "OutStk"},
        {"ServiceItem", "ServiceItem"}, {"Client", "Client"}, {"Supplier", "Supplier"}, {"MCheck", "Mcheck"},
        {"Out", "Out"},             {"CardAdd", "Vehicle"}, {"", "Vehicle"},            {"RECEPTION", "Reception"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.asked);
        TFrmFind form;
        EXPECT_EQ(form.ActivePage(), QStringLiteral("Vehicle"));
        form.SetActivePage(QLatin1String(c.asked));
        EXPECT_EQ(form.ActivePage(), QLatin1String(c.shown));
    }
    TFrmFind form;
    EXPECT_EQ(form.Caption(), QStringLiteral("查询"));
    EXPECT_EQ(form.Notebook1->count(), 13);
    EXPECT_EQ(form.Notebook1->currentIndex(), 4);
    EXPECT_EQ(form.LblHint->Caption(), QStringLiteral("F12 确定查询  ESC 取消退出"));
    EXPECT_EQ(form.BtnOK->Caption(), QStringLiteral("确定"));
    EXPECT_EQ(form.BtnClose->Caption(), QStringLiteral("取消"));
}

TEST_F(FindDialogTest, CancelAndEscWriteNothing)
{
    const auto byButton = [](TFrmFind* form) { QTest::mouseClick(form->BtnClose, Qt::LeftButton); };
    const auto byEsc = [&](TFrmFind* form) {
        QTest::keyClick(control(form, "EdtReceptionBillNo"), Qt::Key_Escape);
    };
    for (const auto& close : {std::function<void(TFrmFind*)>(byButton), std::function<void(TFrmFind*)>(byEsc)}) {
        TFrmFind* form = openFind(QStringLiteral("Reception"));
        fillAll(form, {{"EdtReceptionBillNo", u"WX1"}, {"RgpReceptionState2"}});
        close(form);
        EXPECT_EQ(resultEdit.text(), QString());
        EXPECT_FALSE(form->isVisible());
    }
}

TEST_F(FindDialogTest, F12BuildsFromAnyControl)
{
    for (const char* focused : {"EdtReceptionBillNo", "CbxReceptionBillNo", "DtpReceptionInTimeFrom"}) {
        SCOPED_TRACE(focused);
        TFrmFind* form = openFind(QStringLiteral("Reception"));
        fill(form, {"EdtReceptionBillNo", u"WX1"});
        QTest::keyClick(control(form, focused), Qt::Key_F12);
        EXPECT_EQ(resultEdit.text(), QStringLiteral(" Where  BillNo ='WX1'"));
        EXPECT_FALSE(form->isVisible());
    }
}

// Enter moves to the next control: the form moves it, except from an edit of the library,
// which moves on by itself. Either way the focus goes one step, and Enter never confirms.
TEST_F(FindDialogTest, EnterMovesToTheNextControl)
{
    const struct
    {
        const char* from;
        const char* to;
    } cases[] = {
        {"CbxReceptionBillNo", "EdtReceptionBillNo"},     // operator list
        {"EdtReceptionBillNo", "CbxReceptionReBillNo"},   // value edit
        {"DtpReceptionInTimeFrom", "DtpReceptionInTimeTo"}, // date picker
        {"ChkReceptionInTime", "DtpReceptionInTimeFrom"},   // check box
        {"CbxOutBillNo", "EdtOutBillNo"},                 // operator that accepts typing
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.from);
        const QString page = QLatin1String(c.from).startsWith(QLatin1String("CbxOut")) ? QStringLiteral("Out")
                                                                                       : QStringLiteral("Reception");
        TFrmFind* form = openFind(page);
        QWidget* from = control(form, c.from);
        from->setFocus();
        QTest::keyClick(from, Qt::Key_Return);
        EXPECT_EQ(form->focusWidget(), control(form, c.to));
        EXPECT_TRUE(form->isVisible());
    }

    TFrmFind* form = openFind(QStringLiteral("Reception"));
    fill(form, {"EdtReceptionBillNo", u"WX1"});
    form->BtnOK->setFocus();
    QTest::keyClick(form->BtnOK, Qt::Key_Return);
    EXPECT_EQ(form->focusWidget(), form->BtnClose);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(resultEdit.text(), QString());
}

// Every condition starts empty: no operator chosen, unticked dates on today, the radio groups
// on their start choice.
TEST_F(FindDialogTest, EverySearchStartsFromEmptyControls)
{
    TFrmFind* form = openFind(QStringLiteral("Reception"));
    for (TQxComboBox* op : form->findChildren<TQxComboBox*>())
        EXPECT_EQ(op->ItemIndex(), -1) << op->objectName().toStdString();
    for (TQxEdit* edit : form->findChildren<TQxEdit*>())
        EXPECT_TRUE(edit->Text().isEmpty()) << edit->objectName().toStdString();
    for (TQxCheckBox* box : form->findChildren<TQxCheckBox*>())
        EXPECT_FALSE(box->Checked()) << box->objectName().toStdString();
    for (qx::DatePicker* picker : form->findChildren<qx::DatePicker*>())
        EXPECT_EQ(picker->DateText(), QStringLiteral("2026-03-05")) << picker->objectName().toStdString();
    EXPECT_TRUE(control<QAbstractButton>(form, "RgpReceptionState3")->isChecked());
    EXPECT_TRUE(control<QAbstractButton>(form, "RgpINPayState2")->isChecked());
    EXPECT_TRUE(control<QAbstractButton>(form, "RgpOutReceiptState2")->isChecked());

    // Operators are picked from fixed lists on the first five pages and may be typed on the others.
    for (const find::FindPage& page : find::FindPages()) {
        for (TQxComboBox* op : form->Notebook1->findChild<QWidget*>(page.Name)->findChildren<TQxComboBox*>()) {
            if (!op->objectName().startsWith(QLatin1String("Cbx")))
                continue;
            EXPECT_EQ(op->Style(), page.FixedOperators ? csDropDownList : csDropDown) << op->objectName().toStdString();
        }
    }
    EXPECT_EQ(control<TQxComboBox>(form, "CbxReceptionBillNo")->Items(),
              (QStringList{"等于", "前字符为", "后字符为", "包含于"}));
    EXPECT_EQ(control<TQxComboBox>(form, "CbxCheckCheckType")->Items(), QStringList{"等于"});
    EXPECT_EQ(control<TQxComboBox>(form, "LstCheckCheckType")->Items(), (QStringList{"年审", "季审"}));
    EXPECT_EQ(control<TQxComboBox>(form, "LstDayAccountJD")->Items(), (QStringList{"全部", "收入", "支出"}));
}

// The edit beside "Model：" compares the engine number on work orders and MarkNo on devices.
TEST_F(FindDialogTest, ModelLabelsStandBesideTheirColumns)
{
    TFrmFind* form = openFind(QStringLiteral("Vehicle"));
    EXPECT_EQ(control<TQxLabel>(form, "LblVehicleMarkNo")->Caption(), QStringLiteral("Model："));
    EXPECT_EQ(control<TQxLabel>(form, "LblReceptionEngineNo")->Caption(), QStringLiteral("Model："));
    EXPECT_EQ(control<TQxLabel>(form, "LblVehicleMarkNo")->y(), control(form, "EdtVehicleMarkNo")->y() + 4);
}

// The type lists are read when the dialog is shown on "Client" or "Supplier", in table order;
// other pages leave the scratch query alone.
TEST_F(FindDialogTest, TypeListsAreReadOnShow)
{
    exec(QStringLiteral("insert into t_ClientType (ClientType) values ('批发')"));
    TFrmFind* form = openFind(QStringLiteral("Client"));
    EXPECT_EQ(control<TQxComboBox>(form, "LstClientClientType")->Items(), (QStringList{"个人", "单位", "批发"}));
    EXPECT_EQ(control<TQxComboBox>(form, "LstClientClientType")->ItemIndex(), -1);
    EXPECT_TRUE(control<TQxComboBox>(form, "LstSupplierSupplierType")->Items().isEmpty());

    form = openFind(QStringLiteral("Supplier"));
    EXPECT_EQ(control<TQxComboBox>(form, "LstSupplierSupplierType")->Items(), (QStringList{"配件商", "设备商"}));
    EXPECT_TRUE(control<TQxComboBox>(form, "LstClientClientType")->Items().isEmpty());

    dmdataUnit->QryTemp->Close();
    dmdataUnit->QryTemp->SQL().SetText(QStringLiteral("select 1"));
    for (const find::FindPage& page : find::FindPages()) {
        if (page.Name == QLatin1String("Client") || page.Name == QLatin1String("Supplier"))
            continue;
        openFind(page.Name);
        EXPECT_EQ(dmdataUnit->QryTemp->SQL().Text().trimmed(), QStringLiteral("select 1")) << page.Name.toStdString();
    }
}

void clickEditButton(TQxEdit* edit)
{
    QRect r;
    edit->Button()->GetButtonRect(r);
    ASSERT_FALSE(r.isEmpty()) << edit->objectName().toStdString();
    QTest::mouseClick(edit, Qt::LeftButton, {}, r.center());
}

// A pick button opens the pick list of its name; the value picked lands in the edit.
TEST_F(FindDialogTest, PickButtonsFillTheirEdits)
{
    exec(QStringLiteral("insert into t_VINPre (VIN, Remark) values ('SN-A', ''), ('SN-B', '')"));
    exec(QStringLiteral("insert into t_ReceptionMst (BillNo, CCode) values ('WX1', 'C001'), ('WX2', 'C002')"));
    exec(QStringLiteral("insert into t_MainWorker (MainWorker, Remark) values ('王五', '')"));
    exec(QStringLiteral("insert into t_Receiver (Receiver, Remark) values ('赵六', '')"));
    exec(QStringLiteral("insert into t_Model (Model, Remark) values ('A100', ''), ('B200', '')"));
    exec(QStringLiteral("insert into t_InMst (BillNo, SCode) values ('GJ1', 'S01')"));
    const struct
    {
        const char* page;
        const char* edit;
        const char16_t* picked;
    } cases[] = {
        {"Vehicle", "EdtVehicleVIN", u"SN-B"},      // the serial prefixes
        {"Reception", "EdtReceptionVIN", u"SN-B"},  // the same prefixes on the work orders
        {"Vehicle", "EdtVehicleModel", u"B200"},
        {"Reception", "EdtReceptionModel", u"B200"},
        {"Reception", "EdtReceptionCName", u"C002"}, // the work orders' customer codes
        {"Check", "EdtCheckCName", u"C002"},
        {"Reception", "EdtReceptionMainWorker", u"王五"},
        {"Reception", "EdtReceptionReceiver", u"赵六"},
        {"IN", "EdtINScode", u"S01"},
        {"Out", "EdtOutCcode", u"C002"},
        {"Card", "EdtCardCCode", u"C002"},
        {"OutStk", "EdtOutStkCcode", u"C002"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.edit);
        dialogs().clear();
        TFrmFind* form = openFind(QLatin1String(c.page));
        const QString picked = QString::fromUtf16(c.picked);
        dialogs().answerDialog([&](QDialog& d) {
            auto& list = formOf<TFrmAselect>(d);
            const QString first = list.QrySelect->Fields()->Fields(0)->FieldName();
            ASSERT_TRUE(list.QrySelect->Locate(first, picked));
            QTest::keyClick(list.DBGrid1, Qt::Key_Return);
        });
        clickEditButton(control<TQxEdit>(form, c.edit));
        EXPECT_EQ(control<TQxEdit>(form, c.edit)->Text(), picked);
        ASSERT_EQ(dialogs().shown().size(), 1);
        EXPECT_EQ(dialogs().shown().first().caption, QStringLiteral("选择"));
        flushDeletes();
    }
}

// The owner's button of the device page and the handler's button of the income page open
// nothing; edits without a list carry no button.
TEST_F(FindDialogTest, SomeButtonsOpenNothingAndPlainEditsHaveNone)
{
    for (const auto& [page, edit] : {std::pair{"Vehicle", "EdtVehicleCName"}, std::pair{"DayAccount", "EdtDayAccountCharger"}}) {
        SCOPED_TRACE(edit);
        dialogs().clear();
        TFrmFind* form = openFind(QLatin1String(page));
        clickEditButton(control<TQxEdit>(form, edit));
        EXPECT_TRUE(dialogs().shown().isEmpty());
        EXPECT_TRUE(control<TQxEdit>(form, edit)->Text().isEmpty());
    }
    TFrmFind* form = openFind(QStringLiteral("Reception"));
    for (const char* plain : {"EdtReceptionBillNo", "EdtReceptionTel", "EdtReceptionBNo", "EdtReceptionTimesAmountFrom",
                              "EdtStockItemName", "EdtMcheckBillNo"})
        EXPECT_FALSE(control<TQxEdit>(form, plain)->Button()->Visible()) << plain;
}

// RunFind, as the browsers use it: the edit is emptied first, then cancelled, all rows or a
// where text.
TEST_F(FindDialogTest, RunFindAnswersCancelledAllRowsOrTheWhereText)
{
    QLineEdit edtWhere;
    edtWhere.setText(QStringLiteral("old"));
    dialogs().answerDialog([](QDialog& d) {
        auto& form = formOf<TFrmFind>(d);
        EXPECT_EQ(form.ActivePage(), QStringLiteral("Reception"));
        QTest::keyClick(form.BtnOK, Qt::Key_Escape);
    });
    FindResult r = RunFind(QStringLiteral("Reception"), &edtWhere);
    EXPECT_EQ(r.Outcome, FindResult::Cancelled);
    EXPECT_EQ(edtWhere.text(), QString());
    flushDeletes();

    dialogs().answerDialog([](QDialog& d) { QTest::mouseClick(formOf<TFrmFind>(d).BtnOK, Qt::LeftButton); });
    r = RunFind(QStringLiteral("in"), &edtWhere);
    EXPECT_EQ(r.Outcome, FindResult::AllRows);
    EXPECT_EQ(r.Where, QString());
    flushDeletes();

    dialogs().answerDialog([this](QDialog& d) {
        auto& form = formOf<TFrmFind>(d);
        EXPECT_EQ(form.ActivePage(), QStringLiteral("Stock"));
        fill(&form, {"EdtStockItemCode", u"P'01"});
        QTest::keyClick(control(&form, "EdtStockItemCode"), Qt::Key_F12);
    });
    r = RunFind(QStringLiteral("Stock"), &edtWhere);
    EXPECT_EQ(r.Outcome, FindResult::Condition);
    EXPECT_EQ(r.Where, QStringLiteral(" Where  ItemCode ='P''01'"));
    EXPECT_EQ(edtWhere.text(), r.Where);
    EXPECT_EQ(dialogs().shown().size(), 3);
    EXPECT_EQ(dialogs().shown().last().caption, QStringLiteral("查询"));
}

} // namespace
} // namespace qx::app::test
