// The login dialog: right and wrong passwords, a clear password of an older database that is
// replaced by its hash, cancelling at start-up and during a change of operator, the password
// change and the keys of the password edits.
#include "ShellFixture.h"

#include "app/shell/ColorPanel.h"

#include "app/shell/uAlogin.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QTest>

namespace qx::app::test {
namespace {

class LoginTest : public ShellTest
{
protected:
    // A shown login dialog with its operator list filled.
    TFrmALogin* openLogin()
    {
        auto* login = new TFrmALogin;
        m_login = login;
        login->show();
        QCoreApplication::processEvents();
        return login;
    }

    void TearDown() override
    {
        if (m_login)
            delete m_login.data();
        ShellTest::TearDown();
    }

    static void choose(TFrmALogin* login, const QString& code, const QString& password)
    {
        login->CbxUsercode->setCurrentIndex(login->CbxUsercode->findText(code));
        login->EdtPassword->setText(password);
    }

    static void click(QWidget* button)
    {
        QTest::mouseClick(button, Qt::LeftButton);
    }

    QPointer<TFrmALogin> m_login;
};

TEST_F(LoginTest, ListsEveryOperatorOnce)
{
    addOperator(QStringLiteral("张三"), hashPassword(QStringLiteral("ABC")),
                {QStringLiteral("主-工单管理"), QStringLiteral("主-库存管理")});
    TFrmALogin* login = openLogin();
    QStringList codes;
    for (int i = 0; i < login->CbxUsercode->count(); ++i)
        codes << login->CbxUsercode->itemText(i);
    EXPECT_EQ(codes.count(QStringLiteral("张三")), 1);
    EXPECT_TRUE(codes.contains(QStringLiteral("高级用户")));
    EXPECT_EQ(login->ActivePage(), QStringLiteral("Change"));
    EXPECT_FALSE(login->pnlleft->isVisible());
}

// Letter case of A-Z does not count, in either direction.
TEST_F(LoginTest, RightPasswordLogsIn)
{
    const struct
    {
        const char16_t* stored;
        const char16_t* typed;
    } cases[] = {{u"abc", u"ABC"}, {u"ABC", u"abc"}, {u"口令x", u"口令X"}, {u"", u""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.stored).toStdString());
        exec(QStringLiteral("delete from t_UserDB where UserCode = '张三'"));
        addOperator(QStringLiteral("张三"), hashPassword(QString::fromUtf16(c.stored)), {QStringLiteral("主-工单管理")});
        CurrentUser.clear();
        TFrmALogin* login = openLogin();
        choose(login, QStringLiteral("张三"), QString::fromUtf16(c.typed));
        click(login->BtnLogin);
        EXPECT_EQ(CurrentUser, QStringLiteral("张三"));
        flushDeletes();
        EXPECT_TRUE(m_login.isNull()) << "a closed login frees itself";
        EXPECT_TRUE(dialogs().messages().isEmpty());
    }
}

TEST_F(LoginTest, WrongPasswordIsRefusedAndClearsTheOperator)
{
    addOperator(QStringLiteral("张三"), hashPassword(QStringLiteral("ABC")), {QStringLiteral("主-工单管理")});
    CurrentUser = QStringLiteral("高级用户");
    TFrmALogin* login = openLogin();
    choose(login, QStringLiteral("张三"), QStringLiteral("abd"));
    dialogs().answerMessage(mrOk);
    click(login->BtnLogin);
    EXPECT_EQ(dialogs().messages(), QStringList{QStringLiteral("口令不对请重新输入")});
    EXPECT_TRUE(CurrentUser.isEmpty());
    EXPECT_TRUE(login->isVisible());
}

TEST_F(LoginTest, UnknownOperatorIsRefused)
{
    addOperator(QStringLiteral("张三"), hashPassword(QStringLiteral("ABC")), {QStringLiteral("主-工单管理")});
    TFrmALogin* login = openLogin();
    choose(login, QStringLiteral("张三"), QStringLiteral("abc"));
    // Deleted by another workstation after the list was read.
    exec(QStringLiteral("delete from t_UserDB where UserCode = '张三'"));
    dialogs().answerMessage(mrOk);
    click(login->BtnLogin);
    EXPECT_EQ(dialogs().messages(), QStringList{QStringLiteral("此用户不存在")});
    EXPECT_TRUE(CurrentUser.isEmpty());
}

TEST_F(LoginTest, QuotesInTheOperatorCodeAreData)
{
    addOperator(QStringLiteral("a'b"), hashPassword(QStringLiteral("X")), {QStringLiteral("主-工单管理")});
    TFrmALogin* login = openLogin();
    choose(login, QStringLiteral("a'b"), QStringLiteral("x"));
    click(login->BtnLogin);
    EXPECT_EQ(CurrentUser, QStringLiteral("a'b"));
}

TEST_F(LoginTest, ClearPasswordOfAnOlderDatabaseIsReplacedByItsHash)
{
    addOperator(QStringLiteral("老王"), QStringLiteral("abc"),
                {QStringLiteral("主-工单管理"), QStringLiteral("主-库存管理"), QStringLiteral("主-盘点管理")});
    TFrmALogin* login = openLogin();
    choose(login, QStringLiteral("老王"), QStringLiteral("ABC"));
    click(login->BtnLogin);
    EXPECT_EQ(CurrentUser, QStringLiteral("老王"));
    const QStringList stored = storedPasswords(QStringLiteral("老王"));
    ASSERT_EQ(stored.size(), 3);
    for (const QString& s : stored) {
        EXPECT_TRUE(isPasswordHash(s));
        EXPECT_EQ(verifyPassword(s, QStringLiteral("abc")), PasswordCheck::Match);
    }
}

TEST_F(LoginTest, WrongClearPasswordStaysAsItWas)
{
    addOperator(QStringLiteral("老王"), QStringLiteral("abc"), {QStringLiteral("主-工单管理")});
    TFrmALogin* login = openLogin();
    choose(login, QStringLiteral("老王"), QStringLiteral("abx"));
    dialogs().answerMessage(mrOk);
    click(login->BtnLogin);
    EXPECT_EQ(storedPasswords(QStringLiteral("老王")), QStringList{QStringLiteral("abc")});
}

TEST_F(LoginTest, CancelAtStartupEndsTheProgram)
{
    TFrmALogin* login = openLogin();
    click(login->BtnCancel);
    EXPECT_TRUE(programTerminated());
    EXPECT_TRUE(CurrentUser.isEmpty());
}

TEST_F(LoginTest, CancelDuringAChangeOfOperatorKeepsThePreviousOperator)
{
    addOperator(QStringLiteral("张三"), hashPassword(QStringLiteral("ABC")), {QStringLiteral("主-工单管理")});
    CurrentUser = QStringLiteral("高级用户");
    TFrmALogin* login = openLogin();
    login->SetChangeOperator(CurrentUser);
    choose(login, QStringLiteral("张三"), QStringLiteral("wrong"));
    dialogs().answerMessage(mrOk);
    click(login->BtnLogin);
    ASSERT_TRUE(CurrentUser.isEmpty());
    click(login->BtnCancel);
    EXPECT_EQ(CurrentUser, QStringLiteral("高级用户"));
    EXPECT_FALSE(programTerminated());
    flushDeletes();
    EXPECT_TRUE(m_login.isNull());
}

TEST_F(LoginTest, PasswordChangeRewritesEveryRowOfTheOperator)
{
    const QStringList rights{QStringLiteral("主-工单管理"), QStringLiteral("主-库存管理"),
                             QStringLiteral("主-盘点管理"), QStringLiteral("主-采购管理"),
                             QStringLiteral("主-其他收支")};
    addOperator(QStringLiteral("张三"), hashPassword(QStringLiteral("OLD")), rights);
    addOperator(QStringLiteral("李四"), hashPassword(QStringLiteral("OLD")), {QStringLiteral("主-工单管理")});
    TFrmALogin* login = openLogin();
    choose(login, QStringLiteral("张三"), QStringLiteral("old"));
    click(login->BtnChangePassword);
    ASSERT_EQ(login->ActivePage(), QStringLiteral("Default"));
    EXPECT_EQ(CurrentUser, QStringLiteral("张三"));

    // Two different entries write nothing and say nothing.
    login->Edit2->setText(QStringLiteral("new1"));
    login->Edit3->setText(QStringLiteral("new2"));
    click(login->BtnOk);
    EXPECT_EQ(login->ActivePage(), QStringLiteral("Default"));
    EXPECT_EQ(verifyPassword(storedPasswords(QStringLiteral("张三")).first(), QStringLiteral("old")),
              PasswordCheck::Match);

    // The confirmation ignores the case of A-Z, as the login does.
    login->Edit2->setText(QStringLiteral("new1"));
    login->Edit3->setText(QStringLiteral("NEW1"));
    click(login->BtnOk);
    EXPECT_EQ(login->ActivePage(), QStringLiteral("Change"));
    const QStringList stored = storedPasswords(QStringLiteral("张三"));
    ASSERT_EQ(stored.size(), 5);
    for (const QString& s : stored)
        EXPECT_EQ(verifyPassword(s, QStringLiteral("New1")), PasswordCheck::Match);
    EXPECT_EQ(verifyPassword(storedPasswords(QStringLiteral("李四")).first(), QStringLiteral("old")),
              PasswordCheck::Match);
    EXPECT_TRUE(dialogs().messages().isEmpty());

    // The operator logs in with the new password.
    choose(login, QStringLiteral("张三"), QStringLiteral("NEW1"));
    click(login->BtnLogin);
    EXPECT_EQ(CurrentUser, QStringLiteral("张三"));
}

TEST_F(LoginTest, PasswordChangeNeedsTheRightPassword)
{
    addOperator(QStringLiteral("张三"), hashPassword(QStringLiteral("OLD")), {QStringLiteral("主-工单管理")});
    TFrmALogin* login = openLogin();
    choose(login, QStringLiteral("张三"), QStringLiteral("bad"));
    dialogs().answerMessage(mrOk);
    click(login->BtnChangePassword);
    EXPECT_EQ(dialogs().messages(), QStringList{QStringLiteral("口令不对请重新输入")});
    EXPECT_EQ(login->ActivePage(), QStringLiteral("Change"));
}

TEST_F(LoginTest, CancelOnTheNewPasswordPageWritesNothing)
{
    addOperator(QStringLiteral("张三"), hashPassword(QStringLiteral("OLD")), {QStringLiteral("主-工单管理")});
    TFrmALogin* login = openLogin();
    choose(login, QStringLiteral("张三"), QStringLiteral("old"));
    click(login->BtnChangePassword);
    login->Edit2->setText(QStringLiteral("x"));
    login->Edit3->setText(QStringLiteral("x"));
    click(login->BtnCancelPassword);
    EXPECT_EQ(login->ActivePage(), QStringLiteral("Change"));
    EXPECT_EQ(verifyPassword(storedPasswords(QStringLiteral("张三")).first(), QStringLiteral("old")),
              PasswordCheck::Match);
}

TEST_F(LoginTest, EnterInThePasswordEditMovesToTheLoginButton)
{
    TFrmALogin* login = openLogin();
    QApplication::setActiveWindow(login);
    login->EdtPassword->setFocus();
    QTest::keyClick(login->EdtPassword, Qt::Key_Return);
    EXPECT_EQ(login->focusWidget(), login->BtnLogin);
    EXPECT_TRUE(CurrentUser.isEmpty()) << "Enter does not press the button";
    login->EdtPassword->setFocus();
    QTest::keyClick(login->EdtPassword, Qt::Key_Up);
    EXPECT_EQ(login->focusWidget(), login->CbxUsercode);
}

} // namespace
} // namespace qx::app::test
