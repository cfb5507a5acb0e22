// Printing behind the progress dialog.
#include "PreviewFixture.h"
#include "RecordingPrinter.h"

#include "tests/support/Widgets.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"
#include "usystem/vcl/preview/uQxQrprogress.h"

#include <gtest/gtest.h>

#include <QProgressBar>
#include <QTimer>

using namespace qx::test;

class PrintProgress : public ::testing::Test
{
protected:
    PrintProgress() : dialogs(script()), pages(3) {}

    qx::ScriptedDialogService& dialogs;
    ScopedRecordingPrinter recording;
    PageReport pages;
};

TEST_F(PrintProgress, GaugeFollowsTheProgressInStepsOfFive)
{
    pages.report.Prepare();
    TQRPrinter* printer = pages.report.QRPrinter();
    ASSERT_NE(printer, nullptr);
    TPrintProgressForm form;
    form.SetReport(&pages.report);
    const struct
    {
        int progress;
        int gauge;
        const char* info;
    } cases[] = {
        {0, 0, "0% "}, {37, 0, "0% "}, {40, 40, "40% "}, {41, 40, "40% "}, {95, 95, "95% "}, {99, 95, "95% "},
    };
    for (const auto& c : cases) {
        printer->SetProgress(c.progress);
        form.Timer1Timer(form.Timer1);
        EXPECT_EQ(form.Gauge->value(), c.gauge) << c.progress;
        EXPECT_EQ(form.Info->Caption(), QString::fromLatin1(c.info)) << c.progress;
    }
    EXPECT_EQ(form.Timer1->interval(), 100);

    // The report let go of its printer: "100 %", then the dialog closes on the next tick.
    pages.report.FreeQRPrinter();
    form.Timer1Timer(form.Timer1);
    EXPECT_EQ(form.Gauge->value(), 100);
    EXPECT_EQ(form.Info->Caption(), QStringLiteral("100 %"));
    EXPECT_EQ(form.Timer1->interval(), 500);
    EXPECT_TRUE(form.Timer1->isActive());
    form.show();
    form.Timer1Timer(form.Timer1);
    EXPECT_FALSE(form.isVisible());
}

TEST_F(PrintProgress, PrintsOnceShowsAHundredAndCloses)
{
    int afterPrint = 0;
    pages.report.AfterPrint = [&](QObject*) { ++afterPrint; };
    pages.report.SetShowProgress(true);
    QString shownAtEnd;
    bool closedLater = false;
    dialogs.answerDialog([&](QDialog& d) {
        auto& f = static_cast<TPrintProgressForm&>(d);
        EXPECT_EQ(f.Caption(), QStringLiteral("正在打印..."));
        ASSERT_TRUE(waitUntil([&] { return f.Started(); }));
        // Activated and shown again while it runs: no second print.
        f.FormActivate(&f);
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(&f, &activate);
        f.hide();
        f.show();
        ASSERT_TRUE(waitUntil([&] { return f.Info->Caption() == QStringLiteral("100 %"); }));
        shownAtEnd = f.Info->Caption();
        EXPECT_EQ(f.Gauge->value(), 100);
        EXPECT_TRUE(f.isVisible());
        closedLater = waitUntil([&] { return !f.isVisible(); }, 2000);
    });
    PrintWithProgress(&pages.report);
    EXPECT_TRUE(closedLater);
    EXPECT_EQ(shownAtEnd, QStringLiteral("100 %"));
    EXPECT_EQ(recording.log->jobs, 1);
    EXPECT_EQ(recording.log->pages.join(u','), QStringLiteral("P1,P2,P3"));
    // The report's own AfterPrint ran once and is its own again; its progress window is off.
    EXPECT_EQ(afterPrint, 1);
    ASSERT_TRUE(pages.report.AfterPrint);
    pages.report.AfterPrint(&pages.report);
    EXPECT_EQ(afterPrint, 2);
    EXPECT_FALSE(pages.report.ShowProgress());
    EXPECT_EQ(dialogs.unexpected(), 0);
}

TEST_F(PrintProgress, CancelStopsThePrintAndClosesAtOnce)
{
    TPrintProgressForm* dialog = nullptr;
    bool hiddenAtOnce = false;
    pages.detail->AfterPrint = [&](TQRCustomBand*, bool) {
        if (dialog && dialog->isVisible()) {
            QTest::mouseClick(dialog->CancelButton, Qt::LeftButton);
            hiddenAtOnce = !dialog->isVisible();
        }
    };
    dialogs.answerDialog([&](QDialog& d) {
        dialog = static_cast<TPrintProgressForm*>(&d);
        waitUntil([&] { return !d.isVisible(); });
    });
    PrintWithProgress(&pages.report);
    EXPECT_TRUE(hiddenAtOnce);
    EXPECT_EQ(recording.log->jobs, 0);
    EXPECT_EQ(pages.report.QRPrinter(), nullptr);
    EXPECT_EQ(dialogs.unexpected(), 0);
}

TEST_F(PrintProgress, NothingForNoReport)
{
    PrintWithProgress(nullptr);
    EXPECT_TRUE(dialogs.shown().isEmpty());
}
