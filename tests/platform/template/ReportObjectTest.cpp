// The report object as a form uses it: adapters owned by the form, preview in the engine's
// preview window and print through the print dialog (both through the dialog service), and
// the designer call.
#include "TemplateFixture.h"

#include "platform/env/ScriptedDialogService.h"
#include "platform/report/PrintTarget.h"
#include "platform/report/QRPreview.h"
#include "platform/report/QRStandardPreview.h"
#include "platform/template/TemplateFormat.h"
#include "platform/template/TemplateReport.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QFile>
#include <QPrintDialog>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

using namespace tplt;


static int pdfPageCount(const QString& fileName)
{
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    return int(QString::fromLatin1(f.readAll()).count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))));
}

class ReportObject : public ::testing::Test
{
protected:
    ReportObject() : data(orders())
    {
        source.SetDataSet(data.get());
        auto* adapter = new TemplateDataSet(&form);
        adapter->setObjectName(QStringLiteral("Mstdataset"));
        adapter->SetDataSource(&source);
        doc.bands = {band(BandKind::Master, {field(QStringLiteral("Mstdataset"), QStringLiteral("BillNo"))},
                          QStringLiteral("Mstdataset"), 1300)};
        dialogs = qx::ScriptedDialogService::current();
        dialogs->clear();
    }

    std::unique_ptr<TQxMemTable> data;
    TDataSource source;
    QWidget form;
    TemplateDocument doc;
    qx::ScriptedDialogService* dialogs = nullptr;
};


TEST_F(ReportObject, PreviewShowsThePreparedPagesInThePreviewWindow)
{
    auto* report = new TemplateReport(&form);
    report->Document() = doc;
    report->SetTitle(QStringLiteral("工单"));
    ASSERT_TRUE(report->PrepareReport());
    EXPECT_EQ(report->PageCount(), 2);
    // The End key goes to the last page.
    int shownPages = 0;
    dialogs->answerDialog([&shownPages](QDialog& d) {
        auto* preview = qobject_cast<TQRStandardPreview*>(&d);
        ASSERT_NE(preview, nullptr);
        QTest::keyClick(&d, Qt::Key_End);
        shownPages = preview->Preview()->PageNumber();
        d.close();
    });
    report->ShowPreparedReport();
    EXPECT_EQ(shownPages, 2);
    EXPECT_EQ(dialogs->shown().size(), 1);
    EXPECT_EQ(dialogs->unexpected(), 0);
}

TEST_F(ReportObject, PrintGoesThroughThePrintDialog)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
    const qx::report::ScopedPdfPrinting toPdf(pdf);
    TemplateReport report(&form);
    report.Document() = doc;

    // Nothing prepared: nothing to print, no dialog.
    EXPECT_FALSE(report.PrintPreparedReport());
    ASSERT_TRUE(report.PrepareReport());
    dialogs->answerDialog(qx::mrCancel);
    EXPECT_FALSE(report.PrintPreparedReport());
    EXPECT_FALSE(QFile::exists(pdf));
    dialogs->answerDialog([](QDialog& d) {
        EXPECT_NE(qobject_cast<QPrintDialog*>(&d), nullptr);
        d.accept();
    });
    EXPECT_TRUE(report.PrintPreparedReport());
    EXPECT_EQ(pdfPageCount(pdf), 2);
    EXPECT_EQ(dialogs->unexpected(), 0);
}

TEST_F(ReportObject, AdaptersOfTheOwnerAndAddedOnesAreOffered)
{
    TemplateReport report(&form);
    auto items = lines(QStringLiteral("Name"), {{QStringLiteral("屏幕"), 1}});
    TDataSource itemSource;
    itemSource.SetDataSet(items.get());
    QObject elsewhere;
    auto* added = new TemplateDataSet(&elsewhere);
    added->setObjectName(QStringLiteral("DltDataset1"));
    added->SetDataSource(&itemSource);
    report.AddDataSet(added);
    const QList<OfferedDataSet> offered = report.OfferedDataSets();
    ASSERT_EQ(offered.size(), 2);
    EXPECT_EQ(offered[0].name, QStringLiteral("Mstdataset"));
    EXPECT_EQ(offered[0].dataSet, data.get());
    EXPECT_EQ(offered[1].name, QStringLiteral("DltDataset1"));

    // A report owned elsewhere sees only what was added to it.
    TemplateReport alone;
    EXPECT_TRUE(alone.OfferedDataSets().isEmpty());
}

TEST_F(ReportObject, DesignGoesToTheInstalledDesigner)
{
    TemplateReport report(&form);
    TemplateDesigner previous = setTemplateDesigner([](TemplateReport& r, QWidget*) {
        r.Document().bands.append(band(BandKind::Title, {text(QStringLiteral("设计的"))}));
        return true;
    });
    const auto restore = qScopeGuard([&previous] { setTemplateDesigner(std::move(previous)); });
    EXPECT_TRUE(report.DesignReport(&form));
    ASSERT_EQ(report.Document().bands.size(), 1);
    EXPECT_TRUE(dialogs->shown().isEmpty());
}
