// The export dialog driven by mouse clicks: its items, the file edit's enabled states, the
// empty-name message, the save chooser, the exports it dispatches, and a writer's error.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QGroupBox>
#include <QTemporaryDir>
#include <QtTest/QTest>

#include "ExportTestSupport.h"
#include "platform/office/DesktopOpen.h"
#include "tests/support/SaveFault.h"
#include "tests/support/Widgets.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"
#include "usystem/vcl/edits/uQxEdits.h"
#include "usystem/vcl/export/uQxTranOut.h"

using qxtest::ExportGrid;

namespace {

void clickItem(TFrmTranOut& form, int index)
{
    QAbstractButton* item = form.RGPSelectItems->button(index);
    QTest::mouseClick(item, Qt::LeftButton, {}, QPoint(6, item->height() / 2));
}

void clickEditButton(TQxEdit* edit)
{
    QRect r;
    edit->Button()->GetButtonRect(r);
    QTest::mouseClick(edit, Qt::LeftButton, {}, r.center());
}

// Runs the dialog for g's grid; act drives it while it is shown.
void runExportDialog(ExportGrid& g, const std::function<void(TFrmTranOut&)>& act)
{
    qx::test::script().answerDialog([&](QDialog& dialog) {
        auto* form = qobject_cast<TFrmTranOut*>(&dialog);
        ASSERT_NE(form, nullptr);
        act(*form);
    });
    ShowExportDialog(g.grid());
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(FrmTranOut.isNull()); // it freed itself
}

ExportGrid* dialogGrid()
{
    static const std::vector<qxtest::TableField> fields{{"Code", ftString, 10}, {"Qty", ftInteger}};
    static const std::vector<QVariantList> rows{{"A01", 5}, {"B02", 7}};
    return new ExportGrid(fields, rows);
}

} // namespace

TEST(TranOutDialog, OpensWithNothingChosenAndTheItemsAsTheyRead)
{
    std::unique_ptr<ExportGrid> g(dialogGrid());
    auto& script = qx::test::script();
    script.clear();
    runExportDialog(*g, [](TFrmTranOut& form) {
        EXPECT_EQ(form.windowTitle(), u"数据导出窗口");
        EXPECT_EQ(form.size(), QSize(452, 225));
        EXPECT_EQ(form.RGPSelect->title(), u"导出格式");
        const QStringList items{"Word     OFFICE的Word格式", "Excel    OFFICE的Excel格式", "Txt      本文格式",
                                "Html     网页格式", "DBF      文件数据库格式"};
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(form.RGPSelectItems->button(i)->text(), items[i]);
        EXPECT_EQ(form.ItemIndex(), -1);
        EXPECT_TRUE(form.EdtFileName->isEnabled());
        EXPECT_TRUE(form.EdtFileName->Button()->Visible());
        EXPECT_EQ(form.EdtFileName->Button()->Hint(), u"请点击此按钮选定或设定数据...");
        EXPECT_EQ(form.Text->Delimiter(), QChar(9));
        // OK with nothing chosen only closes the dialog.
        QTest::mouseClick(form.BtnOK, Qt::LeftButton);
        EXPECT_FALSE(form.isVisible());
    });
    EXPECT_EQ(script.unexpected(), 0);
    EXPECT_TRUE(script.messages().isEmpty());
}

TEST(TranOutDialog, TheFileEditIsEnabledOnlyForTheFileTargets)
{
    std::unique_ptr<ExportGrid> g(dialogGrid());
    runExportDialog(*g, [](TFrmTranOut& form) {
        const struct { int item; bool enabled; } steps[] = {{0, false}, {2, true}, {1, false}, {3, true}, {0, false}, {4, true}};
        for (const auto& s : steps) {
            clickItem(form, s.item);
            EXPECT_EQ(form.ItemIndex(), s.item);
            EXPECT_EQ(form.EdtFileName->isEnabled(), s.enabled) << s.item;
        }
        QTest::mouseClick(form.BtnCancel, Qt::LeftButton);
        EXPECT_FALSE(form.isVisible());
    });
}

TEST(TranOutDialog, AnEmptyNameKeepsTheDialogOpenAndTheChooserFillsTheName)
{
    std::unique_ptr<ExportGrid> g(dialogGrid());
    QTemporaryDir dir;
    const QString path = dir.filePath("out");
    auto& script = qx::test::script();
    script.clear();
    runExportDialog(*g, [&](TFrmTranOut& form) {
        // Answers queue behind the dialog's own.
        script.answerMessage(qx::mrOk);
        script.answerFile(path);
        clickItem(form, 2);
        QTest::mouseClick(form.BtnOK, Qt::LeftButton);
        EXPECT_TRUE(form.isVisible());
        clickEditButton(form.EdtFileName);
        EXPECT_EQ(form.EdtFileName->text(), path);
        QTest::mouseClick(form.BtnOK, Qt::LeftButton);
        EXPECT_FALSE(form.isVisible());
    });
    EXPECT_EQ(script.messages(), QStringList{"文件名不能为空"});
    EXPECT_EQ(qxtest::fileBytes(path + ".txt"), QByteArray("\"A01\"\t\"5\"\r\n\"B02\"\t\"7\"\r\n"));
    EXPECT_EQ(script.unexpected(), 0);
}

TEST(TranOutDialog, EachTargetWritesItsFileAndCloses)
{
    QTemporaryDir dir;
    const struct { int item; QString name; QString opened; } cases[] = {
        {0, QString(), "docx"},
        {1, QString(), "xlsx"},
        {3, dir.filePath("page.htm"), QString()},
        {4, dir.filePath("table"), QString()},
    };
    for (const auto& c : cases) {
        std::unique_ptr<ExportGrid> g(dialogGrid());
        qx::DesktopOpeningOff off;
        runExportDialog(*g, [&](TFrmTranOut& form) {
            clickItem(form, c.item);
            if (!c.name.isEmpty())
                form.EdtFileName->setText(c.name);
            QTest::mouseClick(form.BtnOK, Qt::LeftButton);
            EXPECT_FALSE(form.isVisible()) << c.item;
        });
        if (c.opened.isEmpty()) {
            EXPECT_TRUE(off.requested().isEmpty());
        } else {
            ASSERT_EQ(off.requested().size(), 1) << c.item;
            EXPECT_TRUE(off.requested()[0].endsWith("." + c.opened));
            EXPECT_TRUE(QFile::remove(off.requested()[0]));
        }
    }
    EXPECT_TRUE(QFile::exists(dir.filePath("page.htm")));
    EXPECT_TRUE(QFile::exists(dir.filePath("table.dbf")));
}

TEST(TranOutDialog, AWritersErrorIsShownAndTheDialogStaysOpen)
{
    std::unique_ptr<ExportGrid> g(dialogGrid());
    QTemporaryDir dir;
    auto& script = qx::test::script();
    script.clear();
    runExportDialog(*g, [&](TFrmTranOut& form) {
        script.answerMessage(qx::mrOk);
        clickItem(form, 2);
        form.EdtFileName->setText(dir.filePath("full.txt"));
        {
            const qxtest::SaveFault full(qx::SaveStep::Write);
            QTest::mouseClick(form.BtnOK, Qt::LeftButton);
        }
        EXPECT_TRUE(form.isVisible());
        QTest::mouseClick(form.BtnCancel, Qt::LeftButton);
    });
    ASSERT_EQ(script.messages().size(), 1);
    EXPECT_TRUE(script.messages()[0].contains("full.txt")) << script.messages()[0].toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath("full.txt")));
}
