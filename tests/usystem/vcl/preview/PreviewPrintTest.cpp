// Printing from the preview window: which pages go to the printer, in which order.
#include "PreviewFixture.h"
#include "RecordingPrinter.h"

#include "platform/report/QRPreview.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/Widgets.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"
#include "usystem/vcl/preview/uQxRptPrev.h"
#include "usystem/vcl/preview/uQxRrtPrDlg.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QRadioButton>
#include <QScopeGuard>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QToolButton>

using namespace qx::test;

namespace {

// What the user does in the print dialog.
struct PrintChoice
{
    enum Range { All, Current, Pages } range = All;
    int from = 0;
    int to = 0;
    int copies = 1;
    bool collate = false;
};

void choose(TRptPrintForm& f, const PrintChoice& c)
{
    if (c.range == PrintChoice::Current)
        QTest::mouseClick(f.RB2, Qt::LeftButton);
    if (c.range == PrintChoice::Pages) {
        QTest::mouseClick(f.FromEdt, Qt::LeftButton);
        f.FromEdt->setText(QString::number(c.from));
        f.ToEdt->setText(QString::number(c.to));
    }
    f.E1->setValue(c.copies);
    if (c.collate)
        QTest::mouseClick(f.chkCollate, Qt::LeftButton);
    QTest::mouseClick(f.Button1, Qt::LeftButton);
}

} // namespace

class PreviewPrint : public ::testing::Test
{
protected:
    PreviewPrint() : dialogs(script()) {}

    // Shows page shownPage of the printer object in a window and prints it as chosen.
    QStringList print(TQRPrinter& printer, int shownPage, const PrintChoice& c)
    {
        const ScopedRecordingPrinter recording;
        TfrmNetScapePreview window(&printer);
        window.show();
        window.QRPreview1->SetPageNumber(shownPage);
        dialogs.answerDialog([c](QDialog& d) { choose(static_cast<TRptPrintForm&>(d), c); });
        QTest::mouseClick(window.btnPrint, Qt::LeftButton);
        EXPECT_EQ(recording.log->jobs, 1);
        EXPECT_EQ(dialogs.unexpected(), 0);
        EXPECT_TRUE(dialogs.messages().isEmpty()) << dialogs.messages().join(u'\n').toStdString();
        return recording.log->pages;
    }

    qx::ScriptedDialogService& dialogs;
};

TEST_F(PreviewPrint, PagesGoToThePrinterAsChosen)
{
    using R = PrintChoice;
    const struct
    {
        const char* name;
        bool live; // the pages of a report, or of a loaded file
        PrintChoice choice;
        const char* printed;
    } cases[] = {
        {"all pages of the report", true, {}, "P1,P2,P3,P4,P5"},
        {"the shown page", true, {R::Current}, "P3"},
        {"a range", true, {R::Pages, 2, 4}, "P2,P3,P4"},
        {"a range, copies not collated", true, {R::Pages, 2, 4, 2}, "P2,P2,P3,P3,P4,P4"},
        {"a range, copies collated", true, {R::Pages, 2, 4, 2, true}, "P2,P3,P4,P2,P3,P4"},
        {"all pages, copies not collated", true, {R::All, 0, 0, 2}, "P1,P1,P2,P2,P3,P3,P4,P4,P5,P5"},
        {"all pages, copies collated", true, {R::All, 0, 0, 2, true}, "P1,P2,P3,P4,P5,P1,P2,P3,P4,P5"},
        {"the shown page twice", true, {R::Current, 0, 0, 2}, "P3,P3"},
        {"a loaded file", false, {}, "P1,P2,P3,P4,P5"},
        {"a loaded file, copies collated", false, {R::All, 0, 0, 2, true}, "P1,P2,P3,P4,P5,P1,P2,P3,P4,P5"},
        {"a loaded file, the last page", false, {R::Pages, 5, 5}, "P5"},
    };
    for (const auto& c : cases) {
        PageReport report(5);
        TQRPrinter file;
        TQRPrinter* printer = &file;
        if (c.live) {
            report.report.Prepare();
            printer = report.report.QRPrinter();
        } else {
            makePages(file, 5);
        }
        ASSERT_NE(printer, nullptr);
        EXPECT_EQ(print(*printer, 3, c.choice).join(u','), QString::fromLatin1(c.printed)) << c.name;
        if (c.live && c.choice.range == PrintChoice::All && c.choice.collate) {
            // Printed straight by the report, which keeps the choice.
            EXPECT_EQ(report.report.PrinterSettings().Copies, c.choice.copies) << c.name;
            EXPECT_EQ(report.report.PrinterSettings().PrinterIndex, 0) << c.name;
        }
    }
}

TEST_F(PreviewPrint, CancelledDialogPrintsNothing)
{
    const ScopedRecordingPrinter recording;
    TQRPrinter printer;
    makePages(printer, 2);
    TfrmNetScapePreview window(&printer);
    window.show();
    dialogs.answerDialog([](QDialog& d) { QTest::mouseClick(static_cast<TRptPrintForm&>(d).Button2, Qt::LeftButton); });
    QTest::mouseClick(window.btnPrint, Qt::LeftButton);
    EXPECT_EQ(recording.log->jobs, 0);
    EXPECT_EQ(dialogs.unexpected(), 0);
}

TEST_F(PreviewPrint, TemporaryFilesGoOnEveryPath)
{
    // The temporary files are made under TMPDIR.
    QTemporaryDir temp;
    const QByteArray oldTemp = qgetenv("TMPDIR");
    const bool hadTemp = qEnvironmentVariableIsSet("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(temp.path()));
    const auto restore = qScopeGuard([&] {
        if (hadTemp)
            qputenv("TMPDIR", oldTemp);
        else
            qunsetenv("TMPDIR");
    });
    const auto left = [&] { return QDir(temp.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries); };

    TQRPrinter printer;
    makePages(printer, 3);
    EXPECT_EQ(print(printer, 1, {PrintChoice::Pages, 1, 2, 2, true}).join(u','), QStringLiteral("P1,P2,P1,P2"));
    EXPECT_TRUE(left().isEmpty()) << left().join(u' ').toStdString();

    // A printer that cannot start: the error is shown, and nothing is left behind.
    const qx::report::ScopedPrinterMaker broken([](int) {
        auto p = std::make_unique<QPrinter>(QPrinter::HighResolution);
        p->setOutputFormat(QPrinter::PdfFormat);
        p->setOutputFileName(QStringLiteral("/nonexistent-folder/out.pdf"));
        return p;
    });
    const qx::ScopedPrinterSource one([] {
        qx::PrinterEntry entry;
        entry.name = QStringLiteral("坏打印机");
        return QList<qx::PrinterEntry>{entry};
    });
    TfrmNetScapePreview window(&printer);
    window.show();
    dialogs.answerDialog([](QDialog& d) { choose(static_cast<TRptPrintForm&>(d), {PrintChoice::Pages, 2, 3}); });
    dialogs.answerMessage(qx::mrOk);
    QTest::mouseClick(window.btnPrint, Qt::LeftButton);
    EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("打印机无法开始打印")});
    EXPECT_TRUE(left().isEmpty()) << left().join(u' ').toStdString();
    EXPECT_EQ(dialogs.unexpected(), 0);
}

TEST_F(PreviewPrint, WithoutPrintersThePrintGoesToAPdfFileNamedInADialog)
{
    const qx::ScopedPrinterSource none([] { return QList<qx::PrinterEntry>(); });
    QTemporaryDir dir;
    TQRPrinter printer;
    makePages(printer, 2);
    TfrmNetScapePreview window(&printer);
    window.show();
    dialogs.answerDialog([](QDialog& d) { choose(static_cast<TRptPrintForm&>(d), {}); });
    dialogs.answerFile(dir.filePath(QStringLiteral("单据")));
    QTest::mouseClick(window.btnPrint, Qt::LeftButton);
    ASSERT_EQ(dialogs.shown().size(), 2);
    EXPECT_EQ(dialogs.shown()[1].kind, qx::ShownDialog::SaveFile);
    QFile pdf(dir.filePath(QStringLiteral("单据.pdf")));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5).startsWith("%PDF"));
    // Only the finished file is there.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("单据.pdf")});

    // No file name given: nothing printed.
    dialogs.answerDialog([](QDialog& d) { choose(static_cast<TRptPrintForm&>(d), {}); });
    dialogs.answerFile(QString());
    QTest::mouseClick(window.btnPrint, Qt::LeftButton);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);
    EXPECT_EQ(dialogs.unexpected(), 0);
}

// Printing to a PDF file on a disk that fills up part way: the user reads that the file could
// not be made, the PDF file there before keeps every byte, and no cut file or temporary file
// is left in the folder.
TEST_F(PreviewPrint, APdfFileOnAFullDiskIsReportedAndTheOldFileKept)
{
    const qx::ScopedPrinterSource none([] { return QList<qx::PrinterEntry>(); });
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("单据.pdf"));
    TQRPrinter printer;
    makePages(printer, 3);
    TfrmNetScapePreview window(&printer);
    window.show();
    const auto printOnce = [&](bool failing) {
        dialogs.answerDialog([](QDialog& d) { choose(static_cast<TRptPrintForm&>(d), {}); });
        dialogs.answerFile(target);
        if (failing)
            dialogs.answerMessage(qx::mrOk);
        QTest::mouseClick(window.btnPrint, Qt::LeftButton);
    };
    const auto contents = [&] {
        QFile f(target);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    };
    printOnce(false);
    const qint64 whole = contents().size();
    ASSERT_GT(whole, 1000);
    ASSERT_TRUE(dialogs.messages().isEmpty());

    // The print passes through report files of the pages first: the limits let those through.
    const QString pages = dir.filePath(QStringLiteral("pages.QRP"));
    printer.Save(pages);
    const qint64 pageFile = QFileInfo(pages).size();
    ASSERT_TRUE(QFile::remove(pages));
    ASSERT_LT(pageFile + 1, whole / 2);

    const QByteArray old("%PDF-1.4 an earlier print");
    for (const qint64 limit : {pageFile + 1, whole / 2, whole - 8}) {
        SCOPED_TRACE(limit);
        {
            QFile f(target);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            ASSERT_EQ(f.write(old), old.size());
        }
        dialogs.clear();
        {
            qxtest::FileSizeLimit full{rlim_t(limit)};
            ASSERT_TRUE(full.ok());
            printOnce(true);
        }
        EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("无法生成文件：") + target});
        EXPECT_EQ(contents(), old);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("单据.pdf")});
        EXPECT_EQ(dialogs.unexpected(), 0);
    }
}
