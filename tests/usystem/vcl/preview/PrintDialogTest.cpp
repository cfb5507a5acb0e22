// The print dialog of the preview window, driven with keys and clicks.
#include "PreviewFixture.h"
#include "RecordingPrinter.h"

#include "tests/support/Widgets.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"
#include "usystem/vcl/preview/PrinterList.h"
#include "usystem/vcl/preview/uQxRrtPrDlg.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

using namespace qx::test;

namespace {

QList<qx::PrinterEntry> twoPrinters()
{
    qx::PrinterEntry first;
    first.name = QStringLiteral("前台打印机");
    first.makeAndModel = QStringLiteral("型号甲");
    first.location = QStringLiteral("前台");
    qx::PrinterEntry second;
    second.name = QStringLiteral("仓库打印机");
    second.makeAndModel = QStringLiteral("型号乙");
    second.location = QStringLiteral("仓库");
    second.isDefault = true;
    second.state = QPrinter::Error;
    return {first, second};
}

} // namespace

class PrintDialog : public ::testing::Test
{
protected:
    PrintDialog() : dialogs(script()), printers(twoPrinters)
    {
        makePages(printer, 7);
        form.SetQRPrinter(&printer);
    }

    // Shows the dialog the way a caller does, lets act drive it and returns its result.
    int run(const std::function<void(TRptPrintForm&)>& act)
    {
        dialogs.answerDialog([act](QDialog& d) { act(static_cast<TRptPrintForm&>(d)); });
        return qx::DialogService::instance().execDialog(form);
    }

    qx::ScriptedDialogService& dialogs;
    qx::ScopedPrinterSource printers;
    TQRPrinter printer;
    TRptPrintForm form;
};

TEST_F(PrintDialog, ShowingFillsThePrintersAndTheRange)
{
    printer.SetPrinterIndex(0);
    run([](TRptPrintForm& f) {
        EXPECT_EQ(f.CB1->count(), 2);
        EXPECT_EQ(f.CB1->itemText(0), QStringLiteral("前台打印机"));
        // The default printer is chosen, also in the printer object.
        EXPECT_EQ(f.CB1->currentIndex(), 1);
        EXPECT_EQ(f.QRPrinter()->PrinterIndex(), 1);
        EXPECT_EQ(f.lblType->Caption(), QStringLiteral("型号乙"));
        EXPECT_EQ(f.lblPosition->Caption(), QStringLiteral("仓库"));
        EXPECT_EQ(f.lblCommon->Caption(), QStringLiteral("不能连接"));
        EXPECT_EQ(f.lblStatus->Caption(), QStringLiteral("就绪"));
        EXPECT_EQ(f.FromEdt->text(), QStringLiteral("1"));
        EXPECT_EQ(f.ToEdt->text(), QStringLiteral("7"));
        EXPECT_TRUE(f.RB1->isChecked());
        EXPECT_EQ(f.E1->minimum(), 1);
        EXPECT_EQ(f.E1->maximum(), 50);
        // Choosing the other printer shows its details and goes to the printer object.
        f.CB1->setFocus();
        QTest::keyClick(f.CB1, Qt::Key_Up);
        EXPECT_EQ(f.CB1->currentIndex(), 0);
        EXPECT_EQ(f.QRPrinter()->PrinterIndex(), 0);
        EXPECT_EQ(f.lblType->Caption(), QStringLiteral("型号甲"));
        EXPECT_EQ(f.lblCommon->Caption(), QStringLiteral("连接正常"));
        QTest::mouseClick(f.Button1, Qt::LeftButton);
    });
    EXPECT_EQ(printer.PrinterIndex(), 0);
    EXPECT_EQ(dialogs.unexpected(), 0);
}

TEST_F(PrintDialog, OkGivesTheChosenPagesAndCopies)
{
    const struct
    {
        const char* name;
        std::function<void(TRptPrintForm&)> choose;
        int from, to, copies;
        bool collate;
    } cases[] = {
        {"all", [](TRptPrintForm&) {}, 0, 0, 1, false},
        {"current", [](TRptPrintForm& f) { QTest::mouseClick(f.RB2, Qt::LeftButton); }, -1, -1, 1, false},
        {"range",
         [](TRptPrintForm& f) {
             QTest::mouseClick(f.FromEdt, Qt::LeftButton);
             f.FromEdt->selectAll();
             QTest::keyClicks(f.FromEdt, QStringLiteral("2"));
             QTest::mouseClick(f.ToEdt, Qt::LeftButton);
             f.ToEdt->selectAll();
             QTest::keyClicks(f.ToEdt, QStringLiteral("4"));
         },
         2, 4, 1, false},
        {"copies collated",
         [](TRptPrintForm& f) {
             f.E1->selectAll();
             QTest::keyClicks(f.E1, QStringLiteral("3"));
             QTest::mouseClick(f.chkCollate, Qt::LeftButton);
         },
         0, 0, 3, true},
    };
    for (const auto& c : cases) {
        TRptPrintForm f;
        f.SetQRPrinter(&printer);
        dialogs.answerDialog([&](QDialog&) {
            c.choose(f);
            QTest::mouseClick(f.Button1, Qt::LeftButton);
        });
        EXPECT_EQ(qx::DialogService::instance().execDialog(f), qx::mrOk) << c.name;
        EXPECT_EQ(f.FromPage, c.from) << c.name;
        EXPECT_EQ(f.ToPage, c.to) << c.name;
        EXPECT_EQ(f.Copies, c.copies) << c.name;
        EXPECT_EQ(f.chkCollate->isChecked(), c.collate) << c.name;
    }
    EXPECT_TRUE(dialogs.messages().isEmpty());
    EXPECT_EQ(dialogs.unexpected(), 0);
}

TEST_F(PrintDialog, FromEditTakesDigitsOnlyAndToEditChoosesTheRange)
{
    run([](TRptPrintForm& f) {
        f.FromEdt->setFocus();
        f.FromEdt->selectAll();
        QTest::keyClicks(f.FromEdt, QStringLiteral("12"));
        EXPECT_EQ(f.FromEdt->text(), QStringLiteral("12"));
        QTest::keyClicks(f.FromEdt, QStringLiteral("a"));
        EXPECT_TRUE(f.FromEdt->text().isEmpty());
        // Typing into the To edit is not filtered, and it chooses the range.
        f.RB1->setChecked(true);
        f.ToEdt->setFocus();
        QTest::keyClicks(f.ToEdt, QStringLiteral("x"));
        EXPECT_EQ(f.ToEdt->text(), QStringLiteral("7x"));
        EXPECT_TRUE(f.RB3->isChecked());
        // Clicking the range button puts the cursor into the From edit.
        QTest::mouseClick(f.RB1, Qt::LeftButton);
        QTest::mouseClick(f.RB3, Qt::LeftButton);
        EXPECT_EQ(f.focusWidget(), f.FromEdt);
        f.Close();
    });
}

TEST_F(PrintDialog, OkWithAnUnsoundRangeSaysWhyAndStaysOpen)
{
    const struct
    {
        const char* from;
        const char* to;
        const char* message;
    } cases[] = {
        {"", "3", "请在“指定范围”中输入起始页和终止页的页码！"},
        {"2", "", "请在“指定范围”中输入起始页和终止页的页码！"},
        {"2", "x", "请在“指定范围”中输入起始页和终止页的页码！"},
        {"0", "3", "页码范围应在 1 到 7 之间，且起始页不能大于终止页！"},
        {"5", "3", "页码范围应在 1 到 7 之间，且起始页不能大于终止页！"},
        {"3", "8", "页码范围应在 1 到 7 之间，且起始页不能大于终止页！"},
        {"99999999999", "3", "请在“指定范围”中输入起始页和终止页的页码！"},
    };
    for (const auto& c : cases) {
        TRptPrintForm f;
        f.SetQRPrinter(&printer);
        dialogs.clear();
        dialogs.answerDialog([&](QDialog&) {
            f.RB3->setChecked(true);
            f.FromEdt->setText(QString::fromUtf8(c.from));
            f.ToEdt->setText(QString::fromUtf8(c.to));
            dialogs.answerMessage(qx::mrOk);
            QTest::mouseClick(f.Button1, Qt::LeftButton);
            EXPECT_TRUE(f.isVisible()) << c.from << "-" << c.to;
            EXPECT_EQ(f.focusWidget(), f.FromEdt);
            // A sound range then closes it.
            f.FromEdt->setText(QStringLiteral("3"));
            f.ToEdt->setText(QStringLiteral("7"));
            QTest::mouseClick(f.Button1, Qt::LeftButton);
        });
        EXPECT_EQ(qx::DialogService::instance().execDialog(f), qx::mrOk);
        EXPECT_EQ(dialogs.messages(), QStringList{QString::fromUtf8(c.message)}) << c.from << "-" << c.to;
        EXPECT_EQ(f.FromPage, 3);
        EXPECT_EQ(f.ToPage, 7);
        EXPECT_EQ(dialogs.unexpected(), 0);
    }
}

TEST_F(PrintDialog, CancelGivesThePrinterObjectItsPrinterBack)
{
    printer.SetPrinterIndex(0);
    const int result = run([](TRptPrintForm& f) {
        EXPECT_EQ(f.QRPrinter()->PrinterIndex(), 1);
        QTest::mouseClick(f.Button2, Qt::LeftButton);
    });
    EXPECT_EQ(result, qx::mrCancel);
    EXPECT_EQ(printer.PrinterIndex(), 0);

    // Esc the same.
    TRptPrintForm again;
    again.SetQRPrinter(&printer);
    dialogs.answerDialog([&](QDialog&) { QTest::keyClick(again.CB1, Qt::Key_Escape); });
    EXPECT_EQ(qx::DialogService::instance().execDialog(again), qx::mrCancel);
    EXPECT_EQ(printer.PrinterIndex(), 0);
}

TEST_F(PrintDialog, PropertiesOpenThePageSetUpOfTheChosenPrinter)
{
    const ScopedRecordingPrinter recording;
    run([this](TRptPrintForm& f) {
        dialogs.answerDialog([](QDialog& setup) {
            EXPECT_NE(qobject_cast<QPageSetupDialog*>(&setup), nullptr);
            setup.reject();
        });
        QTest::mouseClick(f.PropButton, Qt::LeftButton);
        EXPECT_EQ(f.CB1->currentIndex(), 1);
        f.Close();
    });
    EXPECT_EQ(dialogs.unexpected(), 0);
}

TEST(PrintDialogPrinters, WithoutPrintersThePdfFileIsTheOnlyTarget)
{
    auto& dialogs = script();
    const qx::ScopedPrinterSource none([] { return QList<qx::PrinterEntry>(); });
    TQRPrinter printer;
    makePages(printer, 2);
    TRptPrintForm f;
    f.SetQRPrinter(&printer);
    dialogs.answerDialog([&](QDialog&) {
        EXPECT_EQ(f.CB1->count(), 1);
        EXPECT_EQ(f.CB1->itemText(0), qx::pdfFileTarget().name);
        EXPECT_EQ(f.CB1->currentIndex(), 0);
        EXPECT_EQ(f.lblCommon->Caption(), QStringLiteral("连接正常"));
        QTest::mouseClick(f.Button1, Qt::LeftButton);
    });
    EXPECT_EQ(qx::DialogService::instance().execDialog(f), qx::mrOk);
    EXPECT_EQ(printer.PrinterIndex(), 0);
}
