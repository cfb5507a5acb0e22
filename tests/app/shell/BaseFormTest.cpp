// The application's base forms: a closed form frees itself, Esc is left to the descendants,
// the browser's title strip and its "保存格式", and the information box.
#include "ShellFixture.h"

#include "app/shell/ColorPanel.h"

#include "app/shell/uABase.h"
#include "app/shell/uABusinessBase.h"
#include "usystem/vcl/controls/uQxButtons.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"

#include <QDir>
#include <QFile>
#include <QPointer>
#include <QTest>

namespace qx::app::test {
namespace {

class BaseFormTest : public ShellTest
{
protected:
    void TearDown() override
    {
        setGridLayoutWriter({});
        ShellTest::TearDown();
    }
};

TEST_F(BaseFormTest, DialogLooksAsTheShopsDialogs)
{
    auto* form = new TFrmABase;
    QPointer<TFrmABase> guard(form);
    EXPECT_EQ(form->width(), 638);
    EXPECT_EQ(form->height(), 450);
    EXPECT_TRUE(form->KeyPreview());
    EXPECT_EQ(form->pnlleft->Align(), alLeft);
    EXPECT_EQ(form->pnlleft->Width(), 41);
    EXPECT_EQ(form->pnlleft->Color(), TColor(0xE3E8B5));
    EXPECT_EQ(form->font().pixelSize(), 12);
    delete guard.data();
}

TEST_F(BaseFormTest, ClosedDialogFreesItself)
{
    auto* form = new TFrmABase;
    QPointer<TFrmABase> guard(form);
    form->show();
    form->Close();
    flushDeletes();
    EXPECT_TRUE(guard.isNull());
}

TEST_F(BaseFormTest, EscIsLeftToTheDescendants)
{
    auto* form = new TFrmABase;
    QPointer<TFrmABase> guard(form);
    int seen = 0;
    form->OnKeyDown = [&](QObject* Sender, int& Key, TShiftState Shift) {
        form->FormKeyDown(Sender, Key, Shift);
        if (Key == 0x1B)
            ++seen;
    };
    form->show();
    QTest::keyClick(form, Qt::Key_Escape);
    flushDeletes();
    ASSERT_FALSE(guard.isNull());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(seen, 1);
    delete guard.data();
}

TEST_F(BaseFormTest, BrowserShowsItsCaptionInTheTitleStrip)
{
    auto* browser = new TFrmABusinessBase;
    QPointer<TFrmABusinessBase> guard(browser);
    browser->SetCaption(QStringLiteral("库存管理"));
    EXPECT_EQ(browser->pnlleft->Width(), 72);
    EXPECT_EQ(browser->BtnClose->Caption(), QStringLiteral("退出"));
    EXPECT_EQ(browser->SpeedButton2->Caption(), QStringLiteral("保存格式"));
    browser->show();
    EXPECT_EQ(browser->lblBillType->Caption(), QStringLiteral("库存管理"));
    EXPECT_EQ(browser->pnlbase->Height(), 25);
    EXPECT_EQ(browser->lblBillType->font().pointSize(), 14);
    QTest::mouseClick(browser->BtnClose, Qt::LeftButton);
    flushDeletes();
    EXPECT_TRUE(guard.isNull());
}

TEST_F(BaseFormTest, SaveLayoutWritesOneFilePerGridIntoTheProgramFolder)
{
    QStringList written;
    setGridLayoutWriter([&](QObject& grid, const QString& fileName) {
        QFile file(fileName);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(grid.objectName().toUtf8());
        written << fileName;
    });
    // Another working folder must not matter.
    const QString before = QDir::currentPath();
    QDir::setCurrent(QDir::tempPath());
    auto* browser = new TFrmABusinessBase;
    QPointer<TFrmABusinessBase> guard(browser);
    browser->SetCaption(QStringLiteral("库存管理"));
    auto* grid1 = new TQxDBGrid(browser->Panel1);
    grid1->setObjectName(QStringLiteral("DBGrid1"));
    auto* grid2 = new TQxDBGrid(browser->Panel1);
    grid2->setObjectName(QStringLiteral("DBGrid2"));
    browser->show();
    QTest::mouseClick(browser->SpeedButton2, Qt::LeftButton);
    QDir::setCurrent(before);
    written.sort();
    EXPECT_EQ(written, (QStringList{database.filePath(QStringLiteral("库存管理DBGrid1.dbg")),
                                    database.filePath(QStringLiteral("库存管理DBGrid2.dbg"))}));
    EXPECT_TRUE(QFile::exists(database.filePath(QStringLiteral("库存管理DBGrid1.dbg"))));
    delete guard.data();
}

TEST_F(BaseFormTest, SaveLayoutWithoutAWriterWritesTheGridsOwnFile)
{
    auto* browser = new TFrmABusinessBase;
    QPointer<TFrmABusinessBase> guard(browser);
    browser->SetCaption(QStringLiteral("库存管理"));
    auto* grid = new TQxDBGrid(browser->Panel1);
    grid->setObjectName(QStringLiteral("DBGrid1"));
    browser->show();
    QTest::mouseClick(browser->SpeedButton2, Qt::LeftButton);
    EXPECT_TRUE(dialogs().messages().isEmpty());
    EXPECT_TRUE(QFile::exists(database.filePath(QStringLiteral("库存管理DBGrid1.dbg"))));
    delete guard.data();
}

TEST_F(BaseFormTest, ShowInfoIsAnInformationBox)
{
    dialogs().answerMessage(mrOk);
    ShowInfo(QStringLiteral("备份成功！"));
    ASSERT_EQ(dialogs().shown().size(), 1);
    const ShownDialog& box = dialogs().shown()[0];
    EXPECT_EQ(box.caption, QStringLiteral("信息"));
    EXPECT_EQ(box.text, QStringLiteral("备份成功！"));
    EXPECT_EQ(box.icon, MessageIcon::Information);
    EXPECT_EQ(box.buttons, QList<int>{mrOk});
}

} // namespace
} // namespace qx::app::test
