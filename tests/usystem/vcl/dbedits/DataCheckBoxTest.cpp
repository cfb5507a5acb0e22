// The data check box on a memory table: it shows the Boolean field of the current record (an
// empty value unticked), a click puts the dataset into edit state and writes "True" or "False"
// through the field's text setter, and a click that cannot be written (a read-only box, a
// dataset that cannot edit, a setter that refuses) leaves the box showing what the field holds.
#include "usystem/vcl/dbedits/uQxDBCheckBox.h"

#include "platform/db/DataSource.h"
#include "platform/db/Fields.h"
#include "platform/db/QxMemTable.h"
#include "platform/env/ScriptedDialogService.h"
#include "platform/rtl/Exceptions.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

class DataCheckBox : public ::testing::Test
{
protected:
    void SetUp() override
    {
        table.FieldDefs()->Add("Name", ftString, 20);
        table.FieldDefs()->Add("Settled", ftBoolean);
        table.Open();
        for (const QVariant& v : {QVariant(true), QVariant(), QVariant(false)}) {
            table.Append();
            table.FieldByName("Name")->SetAsString("x");
            table.FieldByName("Settled")->SetValue(v);
            table.Post();
        }
        table.First();
        settled()->OnSetText = [this](TField* f, const QString& text) {
            calls << text;
            if (refuse)
                throw Exception(QStringLiteral("不能修改"));
            f->SetAsString(text);
        };
        source.SetDataSet(&table);
        form = std::make_unique<QWidget>();
        box = new TQxDBCheckBox(form.get());
        box->setGeometry(10, 10, 120, 20);
        box->SetDataSource(&source);
        box->SetDataField(QStringLiteral("Settled"));
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        dialogs = qx::ScriptedDialogService::current();
        ASSERT_NE(dialogs, nullptr);
        dialogs->clear();
    }
    void TearDown() override
    {
        form.reset();
        QApplication::processEvents();
    }

    TField* settled() { return table.FieldByName("Settled"); }
    void click() { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2)); }

    TQxMemTable table;
    TDataSource source;
    std::unique_ptr<QWidget> form;
    TQxDBCheckBox* box = nullptr;
    qx::ScriptedDialogService* dialogs = nullptr;
    QStringList calls;
    bool refuse = false;
};

TEST_F(DataCheckBox, ShowsTheCurrentRecordsValue)
{
    const bool shown[] = {true, false, false}; // True, empty, False
    for (bool ticked : shown) {
        EXPECT_EQ(box->Checked(), ticked) << table.RecNo();
        table.Next();
    }
    table.First();
    table.Edit();
    settled()->SetAsBoolean(false);
    EXPECT_FALSE(box->Checked());
    EXPECT_TRUE(calls.isEmpty()); // a value set by code passes no text setter
}

TEST_F(DataCheckBox, AClickEditsAndWritesThroughTheTextSetter)
{
    int clicks = 0;
    box->OnClick = [&](QObject*) { ++clicks; };
    ASSERT_EQ(table.State(), dsBrowse);
    click();
    EXPECT_EQ(table.State(), dsEdit);
    EXPECT_EQ(calls, QStringList{"False"});
    EXPECT_FALSE(settled()->AsBoolean());
    EXPECT_FALSE(box->Checked());
    click();
    EXPECT_EQ(calls, (QStringList{"False", "True"}));
    EXPECT_TRUE(settled()->AsBoolean());
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(clicks, 2);
    // An empty value is unticked: the click ticks it.
    table.Post();
    table.Next();
    click();
    EXPECT_TRUE(settled()->AsBoolean());
    EXPECT_TRUE(dialogs->messages().isEmpty());
}

TEST_F(DataCheckBox, AClickThatCannotBeWrittenLeavesTheBoxAsTheFieldHolds)
{
    box->SetReadOnly(true);
    click();
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(table.State(), dsBrowse);
    EXPECT_TRUE(calls.isEmpty());

    box->SetReadOnly(false);
    refuse = true;
    dialogs->answerMessage(qx::mrOk);
    click();
    EXPECT_EQ(calls, QStringList{"False"});
    EXPECT_TRUE(settled()->AsBoolean());
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(dialogs->messages(), QStringList{"不能修改"});
    EXPECT_EQ(dialogs->unexpected(), 0);
}

} // namespace
