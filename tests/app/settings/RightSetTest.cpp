// The operators-and-rights dialog: the rights it offers, adding, deleting and granting with
// their refusals, moving rights between the lists, and storing them as the operator's rows in
// one transaction that keeps the password hash and remark.
#include "SettingsFixture.h"

#include "app/schema/OperatorRights.h"
#include "app/settings/RightsCatalog.h"
#include "app/settings/SettingsForms.h"
#include "app/settings/uARightSet.h"
#include "app/shell/ColorPanel.h"
#include "app/shell/uAMain.h"
#include "app/shell/uAlogin.h"
#include "usystem/vcl/ado/uQxADODB.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>

namespace qx::app::test {

class RightSetTest : public SettingsTest
{
protected:
    void SetUp() override
    {
        SettingsTest::SetUp();
        CurrentUser = administratorCode();
        m_hash = hashPassword(QStringLiteral("pw"));
    }

    // The dialog with the report-centre menu of the main window: "报表设置", a separator and
    // the stored reports.
    TFrmRightSet* openRights(const QStringList& reports = {})
    {
        m_menu = std::make_unique<QMenu>();
        m_menu->addAction(QStringLiteral("报表设置"));
        m_menu->addSeparator();
        for (const QString& report : reports)
            m_menu->addAction(report);
        return showForm(new TFrmRightSet(m_menu.get()));
    }

    static QStringList items(TQxListBox* list) { return list->Items()->Text(); }

    // Selects the operator in the grid with a click on its row.
    static void selectOperator(TFrmRightSet* form, const QString& code)
    {
        int row = 0;
        for (form->qryUser->First(); !form->qryUser->Eof(); form->qryUser->Next(), ++row) {
            if (form->qryUser->FieldByName(QStringLiteral("UserCode"))->AsString() == code)
                break;
        }
        ASSERT_FALSE(form->qryUser->Eof()) << code.toStdString() << " is not listed";
        form->qryUser->First();
        clickGridRow(form->DBGrid1, row);
        ASSERT_EQ(form->qryUser->FieldByName(QStringLiteral("UserCode"))->AsString(), code);
    }

    // "授权" for the operator.
    void grant(TFrmRightSet* form, const QString& code)
    {
        selectOperator(form, code);
        click(form->BtnGrant);
        ASSERT_EQ(form->ActivePage(), QStringLiteral("Right"));
    }

    QStringList listedOperators(TFrmRightSet* form)
    {
        QStringList codes;
        for (form->qryUser->First(); !form->qryUser->Eof(); form->qryUser->Next())
            codes << form->qryUser->FieldByName(QStringLiteral("UserCode"))->AsString();
        form->qryUser->First();
        return codes;
    }

    QString m_hash;
    std::unique_ptr<QMenu> m_menu;
};

// The fixed rights in order with their blanks, the empty entry, then the report entries.
TEST_F(RightSetTest, OffersTheFixedRightsTheEmptyEntryAndTheReports)
{
    addOperator(QStringLiteral("张三"), m_hash, {QStringLiteral("主-采购管理")});
    TFrmRightSet* form = openRights({QStringLiteral("维修历史")});
    EXPECT_EQ(form->ActivePage(), QStringLiteral("User"));
    EXPECT_FALSE(form->pnlleft->isVisible());
    grant(form, QStringLiteral("张三"));

    QStringList expected = fixedRights();
    expected.removeOne(QStringLiteral("主-采购管理"));
    expected << QString() << QStringLiteral("   报表中心-报表设置") << QStringLiteral("   报表中心-维修历史");
    EXPECT_EQ(items(form->listbox2), expected);
    EXPECT_EQ(items(form->listbox1), QStringList{QStringLiteral("主-采购管理")});

    // The list itself: 84 rights, the module rights flush left, their actions indented by
    // four blanks and their editors' rights by eight.
    const QStringList offered = offeredRights({});
    ASSERT_EQ(offered.size(), 85);
    EXPECT_TRUE(offered.last().isEmpty());
    const struct
    {
        int index;
        const char16_t* right;
    } cases[] = {
        {0, u"主-工单管理"},           {1, u"    工单录入-增加"},       {7, u"    工单录入-改车主"},
        {8, u"        维修结算单-打印"}, {10, u"        维修结算单-配件成本"}, {11, u"主-采购管理"},
        {20, u"        入库单-保存审核"}, {21, u"主-库存管理"},            {68, u"主-固定资料"},
        {69, u"    基本定义-员工信息"},   {75, u"主-分类统计"},             {76, u"主-财务统计"},
        {77, u"主-系统设置"},           {82, u"    系统设置-操作员及权限"}, {83, u"主-报表中心"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(offered[c.index], QString::fromUtf16(c.right)) << c.index;
}

// Report items are read from the menu at each "授权", blank and separator items left out and a
// caption that comes twice offered once.
TEST_F(RightSetTest, ReportEntriesAreListedOnceAfterGrantingTwice)
{
    addOperator(QStringLiteral("张三"), m_hash, {QStringLiteral("   报表中心-月报")});
    TFrmRightSet* form = openRights({QStringLiteral("月报"), QStringLiteral("年报"), QStringLiteral(" "),
                                     QStringLiteral("年报")});
    for (int pass = 0; pass < 2; ++pass) {
        SCOPED_TRACE(pass);
        grant(form, QStringLiteral("张三"));
        const QStringList offered = items(form->listbox2);
        EXPECT_EQ(offered.count(QStringLiteral("   报表中心-报表设置")), 1);
        EXPECT_EQ(offered.count(QStringLiteral("   报表中心-年报")), 1);
        EXPECT_FALSE(offered.contains(QStringLiteral("   报表中心-月报")));
        EXPECT_FALSE(offered.contains(QStringLiteral("   报表中心- ")));
        EXPECT_EQ(items(form->listbox1), QStringList{QStringLiteral("   报表中心-月报")});
        click(form->BtnOk);
        EXPECT_EQ(form->ActivePage(), QStringLiteral("User"));
    }
}

// A second operator is offered every right it does not hold, those of the first included.
TEST_F(RightSetTest, EachOperatorIsOfferedWhatItDoesNotHold)
{
    addOperator(QStringLiteral("张三"), m_hash, {QStringLiteral("主-工单管理")});
    addOperator(QStringLiteral("李四"), m_hash, {QStringLiteral("主-库存管理")});
    TFrmRightSet* form = openRights();
    grant(form, QStringLiteral("张三"));
    clickListItem(form->listbox2, int(items(form->listbox2).indexOf(QStringLiteral("    工单录入-增加"))));
    click(form->BtnAddRight);
    click(form->BtnOk);
    EXPECT_EQ(rightsOf(QStringLiteral("张三")),
              (QStringList{QStringLiteral("主-工单管理"), QStringLiteral("    工单录入-增加")}));

    grant(form, QStringLiteral("李四"));
    EXPECT_TRUE(items(form->listbox2).contains(QStringLiteral("主-工单管理")));
    EXPECT_TRUE(items(form->listbox2).contains(QStringLiteral("    工单录入-增加")));
    EXPECT_FALSE(items(form->listbox2).contains(QStringLiteral("主-库存管理")));
}

TEST_F(RightSetTest, AddAsksForTheCodeAndAddsItOnce)
{
    addOperator(QStringLiteral("zs"), m_hash, {QStringLiteral("主-工单管理")});
    const struct
    {
        const char* what;
        std::optional<QString> answer;
        bool added;
    } cases[] = {
        {"a new code", QStringLiteral("王五"), true},
        {"a code with a quote", QStringLiteral("a'b"), true},
        {"an empty answer", QString(), false},
        {"cancelled", std::nullopt, false},
        {"a listed code", QStringLiteral("zs"), false},
        {"a listed code in other letters", QStringLiteral("ZS"), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        exec(QStringLiteral("delete from t_UserDB where UserCode in ('王五', 'a''b')"));
        dialogs().clear();
        TFrmRightSet* form = openRights();
        const QStringList before = listedOperators(form);
        dialogs().answerInput(c.answer);
        click(form->BtnAdd);
        ASSERT_EQ(dialogs().shown().size(), 1);
        EXPECT_EQ(dialogs().shown()[0].kind, ShownDialog::InputBox);
        EXPECT_EQ(dialogs().shown()[0].caption, QStringLiteral("请输入新增用户代号"));
        EXPECT_EQ(dialogs().shown()[0].text, QStringLiteral("请输入新增用户代号"));
        const QStringList after = listedOperators(form);
        EXPECT_EQ(after.size(), before.size() + (c.added ? 1 : 0));
        if (c.added) {
            EXPECT_TRUE(after.contains(*c.answer));
            // No password, remark or right yet: the operator logs in with an empty password.
            EXPECT_EQ(userRows(*c.answer), QList<UserRow>{UserRow{}});
        }
        EXPECT_EQ(userRows(QStringLiteral("zs")).size(), 1);
        delete form;
    }
}

TEST_F(RightSetTest, DeleteTakesTheOperatorWithoutAQuestion)
{
    addOperator(QStringLiteral("张三"), m_hash, {QStringLiteral("主-工单管理"), QStringLiteral("主-库存管理")});
    TFrmRightSet* form = openRights();
    selectOperator(form, QStringLiteral("张三"));
    click(form->BtnDelete);
    EXPECT_TRUE(dialogs().shown().isEmpty());
    EXPECT_TRUE(userRows(QStringLiteral("张三")).isEmpty());
    EXPECT_EQ(listedOperators(form), QStringList{administratorCode()});
}

TEST_F(RightSetTest, TheAllRightsOperatorIsNeitherDeletedNorGranted)
{
    addOperator(QStringLiteral("张三"), m_hash, {QStringLiteral("主-工单管理")});
    const int adminRows = userRows(administratorCode()).size();
    TFrmRightSet* form = openRights();
    const struct
    {
        TQxBitBtn* button;
        const char16_t* message;
    } cases[] = {{form->BtnDelete, u"高级用户不能删除!"}, {form->BtnGrant, u"高级用户已经拥有所有权限!"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.message).toStdString());
        dialogs().clear();
        selectOperator(form, administratorCode());
        dialogs().answerMessage(mrOk);
        click(c.button);
        EXPECT_EQ(dialogs().messages(), QStringList{QString::fromUtf16(c.message)});
        EXPECT_EQ(form->ActivePage(), QStringLiteral("User"));
        EXPECT_EQ(userRows(administratorCode()).size(), adminRows);
    }
}

// With one operator left, "删除" does nothing: somebody must be able to log in.
TEST_F(RightSetTest, TheLastOperatorStays)
{
    addOperator(QStringLiteral("张三"), m_hash, {QStringLiteral("主-工单管理")});
    exec(QStringLiteral("delete from t_UserDB where UserCode = :u"), {{QStringLiteral("u"), administratorCode()}});
    TFrmRightSet* form = openRights();
    click(form->BtnDelete);
    EXPECT_TRUE(dialogs().shown().isEmpty());
    EXPECT_EQ(rightsOf(QStringLiteral("张三")), QStringList{QStringLiteral("主-工单管理")});
}

TEST_F(RightSetTest, GrantWithoutOperatorsDoesNothing)
{
    exec(QStringLiteral("delete from t_UserDB"));
    TFrmRightSet* form = openRights();
    click(form->BtnGrant);
    click(form->BtnDelete);
    EXPECT_EQ(form->ActivePage(), QStringLiteral("User"));
    EXPECT_TRUE(dialogs().shown().isEmpty());
}

// One entry each way, then all of them each way; an entry the other list holds stays.
TEST_F(RightSetTest, MovesEntriesBetweenTheLists)
{
    addOperator(QStringLiteral("张三"), m_hash, {QStringLiteral("主-工单管理")});
    TFrmRightSet* form = openRights({QStringLiteral("月报")});
    grant(form, QStringLiteral("张三"));
    const int offered = form->listbox2->Items()->Count();

    clickListItem(form->listbox2, 0); // "    工单录入-增加" now heads the list
    click(form->BtnAddRight);
    EXPECT_EQ(items(form->listbox1), (QStringList{QStringLiteral("主-工单管理"), QStringLiteral("    工单录入-增加")}));
    EXPECT_EQ(form->listbox2->Items()->Count(), offered - 1);

    clickListItem(form->listbox1, 0);
    click(form->BtnRemoveRight);
    EXPECT_EQ(items(form->listbox1), QStringList{QStringLiteral("    工单录入-增加")});
    EXPECT_EQ(items(form->listbox2).last(), QStringLiteral("主-工单管理"));

    // Nothing selected: nothing moves.
    form->listbox2->SetItemIndex(-1);
    click(form->BtnAddRight);
    EXPECT_EQ(form->listbox1->Items()->Count(), 1);

    click(form->BtnAddAll);
    EXPECT_EQ(form->listbox2->Items()->Count(), 0);
    EXPECT_EQ(form->listbox1->Items()->Count(), offered + 1);
    EXPECT_TRUE(items(form->listbox1).contains(QStringLiteral("   报表中心-月报")));

    click(form->BtnRemoveAll);
    EXPECT_EQ(form->listbox1->Items()->Count(), 0);
    EXPECT_EQ(form->listbox2->Items()->Count(), offered + 1);

    // An entry already held is not moved again.
    form->listbox1->Items()->Add(QStringLiteral("主-库存管理"));
    const int before = form->listbox2->Items()->Count();
    clickListItem(form->listbox2, int(items(form->listbox2).indexOf(QStringLiteral("主-库存管理"))));
    click(form->BtnAddRight);
    EXPECT_EQ(form->listbox2->Items()->Count(), before);
    EXPECT_EQ(items(form->listbox1).count(QStringLiteral("主-库存管理")), 1);
}

// The held list in order, blanks and all, each row with the operator's hash and remark.
TEST_F(RightSetTest, OkStoresTheHeldListKeepingPasswordAndRemark)
{
    addOperator(QStringLiteral("张三"), m_hash, {QStringLiteral("主-工单管理")});
    exec(QStringLiteral("update t_UserDB set Remark = '前台' where UserCode = '张三'"));
    TFrmRightSet* form = openRights({QStringLiteral("月报")});
    grant(form, QStringLiteral("张三"));
    for (const char16_t* right : {u"   报表中心-月报", u"        维修结算单-打印", u""}) {
        clickListItem(form->listbox2, int(items(form->listbox2).indexOf(QString::fromUtf16(right))));
        click(form->BtnAddRight);
    }
    click(form->BtnOk);
    EXPECT_EQ(form->ActivePage(), QStringLiteral("User"));
    const QString remark = QStringLiteral("前台");
    EXPECT_EQ(userRows(QStringLiteral("张三")),
              (QList<UserRow>{{m_hash, remark, QStringLiteral("主-工单管理")},
                              {m_hash, remark, QStringLiteral("   报表中心-月报")},
                              {m_hash, remark, QStringLiteral("        维修结算单-打印")}}));
    EXPECT_EQ(verifyPassword(userRows(QStringLiteral("张三"))[0].password, QStringLiteral("PW")),
              PasswordCheck::Match);
}

// An empty held list leaves one row with an empty right: the operator stays listed and logs
// in. So does an operator that never had a right, whose empty row comes into the held list.
TEST_F(RightSetTest, StoringNoRightKeepsTheOperator)
{
    addOperator(QStringLiteral("张三"), m_hash, {QStringLiteral("主-工单管理"), QStringLiteral("主-库存管理")});
    addOperator(QStringLiteral("新人"), m_hash, {});
    TFrmRightSet* form = openRights();
    for (const QString& code : {QStringLiteral("张三"), QStringLiteral("新人")}) {
        SCOPED_TRACE(code.toStdString());
        grant(form, code);
        click(form->BtnRemoveAll);
        click(form->BtnOk);
        EXPECT_EQ(userRows(code), QList<UserRow>{(UserRow{m_hash, QString(), QString()})});
        EXPECT_TRUE(listedOperators(form).contains(code));
    }

    CurrentUser.clear();
    auto* login = new TFrmALogin;
    QPointer<TFrmALogin> loginAlive(login);
    login->show();
    QCoreApplication::processEvents();
    login->CbxUsercode->setCurrentIndex(login->CbxUsercode->findText(QStringLiteral("张三")));
    login->EdtPassword->setText(QStringLiteral("pw"));
    click(login->BtnLogin);
    EXPECT_EQ(CurrentUser, QStringLiteral("张三"));
    flushDeletes();
    EXPECT_TRUE(loginAlive.isNull()) << "a login that succeeded closes";
    EXPECT_FALSE(module->CheckRight(QStringLiteral("主"), QStringLiteral("工单管理"), false));
}

// A failure part-way through the rows rolls all of them back.
TEST_F(RightSetTest, AFailureWhileStoringLeavesTheRowsAsTheyWere)
{
    addOperator(QStringLiteral("张三"), m_hash, {QStringLiteral("主-工单管理"), QStringLiteral("主-库存管理")});
    const QList<UserRow> before = userRows(QStringLiteral("张三"));
    exec(QStringLiteral("create trigger refuse_right before insert on t_UserDB "
                        "when new.\"Right\" = '主-盘点管理' begin select raise(abort, '磁盘已满'); end"));
    TFrmRightSet* form = openRights();
    grant(form, QStringLiteral("张三"));
    clickListItem(form->listbox2, int(items(form->listbox2).indexOf(QStringLiteral("主-盘点管理"))));
    click(form->BtnAddRight);
    dialogs().answerMessage(mrOk);
    click(form->BtnOk);
    ASSERT_EQ(dialogs().messages().size(), 1);
    EXPECT_TRUE(dialogs().messages()[0].contains(QStringLiteral("磁盘已满")))
        << dialogs().messages()[0].toStdString();
    EXPECT_EQ(userRows(QStringLiteral("张三")), before);
    EXPECT_FALSE(module->ADOConnection->InTransaction());
    EXPECT_TRUE(listedOperators(form).contains(QStringLiteral("张三")));
}

// The stored entry keeps its blanks; the rights check trims them.
TEST_F(RightSetTest, AStoredIndentedRightPassesTheCheck)
{
    addOperator(QStringLiteral("张三"), m_hash, {QStringLiteral("主-工单管理")});
    TFrmRightSet* form = openRights();
    grant(form, QStringLiteral("张三"));
    clickListItem(form->listbox2, int(items(form->listbox2).indexOf(QStringLiteral("    工单录入-增加"))));
    click(form->BtnAddRight);
    click(form->BtnOk);
    EXPECT_TRUE(rightsOf(QStringLiteral("张三")).contains(QStringLiteral("    工单录入-增加")));
    CurrentUser = QStringLiteral("张三");
    EXPECT_TRUE(module->CheckRight(QStringLiteral("工单录入"), QStringLiteral("增加"), false));
    EXPECT_FALSE(module->CheckRight(QStringLiteral("工单录入"), QStringLiteral("删除"), false));
}

// An operator code holding a quote is data all the way: added, granted, logged in, deleted.
TEST_F(RightSetTest, ACodeWithAQuoteWorksThroughout)
{
    const QString code = QStringLiteral("O'Neil");
    TFrmRightSet* form = openRights();
    dialogs().answerInput(code);
    click(form->BtnAdd);
    grant(form, code);
    clickListItem(form->listbox2, 0);
    click(form->BtnAddRight);
    click(form->BtnOk);
    EXPECT_EQ(rightsOf(code), QStringList{QStringLiteral("主-工单管理")});

    CurrentUser.clear();
    auto* login = new TFrmALogin;
    QPointer<TFrmALogin> loginAlive(login);
    login->show();
    QCoreApplication::processEvents();
    login->CbxUsercode->setCurrentIndex(login->CbxUsercode->findText(code));
    click(login->BtnLogin);
    EXPECT_EQ(CurrentUser, code);
    EXPECT_TRUE(module->CheckRight(QStringLiteral("主"), QStringLiteral("工单管理"), false));
    flushDeletes();
    EXPECT_TRUE(loginAlive.isNull());

    selectOperator(form, code);
    click(form->BtnDelete);
    EXPECT_TRUE(userRows(code).isEmpty());
    EXPECT_TRUE(dialogs().messages().isEmpty());
}

// The main window's "操作员及权限" opens the dialog registered at start-up, which offers the
// reports of the window's own menu.
TEST_F(RightSetTest, TheMainWindowOpensItWithItsReportMenu)
{
    exec(QStringLiteral("insert into tQueryReport (FormName, ReportName, OrderIndex) values ('报表中心', '维修历史', 1)"));
    addOperator(QStringLiteral("张三"), m_hash, {QStringLiteral("主-工单管理")});
    registerSettingsForms();
    TFrmAMain window;
    dialogs().answerDialog([](QDialog& dialog) {
        auto& login = dynamic_cast<TFrmALogin&>(dialog);
        login.CbxUsercode->setCurrentIndex(login.CbxUsercode->findText(administratorCode()));
        click(login.BtnLogin);
    });
    window.show();
    QCoreApplication::processEvents();
    ASSERT_EQ(CurrentUser, administratorCode());

    QStringList offered;
    QString caption;
    dialogs().answerDialog([&](QDialog& dialog) {
        auto& form = dynamic_cast<TFrmRightSet&>(dialog);
        caption = form.Caption();
        grant(&form, QStringLiteral("张三"));
        offered = items(form.listbox2);
        form.Close();
    });
    window.ClickMenuItem(window.MenuItem(QStringLiteral("系统管理"), QStringLiteral("操作员及权限")));
    EXPECT_EQ(caption, QStringLiteral("操作员及权限"));
    EXPECT_EQ(offered.mid(offered.size() - 2),
              (QStringList{QStringLiteral("   报表中心-报表设置"), QStringLiteral("   报表中心-维修历史")}));
    window.hide();
}

} // namespace qx::app::test
