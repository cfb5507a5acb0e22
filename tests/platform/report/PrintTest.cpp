// Printing: PDF through QPrinter, copies, the print dialog of the dialog service and the
// engine's progress window.
#include "ReportFixture.h"

#include "platform/env/ScriptedDialogService.h"
#include "platform/report/PrintTarget.h"
#include "platform/report/ProgressWindow.h"
#include "platform/report/QRShapes.h"
#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QFile>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace rpt;
using namespace qx::report;

namespace {

// Pages of a PDF file as Qt writes them.
int pdfPages(const QString& fileName)
{
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QString text = QString::fromLatin1(f.readAll());
    return int(text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))));
}

class Printing : public ::testing::Test
{
protected:
    Printing() : data(table(QStringLiteral("Data")))
    {
        for (int i = 1; i <= 3; ++i)
            add(*data, QStringLiteral("g"), QStringLiteral("r%1").arg(i), i);
        report.SetDataSet(data.get());
        detail = new TQRBand(&report, rbDetail);
        detail->SetHeight(1000);
        expr(detail, QStringLiteral("Name"));
        report.SetShowProgress(false);
        dialogs = qx::ScriptedDialogService::current();
        dialogs->clear();
        pdf = dir.filePath(QStringLiteral("out.pdf"));
    }

    std::unique_ptr<TQxMemTable> data;
    TQuickRep report;
    TQRBand* detail;
    qx::ScriptedDialogService* dialogs = nullptr;
    QTemporaryDir dir;
    QString pdf;
};

TEST_F(Printing, PrintSendsEveryPageToThePrinter)
{
    const ScopedPdfPrinting toPdf(pdf);
    report.Print();
    EXPECT_EQ(pdfPages(pdf), 3);
    EXPECT_EQ(report.QRPrinter(), nullptr);
}

TEST_F(Printing, CopiesAreSentAgainWhenThePrinterCannotMakeThem)
{
    const ScopedPdfPrinting toPdf(pdf);
    report.PrinterSettings().Copies = 2;
    report.Print();
    EXPECT_EQ(pdfPages(pdf), 6);
}

TEST_F(Printing, PagesToPdfReplaceTheFileWhole)
{
    report.Prepare();
    QFile old(pdf);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    printToPdf(*report.QRPrinter(), pdf, 2, 3);
    EXPECT_EQ(pdfPages(pdf), 2);
    EXPECT_THROW(printToPdf(*report.QRPrinter(), dir.filePath(QStringLiteral("none/out.pdf"))), EInOutError);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("out.pdf")});
}

// The check a PDF file passes before it replaces the one there: a whole file does; one cut
// short, one missing bytes in the middle, or one without its trailer does not.
TEST_F(Printing, OnlyAWholePdfFileCountsAsComplete)
{
    report.Prepare();
    printToPdf(*report.QRPrinter(), pdf);
    QFile f(pdf);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray whole = f.readAll();
    f.close();
    ASSERT_TRUE(pdfFileComplete(pdf));
    const QString other = dir.filePath(QStringLiteral("check.pdf"));
    const auto complete = [&](const QByteArray& bytes) {
        QFile out(other);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(bytes);
        out.close();
        return pdfFileComplete(other);
    };
    const struct
    {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"empty", QByteArray()},
        {"the header alone", whole.left(16)},
        {"cut in half", whole.left(whole.size() / 2)},
        {"its last bytes missing", whole.left(whole.size() - 3)},
        {"without its end marker", whole.left(whole.lastIndexOf("%%EOF"))},
        {"a block missing in the middle", whole.left(whole.size() / 3) + whole.mid(whole.size() / 3 + 512)},
        {"text of another kind", QByteArray("startxref\n12\n%%EOF\n").rightJustified(40, ' ')},
    };
    for (const auto& c : cases)
        EXPECT_FALSE(complete(c.bytes)) << c.name;
    EXPECT_TRUE(complete(whole));
    EXPECT_FALSE(pdfFileComplete(dir.filePath(QStringLiteral("missing.pdf"))));
}

TEST_F(Printing, PrintDialogGoesThroughTheDialogService)
{
    dialogs->answerDialog(qx::mrCancel);
    EXPECT_FALSE(report.PrinterSetup());
    dialogs->answerDialog([](QDialog& dialog) {
        EXPECT_NE(qobject_cast<QPrintDialog*>(&dialog), nullptr);
        dialog.accept();
    });
    EXPECT_TRUE(report.PrinterSetup());
    EXPECT_EQ(dialogs->unexpected(), 0);
    EXPECT_EQ(dialogs->shown().size(), 2);

    report.Prepare();
    auto printer = makePdfPrinter(pdf);
    PrintChoice choice;
    dialogs->answerDialog([](QDialog& dialog) { dialog.accept(); });
    ASSERT_TRUE(choosePrinter(*printer, report.QRPrinter()->PageCount(), choice));
    EXPECT_EQ(choice.fromPage, 1);
    EXPECT_EQ(choice.toPage, 0);
    EXPECT_EQ(choice.copies, 1);
}

TEST_F(Printing, ProgressWindowFollowsAndCancels)
{
    const ScopedPdfPrinting toPdf(pdf);
    report.SetShowProgress(true);
    int rows = 0;
    int shownProgress = -1;
    detail->AfterPrint = [&](TQRCustomBand*, bool) {
        if (++rows != 2)
            return;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* window = qobject_cast<ProgressWindow*>(w); window && window->isVisible()) {
                shownProgress = window->Bar()->value();
                QTest::mouseClick(window->CancelButton(), Qt::LeftButton);
            }
        }
    };
    report.Print();
    EXPECT_EQ(shownProgress, 33);
    EXPECT_EQ(rows, 2);
    // A cancelled print sends nothing.
    EXPECT_FALSE(QFile::exists(pdf));
}

TEST(PlayPage, PagesComeOutAtTheDevicesResolution)
{
    TQuickRep report;
    report.Page().SetLeftMargin(10);
    report.Page().SetTopMargin(10);
    auto* title = new TQRBand(&report, rbTitle);
    title->SetHeight(100);
    auto* box = new TQRShape(title);
    box->SetLeft(100);
    box->SetTop(50);
    box->SetWidth(40);
    box->SetHeight(40);
    box->Brush().Color = clBlack;
    box->Pen().Style = psClear;
    report.Prepare();
    const QPicture page = report.QRPrinter()->Page(1);
    // The box's left edge: 10 mm plus 100 pixels at 96 dpi.
    const double leftInches = 10 / 25.4 + 100 / 96.0;
    const double topInches = 10 / 25.4 + 50 / 96.0;
    for (int dpi : {96, 150, 300}) {
        SCOPED_TRACE(dpi);
        QImage image(int(8.3 * dpi), int(2 * dpi), QImage::Format_RGB32);
        image.setDotsPerMeterX(qRound(dpi / 0.0254));
        image.setDotsPerMeterY(qRound(dpi / 0.0254));
        image.fill(Qt::white);
        QPainter painter(&image);
        TQRPrinter::PlayPage(painter, page, dpi / 96.0, dpi / 96.0);
        painter.end();
        int left = image.width();
        int top = image.height();
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (qRed(image.pixel(x, y)) < 128) {
                    left = std::min(left, x);
                    top = std::min(top, y);
                }
            }
        }
        EXPECT_NEAR(left, leftInches * dpi, 1.5);
        EXPECT_NEAR(top, topInches * dpi, 1.5);
    }
}

} // namespace
