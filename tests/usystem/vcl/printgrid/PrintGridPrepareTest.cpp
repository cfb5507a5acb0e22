// Preparing and discarding a grid printer's report, and the preview class it registers.
#include "tests/usystem/vcl/printgrid/PrintGridFixture.h"

#include "platform/report/QRPreviewInterface.h"
#include "usystem/vcl/preview/uQxRptPrev.h"

#include <QScopeGuard>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// A printer whose BuildReport makes an empty report, or none, or fails, as the test says.
class PreparingPrinter : public TQxPrintGrid
{
public:
    enum Outcome { Builds, NothingToPrint, Fails };
    Outcome outcome = Builds;
    int builds = 0;

    bool BuildReport() override
    {
        ++builds;
        FHiddenForm = std::make_unique<QWidget>();
        FReport = new TQuickRep(FHiddenForm.get());
        if (outcome == Fails)
            throw std::runtime_error("building failed");
        return outcome == Builds;
    }
};

bool libraryPreviewRegistered()
{
    return dynamic_cast<TQRMDIPreviewInterface*>(CreatePreviewInterface().get()) != nullptr;
}

} // namespace

TEST(PrintGridPrepare, TrueTwiceBuildsOnceAndFalseDiscards)
{
    const auto restore = qScopeGuard([] { RegisterStandardPreviewClass(); });
    PreparingPrinter printer;
    printer.SetReportPrepared(true);
    printer.SetReportPrepared(true);
    EXPECT_EQ(printer.builds, 1);
    EXPECT_TRUE(printer.Prepared());
    ASSERT_NE(printer.Report(), nullptr);
    EXPECT_EQ(printer.Report()->parent(), printer.HiddenForm());
    EXPECT_TRUE(libraryPreviewRegistered());

    QPointer<TQuickRep> report = printer.Report();
    printer.SetReportPrepared(false);
    EXPECT_FALSE(printer.Prepared());
    EXPECT_EQ(printer.Report(), nullptr);
    EXPECT_EQ(printer.HiddenForm(), nullptr);
    EXPECT_TRUE(report.isNull());
    EXPECT_FALSE(libraryPreviewRegistered());

    printer.SetReportPrepared(true);
    EXPECT_EQ(printer.builds, 2) << "every print builds a new report";
}

TEST(PrintGridPrepare, FalseOnAnUnpreparedPrinterDoesNothing)
{
    const auto restore = qScopeGuard([] { RegisterStandardPreviewClass(); });
    // Another preview class stays registered: nothing was prepared, so nothing is undone.
    RegisterPreviewClass<TQRMDIPreviewInterface>();
    PreparingPrinter printer;
    printer.SetReportPrepared(false);
    EXPECT_EQ(printer.builds, 0);
    EXPECT_FALSE(printer.Prepared());
    EXPECT_TRUE(libraryPreviewRegistered());
}

TEST(PrintGridPrepare, NoReportOrAFailureLeavesNothingBehind)
{
    const auto restore = qScopeGuard([] { RegisterStandardPreviewClass(); });
    struct Case
    {
        const char* what;
        PreparingPrinter::Outcome outcome;
        bool throws;
    };
    const Case cases[] = {{"nothing to print", PreparingPrinter::NothingToPrint, false},
                          {"building fails", PreparingPrinter::Fails, true}};
    for (const Case& c : cases) {
        RegisterPreviewClass<TQRMDIPreviewInterface>();
        PreparingPrinter printer;
        printer.outcome = c.outcome;
        if (c.throws)
            EXPECT_THROW(printer.SetReportPrepared(true), std::runtime_error) << c.what;
        else
            printer.SetReportPrepared(true);
        EXPECT_FALSE(printer.Prepared()) << c.what;
        EXPECT_EQ(printer.Report(), nullptr) << c.what;
        EXPECT_EQ(printer.HiddenForm(), nullptr) << c.what;
        EXPECT_FALSE(libraryPreviewRegistered()) << c.what;
    }
}

TEST(PrintGridPrepare, FreeingAPreparedPrinterFreesItsReport)
{
    const auto restore = qScopeGuard([] { RegisterStandardPreviewClass(); });
    QPointer<TQuickRep> report;
    {
        PreparingPrinter printer;
        printer.SetReportPrepared(true);
        report = printer.Report();
        ASSERT_FALSE(report.isNull());
    }
    EXPECT_TRUE(report.isNull());
    EXPECT_FALSE(libraryPreviewRegistered());
}
