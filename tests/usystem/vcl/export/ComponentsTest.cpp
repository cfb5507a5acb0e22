// What the four writers are created with, and their removal notice: a writer forgets a dataset
// that is destroyed.
#include <gtest/gtest.h>

#include <QMetaProperty>

#include <memory>

#include "platform/db/QxMemTable.h"
#include "usystem/vcl/export/uQxdbTrans.h"

TEST(ExportComponents, TheWritersAreCreatedWithTheirDefaults)
{
    TQxDataSetToHTML html;
    EXPECT_TRUE(html.Header().isEmpty());
    EXPECT_TRUE(html.Footer().isEmpty());
    EXPECT_FALSE(html.OnFormatCell);

    TQxDatasetToPrinter printer;
    EXPECT_EQ(printer.LeftMargin(), 10);
    EXPECT_EQ(printer.TopMargin(), 5);
    EXPECT_TRUE(printer.Title().isEmpty());
    EXPECT_EQ(printer.Font().family(), QString("Arial"));
    EXPECT_EQ(printer.Font().pointSize(), 10);
    EXPECT_EQ(printer.TitleFont().family(), QString("Arial"));
    EXPECT_EQ(printer.TitleFont().pointSize(), 16);
    EXPECT_TRUE(printer.TitleFont().bold());
    // Header and footer are each assigned into their own list.
    printer.SetHeader({"head"});
    printer.SetFooter({"foot 1", "foot 2"});
    EXPECT_EQ(printer.Header(), QStringList{"head"});
    EXPECT_EQ(printer.Footer(), (QStringList{"foot 1", "foot 2"}));

    // The published properties in their order.
    QStringList names;
    const QMetaObject* mo = printer.metaObject();
    for (int i = mo->propertyOffset(); i < mo->propertyCount(); ++i)
        names << mo->property(i).name();
    EXPECT_EQ(names, (QStringList{"DataSet", "Footer", "Header", "LeftMargin", "TopMargin", "Title"}));
}

TEST(ExportComponents, PrintLeavesTheDatasetAsItIs)
{
    TQxMemTable table;
    table.FieldDefs()->Add("Code", ftString, 10);
    table.Open();
    for (const char* code : {"A", "B"}) {
        table.Append();
        table.FieldByName("Code")->SetAsString(code);
        table.Post();
    }
    table.First();
    TQxDatasetToPrinter printer;
    printer.SetDataSet(&table);
    printer.Print();
    EXPECT_EQ(table.RecNo(), 1);
    EXPECT_EQ(table.State(), dsBrowse);
}

TEST(ExportComponents, EveryWriterForgetsADestroyedDataset)
{
    TQxDatasetToText text;
    TQxDataSetToHTML html;
    TQxDataSetToDBF dbf;
    TQxDatasetToPrinter printer;
    auto table = std::make_unique<TQxMemTable>();
    text.SetDataset(table.get());
    html.SetDataSet(table.get());
    dbf.SetDataSet(table.get());
    printer.SetDataSet(table.get());
    EXPECT_EQ(dbf.DataSet(), table.get());
    table.reset();
    EXPECT_EQ(text.Dataset(), nullptr);
    EXPECT_EQ(html.DataSet(), nullptr);
    EXPECT_EQ(dbf.DataSet(), nullptr);
    EXPECT_EQ(printer.DataSet(), nullptr);
}
