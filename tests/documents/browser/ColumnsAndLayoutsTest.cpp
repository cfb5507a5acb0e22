// The list's columns: the work-order browser's own in order, every other column of the table
// added hidden and titled from the data dictionary (a saved layout that does not know a column
// gets it the same way), and the layouts written when the browser closes and read when shown.
#include "tests/documents/browser/BrowserFixture.h"

#include "usystem/vcl/foundation/uQxFuncs.h"

#include <QFile>

namespace qx::documents::test {
namespace {

using qx::app::test::columnTitles;

class ColumnsAndLayoutsTest : public BrowserTest
{
protected:
    TQxColumn* columnOf(const char* field)
    {
        return ColumnByFieldName(browser->DBGrid1, QLatin1String(field));
    }
    QString layoutFile() const { return ExeFolderPath(QStringLiteral("工单录入DBGrid1.dbg")); }
};

TEST_F(ColumnsAndLayoutsTest, OwnColumnsInOrder)
{
    open();
    const QStringList titles = {
        QStringLiteral("状态"), QStringLiteral("结算否"), QStringLiteral("送修日期"), QStringLiteral("取机日期"),
        QStringLiteral("SerialNo"), QStringLiteral("机主姓名"), QStringLiteral("联系人"), QStringLiteral("手机"),
        QStringLiteral("普通电话"), QStringLiteral("电脑单号"), QStringLiteral("手工单号"), QStringLiteral("工时"),
        QStringLiteral("配件"), QStringLiteral("金额"), QStringLiteral("已收"), QStringLiteral("挂账"),
        QStringLiteral("不收零头"), QStringLiteral("地址"), QStringLiteral("说明")};
    EXPECT_EQ(columnTitles(browser->DBGrid1), titles);
    for (const char* hidden : {"Model", "MainWorker"}) {
        ASSERT_NE(columnOf(hidden), nullptr) << hidden;
        EXPECT_FALSE(columnOf(hidden)->Visible()) << hidden;
    }
}

// A column of the table that no column shows: its title and whether the dictionary knows it.
struct MissingColumnCase
{
    const char* field;
    const char16_t* title;
};

TEST_F(ColumnsAndLayoutsTest, OtherColumnsAreAddedHiddenWithTheirDictionaryTitles)
{
    exec(QStringLiteral("delete from tDictDlt where TableName = 't_ReceptionMst' and FieldName = 'Brief'"));
    open();
    const MissingColumnCase cases[] = {
        {"EngineNo", u"副型号"},
        {"MarkNo", u"机身标记"},
        {"BillDate", u"开单日期"},
        {"Brief", u"Brief"}, // no dictionary row: the field's own name
    };
    for (const MissingColumnCase& c : cases) {
        TQxColumn* column = columnOf(c.field);
        ASSERT_NE(column, nullptr) << c.field;
        EXPECT_FALSE(column->Visible()) << c.field;
        EXPECT_EQ(column->Title()->Caption(), QString::fromUtf16(c.title)) << c.field;
    }
    // Every field of the list has exactly one column.
    EXPECT_EQ(browser->DBGrid1->Columns()->Count(), browser->QryMain->Fields()->Count());
}

TEST_F(ColumnsAndLayoutsTest, LayoutIsWrittenOnCloseAndReadOnShow)
{
    open();
    columnOf("CName")->SetWidth(177);
    browser->Close();
    flushDeletes();
    ASSERT_TRUE(QFile::exists(layoutFile()));

    open();
    EXPECT_EQ(columnOf("CName")->Width(), 177);
    EXPECT_EQ(dialogs().shown().size(), 0);
}

TEST_F(ColumnsAndLayoutsTest, ALayoutWithoutAColumnGetsItHidden)
{
    open();
    // A layout saved before the table had Brief.
    browser->DBGrid1->Columns()->remove(columnOf("Brief")->index());
    ASSERT_EQ(columnOf("Brief"), nullptr);
    browser->Close();
    flushDeletes();

    open();
    ASSERT_NE(columnOf("Brief"), nullptr);
    EXPECT_FALSE(columnOf("Brief")->Visible());
    EXPECT_EQ(columnOf("Brief")->Title()->Caption(), QStringLiteral("摘要"));
}

} // namespace
} // namespace qx::documents::test
