// "条码打印" of the main window opens the library's barcode label list dialog modally, with no
// rights check, and the dialog is released when it closes.
#include "ShellFixture.h"

#include "app/schema/Password.h"
#include "app/shell/uALibraryForms.h"
#include "app/shell/uAMain.h"
#include "app/shell/uAlogin.h"
#include "platform/db/QxMemTable.h"
#include "usystem/vcl/controls/uQxButtons.h"
#include "usystem/vcl/codebar/uQxCodebar.h"
#include "usystem/vcl/edits/uQxEdits.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

namespace qx::app::test {
namespace {

class CodeBarMenuTest : public ShellTest
{
protected:
    void TearDown() override
    {
        main.reset();
        ShellTest::TearDown();
    }

    TFrmAMain& loggedIn(const QString& code)
    {
        main = std::make_unique<TFrmAMain>();
        dialogs().answerDialog([code](QDialog& dialog) {
            auto& login = dynamic_cast<TFrmALogin&>(dialog);
            login.CbxUsercode->setCurrentIndex(login.CbxUsercode->findText(code));
            login.EdtPassword->setText(QString());
            QTest::mouseClick(login.BtnLogin, Qt::LeftButton);
        });
        main->show();
        QApplication::setActiveWindow(main.get());
        QCoreApplication::processEvents();
        EXPECT_EQ(CurrentUser, code);
        return *main;
    }

    std::unique_ptr<TFrmAMain> main;
};

TEST_F(CodeBarMenuTest, MenuItemRunsTheLabelListDialogAndReleasesIt)
{
    // An operator without any right: the item asks for none.
    addOperator(QStringLiteral("王五"), hashPassword(QString()), {});
    registerLibraryForms();
    TFrmAMain& window = loggedIn(QStringLiteral("王五"));

    QPointer<TFrmCodeBar> seen;
    int rowsMade = 0;
    dialogs().answerDialog([&](QDialog& dialog) {
        seen = qobject_cast<TFrmCodeBar*>(&dialog);
        ASSERT_TRUE(seen);
        EXPECT_EQ(seen->parent(), nullptr);
        seen->EdtItemCode2->setFocus();
        QTest::keyClicks(seen->EdtItemCode2, QStringLiteral("0099"));
        QTest::mouseClick(seen->Button2, Qt::LeftButton);
        rowsMade = seen->tblitemcode->RecordCount();
        QTest::mouseClick(seen->QxButton1, Qt::LeftButton, {}, QPoint(27, 18));
    });
    window.ClickMenuItem(window.MenuItem(QStringLiteral("系统管理"), QStringLiteral("条码打印")));

    EXPECT_EQ(rowsMade, 1);
    const QList<ShownDialog>& shown = dialogs().shown();
    ASSERT_FALSE(shown.isEmpty());
    EXPECT_EQ(shown.last().kind, ShownDialog::Modal);
    EXPECT_EQ(shown.last().caption, QStringLiteral("条形码设置器"));
    EXPECT_TRUE(dialogs().messages().isEmpty());
    flushDeletes();
    EXPECT_TRUE(seen.isNull());
}

} // namespace
} // namespace qx::app::test
