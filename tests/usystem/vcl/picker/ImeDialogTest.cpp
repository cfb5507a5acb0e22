// The input-code dialog: typed initials matched against the code columns of a list, the
// choice handed back through the shared result text, and the kinds that open nothing.
#include "PickerTestSupport.h"

#include "platform/db/DataSet.h"
#include "usystem/vcl/ado/uQxADODB.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"
#include "usystem/vcl/edits/uQxEdits.h"
#include "usystem/vcl/picker/uQxIME.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"

#include <QMainWindow>
#include <QPointer>
#include <QPushButton>
#include <QTest>

namespace {

class ImeDialog : public LibraryDataTest
{
protected:
    void SetUp() override
    {
        LibraryDataTest::SetUp();
        exec("CREATE TABLE tMaterialName (ItemName TEXT(30) COLLATE NOCASE, PY TEXT(30) COLLATE NOCASE,"
             " WBH TEXT(30) COLLATE NOCASE, WB TEXT(30) COLLATE NOCASE, OrderID INTEGER);"
             "INSERT INTO tMaterialName VALUES ('屏幕', 'PM', 'NG', 'NA', 2), ('排线', 'PX', 'RX', 'RX', 2),"
             " ('电池', 'DC', 'JI', 'JI', 2), ('P_M 支架', 'P_MZJ', '', '', 5);"
             "CREATE TABLE tClient (CCode TEXT(10) COLLATE NOCASE, CName TEXT(20) COLLATE NOCASE,"
             " CJName TEXT(20) COLLATE NOCASE, Py TEXT(20) COLLATE NOCASE, WB TEXT(20) COLLATE NOCASE,"
             " WBH TEXT(20) COLLATE NOCASE);"
             "INSERT INTO tClient VALUES ('C001', '张三', '张', 'ZS', 'XD', 'ND'), ('C002', '李四', '李', 'LS', 'SL', 'SL');");
        ImeResultText() = QStringLiteral("stale");
        dm->InputCodeMode = icmPinyin;
    }

    static TFrmIME& ime(QDialog& d)
    {
        auto* f = qobject_cast<TFrmIME*>(&d);
        EXPECT_NE(f, nullptr);
        return *f;
    }
    static QStringList listed(TFrmIME& f)
    {
        QStringList out;
        TDataSet* q = f.QryIme;
        if (!q->Active())
            return out;
        for (q->First(); !q->Eof(); q->Next())
            out << q->Fields()->Fields(0)->AsString();
        q->First();
        return out;
    }
};

TEST_F(ImeDialog, TypedPinyinInitialsListTheMatchesAndEnterHandsBackTheFirstColumn)
{
    QStringList seen;
    scripted->answerDialog([&](QDialog& d) {
        TFrmIME& f = ime(d);
        EXPECT_EQ(f.windowTitle(), QStringLiteral("拼音五笔输入"));
        EXPECT_EQ(f.PnlBottom->Caption(), QStringLiteral("[F10]输入[F6]切换拼音五笔[ENTER]确定[ESC]取消"));
        QTest::keyClicks(f.EdtInput, "p");
        seen = listed(f);
        QTest::keyClicks(f.EdtInput, "x");
        seen << QStringLiteral("|") << listed(f);
        QTest::keyClick(f.EdtInput, Qt::Key_Return);
    });
    EXPECT_TRUE(ShowImeDialog(QStringLiteral("IItemName"), nullptr, QString()));
    EXPECT_EQ(seen, (QStringList{"屏幕", "排线", "P_M 支架", "|", "排线"}));
    EXPECT_EQ(ImeResultText(), QStringLiteral("排线"));
    EXPECT_EQ(scripted->unexpected(), 0);
}

TEST_F(ImeDialog, CodeKindsHandBackTheCodeAndTheStartTextIsMatchedOnShow)
{
    scripted->answerDialog([&](QDialog& d) {
        TFrmIME& f = ime(d);
        EXPECT_EQ(f.EdtInput->Text(), QStringLiteral("zs"));
        EXPECT_EQ(listed(f), QStringList{"C001"});
        QTest::keyClick(f.DBGrid, Qt::Key_Return);
    });
    EXPECT_TRUE(ShowImeDialog(QStringLiteral("ICCode"), nullptr, QStringLiteral("zs")));
    EXPECT_EQ(ImeResultText(), QStringLiteral("C001"));
}

TEST_F(ImeDialog, WubiModeMatchesTheWubiColumnAndADoubleClickConfirmsTheClickedRow)
{
    dm->InputCodeMode = icmWubi;
    QString second;
    scripted->answerDialog([&](QDialog& d) {
        TFrmIME& f = ime(d);
        QTest::keyClicks(f.EdtInput, "n");
        EXPECT_EQ(listed(f), QStringList{"屏幕"});
        f.EdtInput->setText(QString());
        QTest::keyClicks(f.EdtInput, "j");
        EXPECT_EQ(listed(f), QStringList{"电池"});
        f.EdtInput->setText(QString());
        const QStringList all = listed(f);
        ASSERT_EQ(all.size(), 4);
        second = all[1];
        const QRect r = f.DBGrid->CellRect(1, 2);
        // The first click makes the row current, the second of the pair confirms it.
        QTest::mouseClick(f.DBGrid->viewport(), Qt::LeftButton, {}, r.center());
        QTest::mouseDClick(f.DBGrid->viewport(), Qt::LeftButton, {}, r.center());
    });
    EXPECT_TRUE(ShowImeDialog(QStringLiteral("IItemName"), nullptr, QString()));
    EXPECT_EQ(ImeResultText(), second);
    EXPECT_EQ(scripted->unexpected(), 0);
}

TEST_F(ImeDialog, StandardModeMatchesTheNameColumnItself)
{
    dm->InputCodeMode = icmStandard;
    scripted->answerDialog([&](QDialog& d) {
        TFrmIME& f = ime(d);
        f.EdtInput->setText(QStringLiteral("李"));
        EXPECT_EQ(listed(f), QStringList{"李四"});
        QTest::keyClick(f.EdtInput, Qt::Key_Return);
    });
    EXPECT_TRUE(ShowImeDialog(QStringLiteral("ICName"), nullptr, QString()));
    EXPECT_EQ(ImeResultText(), QStringLiteral("李四"));
}

TEST_F(ImeDialog, WildcardsAndQuotesInTheTypedCodeAreMatchedLiterally)
{
    const struct { const char* typed; QStringList expected; } cases[] = {
        {"p_", {"P_M 支架"}},   // '_' is a character here, not "any character"
        {"%", {}},              // '%' matches no code rather than all of them
        {"p'", {}},             // a quote neither breaks the statement nor matches
        {"\\", {}},
    };
    for (const auto& c : cases) {
        scripted->clear();
        QStringList seen;
        scripted->answerDialog([&](QDialog& d) {
            TFrmIME& f = ime(d);
            QTest::keyClicks(f.EdtInput, QString::fromUtf8(c.typed));
            seen = listed(f);
            QTest::keyClick(f.EdtInput, Qt::Key_Escape);
        });
        ShowImeDialog(QStringLiteral("IItemName"), nullptr, QString());
        flushDeletes();
        EXPECT_EQ(seen, c.expected) << c.typed;
        EXPECT_TRUE(scripted->messages().isEmpty()) << c.typed;
    }
}

TEST_F(ImeDialog, EscClosesWithAnEmptyResult)
{
    scripted->answerDialog([&](QDialog& d) {
        TFrmIME& f = ime(d);
        QTest::keyClicks(f.EdtInput, "pm");
        QTest::keyClick(f.DBGrid, Qt::Key_Escape);
    });
    EXPECT_FALSE(ShowImeDialog(QStringLiteral("IItemName"), nullptr, QString()));
    EXPECT_TRUE(ImeResultText().isEmpty());
    ASSERT_EQ(scripted->shown().size(), 1);
    EXPECT_EQ(scripted->unexpected(), 0);
}

TEST_F(ImeDialog, ConfirmingAnEmptyListClosesWithAnEmptyResult)
{
    bool closed = false;
    scripted->answerDialog([&](QDialog& d) {
        TFrmIME& f = ime(d);
        QTest::keyClicks(f.EdtInput, "qq");
        EXPECT_TRUE(f.QryIme->IsEmpty());
        QTest::keyClick(f.EdtInput, Qt::Key_Return);
        closed = !f.isVisible();
    });
    EXPECT_FALSE(ShowImeDialog(QStringLiteral("IItemName"), nullptr, QString()));
    EXPECT_TRUE(closed);
    EXPECT_TRUE(ImeResultText().isEmpty());
}

TEST_F(ImeDialog, KindsOutsideTheListsShowNothingAndKeepTheResult)
{
    EXPECT_FALSE(ShowImeDialog(QStringLiteral("IModel"), nullptr, QString()));
    EXPECT_FALSE(ShowImeDialog(QStringLiteral("ItemName"), nullptr, QString()));
    EXPECT_TRUE(scripted->shown().isEmpty());
    EXPECT_EQ(ImeResultText(), QStringLiteral("stale"));

    // Letter case does not matter.
    scripted->answerDialog(qx::mrCancel);
    ShowImeDialog(QStringLiteral("iitemNAME"), nullptr, QString());
    EXPECT_EQ(scripted->shown().size(), 1);
    EXPECT_TRUE(ImeResultText().isEmpty());
}

TEST_F(ImeDialog, WithoutALibraryDataModuleNothingIsShown)
{
    dm.reset();
    EXPECT_FALSE(ShowImeDialog(QStringLiteral("IItemName"), nullptr, QString()));
    EXPECT_TRUE(scripted->shown().isEmpty());
    EXPECT_EQ(ImeResultText(), QStringLiteral("stale"));
}

TEST_F(ImeDialog, F6CyclesTheModeWithoutRequeryingAndShowsItOnTheMainWindow)
{
    QMainWindow main;
    auto* button = new QPushButton(QStringLiteral("拼音"), &main);
    button->setObjectName(QStringLiteral("BtnIme"));
    main.show();
    QStringList captions;
    scripted->answerDialog([&](QDialog& d) {
        TFrmIME& f = ime(d);
        QTest::keyClicks(f.EdtInput, "p");
        ASSERT_EQ(listed(f).size(), 3);
        for (int i = 0; i < 4; ++i) {
            QTest::keyClick(f.EdtInput, Qt::Key_F6);
            captions << button->text();
        }
        QTest::keyClick(f.EdtInput, Qt::Key_F6);
        EXPECT_EQ(CurrentInputCodeMode(), icmWubi);
        // The list stays as it was until the text changes.
        EXPECT_EQ(listed(f).size(), 3);
        QTest::keyClick(f.EdtInput, Qt::Key_Backspace);
        QTest::keyClicks(f.EdtInput, "r");
        EXPECT_EQ(listed(f), QStringList{"排线"});
        f.DBGrid->setFocus();
        QTest::keyClick(f.DBGrid, Qt::Key_F10);
        EXPECT_EQ(f.focusWidget(), f.EdtInput);
        QTest::keyClick(f.EdtInput, Qt::Key_Escape);
    });
    ShowImeDialog(QStringLiteral("IItemName"), nullptr, QString());
    EXPECT_EQ(captions, (QStringList{"五笔", "五笔划", "标准", "拼音"}));
}

} // namespace

namespace {

TEST_F(ImeDialog, AClosedDialogOnItsWayOutIsNotUsedAgain)
{
    QPointer<QDialog> first;
    QDialog* second = nullptr;
    scripted->answerDialog([&](QDialog& d) {
        first = &d;
        QTest::keyClick(ime(d).EdtInput, Qt::Key_Escape);
    });
    scripted->answerDialog([&](QDialog& d) {
        second = &d;
        EXPECT_TRUE(d.isVisible());
        QTest::keyClick(ime(d).EdtInput, Qt::Key_Escape);
    });
    ShowImeDialog(QStringLiteral("IItemName"), nullptr, QString());
    ASSERT_FALSE(first.isNull()); // freed only once the deferred deletes run
    ShowImeDialog(QStringLiteral("IItemName"), nullptr, QString());
    EXPECT_NE(second, first.data());
    flushDeletes();
    EXPECT_TRUE(first.isNull());
}

} // namespace
